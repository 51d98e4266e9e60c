// linterp: two-point linear interpolation in one window.
#include <windows.h>

#include <commctrl.h>

#include "window/win32/form1.h"

namespace {

// The user's decimal separator, from the Windows regional settings.
char16_t localeDecimalSeparator() {
    wchar_t separator[4] = {};
    if (GetLocaleInfoEx(LOCALE_NAME_USER_DEFAULT, LOCALE_SDECIMAL, separator, 4) == 2)
        return static_cast<char16_t>(separator[0]);
    return u'.';
}

} // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int showCommand) {
    // Held while the program runs, so that its installer and uninstaller can
    // tell, and ask for it to be closed before they replace or remove it.
    // Windows releases it when the process ends, however it ends.
    const HANDLE running = CreateMutexW(nullptr, FALSE, LINTERP_RUNNING_MUTEX);
    (void)running;
    INITCOMMONCONTROLSEX controls{sizeof controls, ICC_STANDARD_CLASSES};
    InitCommonControlsEx(&controls);
    window::win32::Form1 form(instance, localeDecimalSeparator());
    if (!form.hwnd()) return 1;
    form.show(showCommand);
    return window::win32::runMessageLoop(form);
}
