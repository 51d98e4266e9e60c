// DPI on every Windows from 7 SP1 on. The per-monitor functions of Windows 10
// 1607 are looked up at run time, never imported: a program that imports a
// function its Windows lacks is refused by the loader before it starts.
#pragma once

#include <windows.h>

namespace window::win32::dpi {

// Takes the Windows 7 paths even where the newer functions exist, so that
// tests can run them on any Windows (and under Wine, which has them all).
void useFallbacks();

// The DPI the window is drawn at: its own (10 1607 on), its monitor's (8.1),
// else the system's.
UINT ofWindow(HWND hwnd);

// The window rectangle around `client` for a window of these styles at `dpi`.
void adjustWindowRect(RECT& client, DWORD style, DWORD exStyle, UINT dpi);

// The system's message font at `dpi`, false when the system gives none.
bool messageFont(LOGFONTW& font, UINT dpi);

} // namespace window::win32::dpi
