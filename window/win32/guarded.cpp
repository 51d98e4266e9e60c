#include "window/win32/guarded.h"

#include <string>

#include "window/layout.h"
#include "window/report.h"

namespace window::win32 {

void reportEscaped(HWND owner, const char* what) noexcept {
    // Traced first, with nothing allocated: it must get out when memory has run out.
    OutputDebugStringA("linterp: a message handler failed: ");
    OutputDebugStringA(what);
    OutputDebugStringA("\n");
    static bool showing = false;
    if (showing) return;
    showing = true;
    try {
        const std::u16string message = internalError(what);
        const std::wstring text(message.begin(), message.end()), title(kTitle.begin(), kTitle.end());
        MessageBoxW(owner, text.c_str(), title.c_str(), MB_OK | MB_ICONERROR);
    } catch (const std::exception&) {
        OutputDebugStringA("linterp: and the report box could not be made\n");
    }
    showing = false;
}

} // namespace window::win32
