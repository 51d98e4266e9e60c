// Ownership of GDI handles, one idiom for all: Owned<H, Free> deletes its
// handle with Free once, on every path; Selection puts a device context's
// previous object back; Painting brackets WM_PAINT's drawing.
#pragma once

#include <windows.h>

#include <memory>
#include <type_traits>

namespace window::win32 {

template <auto Free>
struct Freer {
    template <class Handle>
    void operator()(Handle handle) const noexcept {
        Free(handle);
    }
};
template <class Handle, auto Free = DeleteObject>
using Owned = std::unique_ptr<std::remove_pointer_t<Handle>, Freer<Free>>;

using Font = Owned<HFONT>;

// An object selected into a device context for one scope.
class Selection {
public:
    Selection(HDC dc, HGDIOBJ object) noexcept : dc_(dc), previous_(SelectObject(dc, object)) {}
    Selection(const Selection&) = delete;
    Selection& operator=(const Selection&) = delete;
    ~Selection() { SelectObject(dc_, previous_); }

private:
    HDC dc_;
    HGDIOBJ previous_;
};

// BeginPaint to EndPaint: a scope, not an object to own.
class Painting {
public:
    explicit Painting(HWND hwnd) noexcept : hwnd_(hwnd) { dc_ = BeginPaint(hwnd, &paint_); }
    Painting(const Painting&) = delete;
    Painting& operator=(const Painting&) = delete;
    ~Painting() { EndPaint(hwnd_, &paint_); }
    HDC dc() const noexcept { return dc_; }

private:
    HWND hwnd_;
    PAINTSTRUCT paint_{};
    HDC dc_;
};

} // namespace window::win32
