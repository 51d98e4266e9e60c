#include "window/win32/guarded.h"


#include "window/layout.h"
#include "window/report.h"
#include "window/win32/controls.h"

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
        MessageBoxW(owner, wide(internalError(what)).c_str(), wide(kTitle).c_str(), MB_OK | MB_ICONERROR);
    } catch (const std::exception&) {
        OutputDebugStringA("linterp: and the report box could not be made\n");
    }
    showing = false;
}

} // namespace window::win32
