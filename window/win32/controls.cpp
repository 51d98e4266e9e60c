#include "window/win32/controls.h"

#include <commctrl.h>

#include <optional>

#include "window/form.h"
#include "window/win32/gdi.h"

namespace window::win32 {

Control controlFor(Kind kind) {
    switch (kind) {
    case Kind::CommandButton: return {L"BUTTON", WS_TABSTOP | BS_PUSHBUTTON, 0};
    // A one-line border rather than the sunken client edge: two pixels more
    // for the text, whose line must show whole.
    case Kind::TextBox: return {L"EDIT", WS_TABSTOP | WS_BORDER | ES_LEFT | ES_AUTOHSCROLL, 0};
    case Kind::Frame: return {L"BUTTON", BS_GROUPBOX, 0};
    case Kind::Label: break;
    }
    return {L"STATIC", SS_LEFTNOWORDWRAP | SS_NOPREFIX, 0};
}

// A label's window, less the part of its box that a field covers.
void clipLabel(HWND label, HWND field) {
    RECT labelBox, fieldBox;
    GetWindowRect(label, &labelBox);
    GetWindowRect(field, &fieldBox);
    OffsetRect(&fieldBox, -labelBox.left, -labelBox.top);
    OffsetRect(&labelBox, -labelBox.left, -labelBox.top);
    Owned<HRGN> visible(CreateRectRgnIndirect(&labelBox));
    const Owned<HRGN> covered(CreateRectRgnIndirect(&fieldBox));
    CombineRgn(visible.get(), visible.get(), covered.get(), RGN_DIFF);
    if (SetWindowRgn(label, visible.get(), FALSE)) visible.release(); // the window owns it now
}

namespace {

// The clipboard's text, if it has any.
std::optional<std::u16string> clipboardText(HWND owner) {
    if (!OpenClipboard(owner)) return std::nullopt;
    std::optional<std::u16string> text;
    if (const HANDLE data = GetClipboardData(CF_UNICODETEXT))
        if (const auto* units = static_cast<const char16_t*>(GlobalLock(data))) {
            text.emplace(units);
            GlobalUnlock(data);
        }
    CloseClipboard();
    return text;
}

} // namespace

// A one-line EDIT would keep only a pasted text's first line. The other
// editing keys are the control's own.
LRESULT CALLBACK editProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR, DWORD_PTR) {
    if (message == WM_CHAR && wParam == 0x01) { // Ctrl+A
        SendMessageW(hwnd, EM_SETSEL, 0, -1);
        return 0;
    }
    if (message == WM_PASTE) {
        const std::optional<std::u16string> pasted = clipboardText(hwnd);
        if (pasted && pasted->find_first_of(u"\r\n") != std::u16string::npos) {
            SendMessageW(hwnd, EM_REPLACESEL, TRUE, reinterpret_cast<LPARAM>(wide(Form::oneLine(*pasted)).c_str()));
            return 0;
        }
    }
    return DefSubclassProc(hwnd, message, wParam, lParam);
}

} // namespace window::win32
