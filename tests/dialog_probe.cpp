// Reads and works the dialog another program shows, as a person would: the
// installer check drives the installer's pages and message boxes with it.
//   dialog_probe texts          the frontmost dialog's title and every visible
//                               control in it: "CLASS<tab>ID<tab>TEXT" a line
//   dialog_probe click ID       clicks its visible button of that control id
//   dialog_probe set ID TEXT    sets the text of its visible control of that id
//   dialog_probe shown TITLE    whether a window of that title is shown
// Prints UTF-8; exits 1 when no dialog is shown, or it has no such control.
#include <windows.h>

#include <string>

#include "win32_text.h"

namespace {

// The topmost visible dialog of any program: a message box, or a wizard whose
// pages are dialogs inside it.
HWND frontDialog() {
    HWND found = nullptr;
    EnumWindows([](HWND hwnd, LPARAM out) {
        if (!IsWindowVisible(hwnd) || className(hwnd) != L"#32770") return TRUE;
        *reinterpret_cast<HWND*>(out) = hwnd;
        return FALSE;
    }, reinterpret_cast<LPARAM>(&found));
    return found;
}

struct Search {
    int id;
    HWND found;
};

// A visible control of that id anywhere in the dialog, its pages included.
HWND controlOf(HWND dialog, int id) {
    Search search{id, nullptr};
    EnumChildWindows(dialog, [](HWND child, LPARAM out) {
        auto* wanted = reinterpret_cast<Search*>(out);
        if (!IsWindowVisible(child) || GetDlgCtrlID(child) != wanted->id) return TRUE;
        wanted->found = child;
        return FALSE;
    }, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

// One line a control: a text's own line breaks become spaces.
void print(std::wstring line) {
    for (wchar_t& c : line)
        if (c == L'\r' || c == L'\n') c = L' ';
    const std::string utf8 = narrow(line + L"\n");
    DWORD written = 0;
    WriteFile(GetStdHandle(STD_OUTPUT_HANDLE), utf8.data(), static_cast<DWORD>(utf8.size()), &written, nullptr);
}

} // namespace

int wmain(int argc, wchar_t** argv) {
    const std::wstring verb = argc > 1 ? argv[1] : L"";
    if (verb == L"shown" && argc == 3) {
        const HWND window = FindWindowW(nullptr, argv[2]);
        return window && IsWindowVisible(window) ? 0 : 1;
    }
    const HWND dialog = frontDialog();
    if (!dialog) return 1;
    if (verb == L"texts" && argc == 2) {
        print(L"title\t0\t" + textOf(dialog));
        EnumChildWindows(dialog, [](HWND child, LPARAM) {
            if (IsWindowVisible(child))
                print(className(child) + L"\t" + std::to_wstring(GetDlgCtrlID(child)) + L"\t" + textOf(child));
            return TRUE;
        }, 0);
        return 0;
    }
    const HWND control = argc > 2 ? controlOf(dialog, _wtoi(argv[2])) : nullptr;
    if (!control) return argc > 2 ? 1 : 2;
    if (verb == L"click" && argc == 3) {
        // Posted, so that a box the click opens does not hold this probe.
        PostMessageW(control, BM_CLICK, 0, 0);
        return 0;
    }
    if (verb == L"set" && argc == 4) return SendMessageW(control, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(argv[3])) ? 0 : 1;
    return 2;
}
