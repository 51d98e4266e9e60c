// A message handler's exception must never cross into the system's code,
// which cannot unwind it. It is reported instead, to a developer through
// OutputDebugString (a debugger, or DebugView, shows it) and to the user in
// a box, and the message gets the system's default handling.
#pragma once

#include <windows.h>

#include <exception>

namespace window::win32 {

// Tells both that a handler failed with `what`; a failure while the box is
// open (its message loop runs the handlers) is only traced.
void reportEscaped(HWND owner, const char* what) noexcept;

// `handle()`'s result, or the default handling after reporting its exception.
template <class Handle>
LRESULT guarded(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam, Handle&& handle) noexcept {
    try {
        return handle();
    } catch (const std::exception& error) {
        reportEscaped(hwnd, error.what());
    } catch (...) {
        reportEscaped(hwnd, "an exception of no standard type");
    }
    return DefWindowProcW(hwnd, message, wParam, lParam);
}

} // namespace window::win32
