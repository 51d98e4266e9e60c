// linterp: two-point linear interpolation in one window.
#include <windows.h>

#include <commctrl.h>

#include "runtime/number.h"
#include "window/win32/form1.h"

namespace {

// The user's decimal separator, from the Windows regional settings.
void useLocaleDecimalSeparator() {
    wchar_t separator[4] = {};
    if (GetLocaleInfoEx(LOCALE_NAME_USER_DEFAULT, LOCALE_SDECIMAL, separator, 4) == 2)
        rt::SetDecimalSeparator(static_cast<char16_t>(separator[0]));
}

} // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int showCommand) {
    INITCOMMONCONTROLSEX controls{sizeof controls, ICC_STANDARD_CLASSES};
    InitCommonControlsEx(&controls);
    useLocaleDecimalSeparator();
    window::win32::Form1 form(instance);
    if (!form.hwnd()) return 1;
    form.show(showCommand);
    return window::win32::runMessageLoop(form);
}
