#include "window/win32/dpi.h"

namespace window::win32::dpi {

namespace {

bool fallbacksOnly = false;

// A function of `module`, or null where this Windows lacks it (or fallbacks
// are forced). The detour through a generic function pointer keeps the cast
// from one function type to another explicit.
template <class Function>
Function lookUp(const wchar_t* module, const char* name) {
    if (fallbacksOnly) return nullptr;
    HMODULE handle = GetModuleHandleW(module);
    if (!handle) {
        // From the system folder only, never from beside the program.
        wchar_t path[MAX_PATH];
        const UINT length = GetSystemDirectoryW(path, MAX_PATH);
        if (length == 0 || length + 1 + wcslen(module) >= MAX_PATH) return nullptr;
        path[length] = L'\\';
        wcscpy(path + length + 1, module);
        handle = LoadLibraryW(path);
    }
    if (!handle) return nullptr;
    return reinterpret_cast<Function>(reinterpret_cast<void (*)()>(GetProcAddress(handle, name)));
}

using GetDpiForWindowFn = UINT(WINAPI*)(HWND);
using AdjustWindowRectExForDpiFn = BOOL(WINAPI*)(RECT*, DWORD, BOOL, DWORD, UINT);
using SystemParametersInfoForDpiFn = BOOL(WINAPI*)(UINT, UINT, void*, UINT, UINT);
using GetDpiForMonitorFn = HRESULT(WINAPI*)(HMONITOR, int, UINT*, UINT*); // MDT_EFFECTIVE_DPI is 0

UINT systemDpi() {
    const HDC screen = GetDC(nullptr);
    const int dpi = screen ? GetDeviceCaps(screen, LOGPIXELSY) : USER_DEFAULT_SCREEN_DPI;
    if (screen) ReleaseDC(nullptr, screen);
    return dpi > 0 ? static_cast<UINT>(dpi) : USER_DEFAULT_SCREEN_DPI;
}

} // namespace

void useFallbacks() { fallbacksOnly = true; }

UINT ofWindow(HWND hwnd) {
    if (const auto forWindow = lookUp<GetDpiForWindowFn>(L"user32.dll", "GetDpiForWindow"))
        if (const UINT dpi = forWindow(hwnd)) return dpi;
    if (const auto forMonitor = lookUp<GetDpiForMonitorFn>(L"shcore.dll", "GetDpiForMonitor")) {
        UINT x = 0, y = 0;
        if (SUCCEEDED(forMonitor(MonitorFromWindow(hwnd, MONITOR_DEFAULTTONEAREST), 0, &x, &y)) && y) return y;
    }
    return systemDpi();
}

void adjustWindowRect(RECT& client, DWORD style, DWORD exStyle, UINT dpi) {
    if (const auto adjust = lookUp<AdjustWindowRectExForDpiFn>(L"user32.dll", "AdjustWindowRectExForDpi"))
        if (adjust(&client, style, FALSE, exStyle, dpi)) return;
    // The frame at the system's DPI; the window corrects any difference once
    // it can measure its client area.
    AdjustWindowRectEx(&client, style, FALSE, exStyle);
}

bool messageFont(LOGFONTW& font, UINT dpi) {
    NONCLIENTMETRICSW metrics{};
    metrics.cbSize = sizeof metrics;
    if (const auto forDpi = lookUp<SystemParametersInfoForDpiFn>(L"user32.dll", "SystemParametersInfoForDpi")) {
        if (forDpi(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0, dpi)) {
            font = metrics.lfMessageFont;
            return true;
        }
    }
    if (!SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0)) return false;
    font = metrics.lfMessageFont;
    // The system's metrics are at the system's DPI.
    font.lfHeight = MulDiv(font.lfHeight, static_cast<int>(dpi), static_cast<int>(systemDpi()));
    return true;
}

} // namespace window::win32::dpi
