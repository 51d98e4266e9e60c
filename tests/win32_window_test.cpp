// Form1 on Win32 as a user meets it, under Wine: a real window, with keys and
// clicks arriving as messages the way the system delivers them, through the
// window's own message handling.
#include <gtest/gtest.h>

#include <windows.h>

#include <commctrl.h>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <stdexcept>
#include <string>
#include <vector>

#include "failing_clicks.h"
#include "test_locale.h"
#include "win32_text.h"
#include "commands/commands.h"
#include "commands/form_fields.h"
#include "window/layout.h"
#include "window/report.h"
#include "window/win32/dpi.h"
#include "window/win32/form1.h"
#include "window/win32/guarded.h"

namespace {

using window::Kind;
using window::kControls;
using window::win32::Form1;
using window::win32::toDevice;

std::wstring wide(std::u16string_view text) { return {text.begin(), text.end()}; }
std::wstring wideAscii(std::string_view text) { return {text.begin(), text.end()}; }

// Does `action`, which opens a message box on this thread; returns the box's
// title and texts, read while it is open, after dismissing it with Enter.
std::vector<std::wstring> expectingBox(const std::function<void()>& action) {
    static std::vector<std::wstring>* seen;
    std::vector<std::wstring> texts;
    seen = &texts;
    // Runs inside the box's own message loop.
    const UINT_PTR timer = SetTimer(nullptr, 0, 50, [](HWND, UINT, UINT_PTR id, DWORD) {
        HWND box = nullptr;
        EnumThreadWindows(GetCurrentThreadId(), [](HWND hwnd, LPARAM found) {
            if (className(hwnd) == L"#32770" && IsWindowVisible(hwnd)) *reinterpret_cast<HWND*>(found) = hwnd;
            return TRUE;
        }, reinterpret_cast<LPARAM>(&box));
        if (!box) return;
        KillTimer(nullptr, id);
        seen->push_back(textOf(box));
        EnumChildWindows(box, [](HWND child, LPARAM) {
            if (className(child) == L"Static" && GetWindowTextLengthW(child) > 0) seen->push_back(textOf(child));
            return TRUE;
        }, 0);
        const HWND focus = GetFocus();
        PostMessageW(focus ? focus : box, WM_KEYDOWN, VK_RETURN, 1);
        PostMessageW(focus ? focus : box, WM_KEYUP, VK_RETURN, 1 | (1u << 30) | (1u << 31));
    });
    action();
    KillTimer(nullptr, timer);
    return texts;
}

// The focus is read after the queue is empty.
class Win32Window : public testing::Test {
protected:
    void SetUp() override {
        form.show();
        pump();
    }

    // Delivers every queued message the way the program's loop does.
    void pump() {
        MSG message;
        while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
            if (message.message == WM_QUIT) {
                quit = true;
                continue;
            }
            if (form.preTranslate(message)) continue;
            TranslateMessage(&message);
            DispatchMessageW(&message);
        }
    }
    HWND control(std::string_view name) { return form.control(name); }

    // A key pressed and released on the focused control, as the keyboard
    // driver posts it; `modifier` is held down meanwhile.
    void press(WPARAM key, BYTE modifier = 0) {
        BYTE keys[256];
        GetKeyboardState(keys);
        if (modifier) keys[modifier] = 0x80;
        SetKeyboardState(keys);
        const HWND focus = GetFocus();
        PostMessageW(focus, WM_KEYDOWN, key, 1);
        PostMessageW(focus, WM_KEYUP, key, 1 | (1u << 30) | (1u << 31));
        pump();
        if (modifier) {
            keys[modifier] = 0;
            SetKeyboardState(keys);
        }
    }
    void typeChars(HWND edit, const std::wstring& text) {
        for (const wchar_t c : text) PostMessageW(edit, WM_CHAR, c, 1);
        pump();
    }
    void type(std::string_view name, const std::wstring& text) {
        SetWindowTextW(control(name), L"");
        SetFocus(control(name));
        typeChars(control(name), text);
    }
    void fill(const std::wstring& x1, const std::wstring& y1, const std::wstring& x2, const std::wstring& y2,
              const std::wstring& x) {
        type("x1", x1);
        type("y1", y1);
        type("x2", x2);
        type("y2", y2);
        type("x", x);
    }
    // What the system sends when the window moves to a screen of `dpi` dots
    // per inch, where it stays in place.
    void moveToScreenOf(UINT dpi) {
        RECT suggested;
        GetWindowRect(form.hwnd(), &suggested);
        SendMessageW(form.hwnd(), WM_DPICHANGED, MAKEWPARAM(dpi, dpi), reinterpret_cast<LPARAM>(&suggested));
        pump();
    }
    void click(std::string_view name) {
        SendMessageW(control(name), BM_CLICK, 0, 0);
        pump();
    }
    std::wstring text(std::string_view name) { return textOf(control(name)); }
    std::pair<DWORD, DWORD> selection(std::string_view name) {
        DWORD start = 0, end = 0;
        SendMessageW(control(name), EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
        return {start, end};
    }

    // Clicks a button that opens a message box; returns the box's title and
    // text, read while it is open, after dismissing it with Enter.
    std::vector<std::wstring> clickExpectingBox(std::string_view name) {
        auto texts = expectingBox([&] { click(name); });
        comeBack();
        return texts;
    }

    // Without a window manager the X server may tell Wine, after a box has
    // closed, that the focus went to the root window; Wine then hands the
    // activation to the desktop. A user would click the window's title bar
    // to come back, and so does the test: the focus must land where the
    // program put it before the window lost it.
    void comeBack() {
        if (GetForegroundWindow() == form.hwnd()) return;
        SetForegroundWindow(form.hwnd());
        pump();
    }

    Form1 form{GetModuleHandleW(nullptr)};
    bool quit = false;
};

// Layout.

TEST_F(Win32Window, EveryControlStandsWhereTheTableSays) {
    EXPECT_EQ(textOf(form.hwnd()), wide(window::kTitle));
    ASSERT_EQ(form.dpi(), 96u);
    RECT client;
    GetClientRect(form.hwnd(), &client);
    EXPECT_EQ(client.right, window::toPixels(window::kClientWidth));
    EXPECT_EQ(client.bottom, window::toPixels(window::kClientHeight));
    const auto style = GetWindowLongPtrW(form.hwnd(), GWL_STYLE);
    EXPECT_FALSE(style & (WS_THICKFRAME | WS_MAXIMIZEBOX)); // fixed size

    for (window::Row i = 0; i < kControls.size(); ++i) {
        const auto& row = kControls[i];
        SCOPED_TRACE(std::string(row.name));
        const HWND hwnd = control(row.name);
        ASSERT_TRUE(IsWindow(hwnd));
        EXPECT_EQ(GetParent(hwnd), form.hwnd());
        RECT box;
        GetWindowRect(hwnd, &box);
        MapWindowPoints(nullptr, form.hwnd(), reinterpret_cast<POINT*>(&box), 2);
        const window::Box table = window::windowBox(i);
        EXPECT_EQ(box.left, window::toPixels(table.left));
        EXPECT_EQ(box.top, window::toPixels(table.top));
        EXPECT_EQ(box.right - box.left, window::toPixels(table.width));
        EXPECT_EQ(box.bottom - box.top, window::toPixels(table.height));
        EXPECT_TRUE(IsWindowVisible(hwnd));
        EXPECT_EQ(textOf(hwnd), wide(row.caption));
        const auto controlStyle = GetWindowLongPtrW(hwnd, GWL_STYLE);
        switch (row.kind) {
        case Kind::CommandButton:
            EXPECT_EQ(className(hwnd), L"Button");
            EXPECT_EQ(controlStyle & BS_TYPEMASK, BS_PUSHBUTTON); // never the default button
            EXPECT_TRUE(controlStyle & WS_TABSTOP);
            break;
        case Kind::TextBox:
            EXPECT_EQ(className(hwnd), L"Edit");
            EXPECT_TRUE(controlStyle & ES_AUTOHSCROLL);
            EXPECT_FALSE(controlStyle & (ES_MULTILINE | ES_READONLY));
            // A one-line border, which the control takes over from WS_BORDER and
            // draws itself; not the sunken edge, which takes two more pixels.
            EXPECT_FALSE(GetWindowLongPtrW(hwnd, GWL_EXSTYLE) & WS_EX_CLIENTEDGE);
            EXPECT_GE(SendMessageW(hwnd, EM_GETLIMITTEXT, 0, 0), 30000); // no limit of ours
            break;
        case Kind::Frame:
            EXPECT_EQ(className(hwnd), L"Button");
            EXPECT_EQ(controlStyle & BS_TYPEMASK, BS_GROUPBOX);
            break;
        case Kind::Label:
            EXPECT_EQ(className(hwnd), L"Static");
            EXPECT_EQ(controlStyle & SS_TYPEMASK, SS_LEFTNOWORDWRAP);
            EXPECT_FALSE(controlStyle & (WS_BORDER | SS_SUNKEN));
            break;
        }
    }
}

TEST_F(Win32Window, ARelayoutForA150PercentScreenScalesEveryPlace) {
    moveToScreenOf(144);
    EXPECT_EQ(form.dpi(), 144u);
    // The client area is the table's size at 144 dots per inch.
    RECT client;
    GetClientRect(form.hwnd(), &client);
    EXPECT_EQ(client.right, toDevice(window::kClientWidth, 144));
    EXPECT_EQ(client.bottom, toDevice(window::kClientHeight, 144));
    for (const auto& row : kControls) {
        SCOPED_TRACE(std::string(row.name));
        RECT box;
        GetWindowRect(control(row.name), &box);
        EXPECT_EQ(box.right - box.left, toDevice(row.width, 144));
        EXPECT_EQ(box.bottom - box.top, toDevice(row.height, 144));
    }
    LOGFONTW title{};
    GetObjectW(reinterpret_cast<HFONT>(SendMessageW(control("Label12"), WM_GETFONT, 0, 0)), sizeof title, &title);
    EXPECT_EQ(title.lfHeight, -29); // 14.25 points at 144 dots per inch
}

TEST_F(Win32Window, DrawsTheDiagramLines) {
    UpdateWindow(form.hwnd());
    const HDC dc = GetDC(form.hwnd());
    const COLORREF ink = GetSysColor(COLOR_WINDOWTEXT);
    for (const auto& line : window::kLines) {
        SCOPED_TRACE(std::string(line.name));
        const int x = (line.x1 + line.x2) / 30, y = (line.y1 + line.y2) / 30;
        bool inked = false;
        for (int dx = -1; dx <= 1; ++dx)
            for (int dy = -1; dy <= 1; ++dy) inked = inked || GetPixel(dc, x + dx, y + dy) == ink;
        EXPECT_TRUE(inked);
    }
    ReleaseDC(form.hwnd(), dc);
}

// Fonts: the title's own face, and Chinese drawn from real glyphs in boxes
// that hold the captions.

TEST_F(Win32Window, TheTitleIsSongBoldAndEveryCaptionFitsWithRealGlyphs) {
    LOGFONTW title{};
    GetObjectW(reinterpret_cast<HFONT>(SendMessageW(control("Label12"), WM_GETFONT, 0, 0)), sizeof title, &title);
    EXPECT_EQ(std::wstring(title.lfFaceName), L"宋体");
    EXPECT_EQ(title.lfWeight, 700);
    EXPECT_EQ(title.lfCharSet, GB2312_CHARSET);
    EXPECT_EQ(title.lfHeight, -19); // 14.25 points at 96 dots per inch
    EXPECT_FALSE(title.lfItalic || title.lfUnderline || title.lfStrikeOut);

    const HDC dc = GetDC(form.hwnd());
    for (const auto& row : kControls) {
        if (row.kind != Kind::Label && row.kind != Kind::CommandButton) continue;
        const std::wstring caption = wide(window::longestText(window::rowOf(row.name)));
        if (caption.empty()) continue;
        SCOPED_TRACE(std::string(row.name));
        const HWND hwnd = control(row.name);
        const HGDIOBJ previous = SelectObject(dc, reinterpret_cast<HFONT>(SendMessageW(hwnd, WM_GETFONT, 0, 0)));
        // Every character has a glyph in the face that draws it.
        std::vector<WORD> glyphs(caption.size());
        GetGlyphIndicesW(dc, caption.c_str(), static_cast<int>(caption.size()), glyphs.data(),
                         GGI_MARK_NONEXISTING_GLYPHS);
        for (std::size_t i = 0; i < glyphs.size(); ++i) EXPECT_NE(glyphs[i], 0xFFFF) << "character " << i;
        SIZE extent;
        GetTextExtentPoint32W(dc, caption.c_str(), static_cast<int>(caption.size()), &extent);
        RECT box;
        GetClientRect(hwnd, &box);
        EXPECT_LE(extent.cx, box.right);
        if (row.kind == Kind::Label) {
            EXPECT_LE(extent.cy, box.bottom + 2); // the line's leading may pass the box
        }
        SelectObject(dc, previous);
    }
    ReleaseDC(form.hwnd(), dc);
}

// Text fields show a typed line whole, at every DPI, with the faces a Chinese
// Windows offers (here: what the test prefix maps them to).
TEST(Win32Fonts, AFieldsLineFitsAndItsDigitsStayReadable) {
    for (const UINT dpi : {96u, 120u, 144u, 192u}) {
        const int room = toDevice(window::kControls[window::rowOf("x1")].height, dpi) - 2 * window::win32::kFieldBorder;
        const LOGFONTW face = window::win32::fieldFace(dpi, room);
        const window::win32::Measured measured = window::win32::measure(face);
        std::printf("field font at %u dpi: %s %ld px, line %d of %d px, digits %d px\n", dpi,
                    narrow(face.lfFaceName).c_str(), static_cast<long>(face.lfHeight), measured.lineHeight, room,
                    measured.digitHeight);
        EXPECT_LE(measured.lineHeight, room) << dpi;
        EXPECT_GE(measured.digitHeight, MulDiv(window::win32::kSmallestDigitPixels, static_cast<int>(dpi), 96)) << dpi;
    }
}

// What a field shows, as pixels: the rows of its client area that hold ink.
std::vector<std::vector<bool>> inkOf(HWND edit) {
    InvalidateRect(edit, nullptr, TRUE);
    UpdateWindow(edit);
    RECT client;
    GetClientRect(edit, &client);
    const HDC dc = GetDC(edit);
    const COLORREF ink = GetSysColor(COLOR_WINDOWTEXT);
    std::vector<std::vector<bool>> rows;
    // Inside the one-line border.
    for (int y = 1; y < client.bottom - 1; ++y) {
        rows.emplace_back();
        for (int x = 2; x < client.right - 2; ++x) rows.back().push_back(GetPixel(dc, x, y) == ink);
    }
    ReleaseDC(edit, dc);
    return rows;
}

TEST_F(Win32Window, UnderscoresAndCommasShowInTheField) {
    type("x1", L"___");
    const auto underscores = inkOf(control("x1"));
    bool inked = false;
    for (const auto& row : underscores)
        for (const bool pixel : row) inked = inked || pixel;
    EXPECT_TRUE(inked) << "no underscore drawn";
    type("x1", L"1,5");
    const auto comma = inkOf(control("x1"));
    type("x1", L"1.5");
    EXPECT_NE(comma, inkOf(control("x1"))) << "1,5 looks like 1.5";
}

// A screen reader, from its own process, hears each field by its label.
TEST_F(Win32Window, AScreenReaderNamesEveryFieldByItsLabel) {
    wchar_t path[MAX_PATH];
    GetModuleFileNameW(nullptr, path, MAX_PATH);
    std::wstring folder(path);
    folder.resize(folder.find_last_of(L"\\/") + 1);
    const std::wstring out = folder + L"msaa_names.txt";
    std::wstring command = L"\"" + folder + L"" MSAA_NAMES_EXE "\" \"" + out + L"\"";
    for (const auto& name : commands::kTextFieldNames)
        command += L" " + std::to_wstring(reinterpret_cast<INT_PTR>(control(name)));
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    ASSERT_TRUE(CreateProcessW(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                               &process));
    // The reader's questions arrive as messages: answer them while it runs.
    const DWORD start = GetTickCount();
    while (MsgWaitForMultipleObjects(1, &process.hProcess, FALSE, 200, QS_ALLINPUT) != WAIT_OBJECT_0
           && GetTickCount() - start < 30000)
        pump();
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);

    FILE* file = _wfopen(out.c_str(), L"rb");
    ASSERT_NE(file, nullptr);
    std::wstring names;
    wchar_t unit;
    while (std::fread(&unit, sizeof unit, 1, file) == 1) names += unit;
    std::fclose(file);
    DeleteFileW(out.c_str());
    std::wstring expected;
    for (const auto& name : commands::kTextFieldNames)
        expected += wide(kControls[window::labelOf(window::rowOf(name))].caption) + L"\n";
    std::printf("names a screen reader hears: %s\n", narrow(names).c_str());
    EXPECT_EQ(names, expected) << narrow(names);
}

// The version resource the program carries, read back as Explorer does: the
// project's version, Chinese (PRC), Unicode, the product's name.
TEST(Win32Resources, VersionIsOneForChinesePrc) {
    wchar_t path[MAX_PATH];
    GetModuleFileNameW(nullptr, path, MAX_PATH);
    DWORD handle = 0;
    const DWORD size = GetFileVersionInfoSizeW(path, &handle);
    ASSERT_GT(size, 0u);
    std::vector<BYTE> data(size);
    ASSERT_TRUE(GetFileVersionInfoW(path, 0, size, data.data()));
    VS_FIXEDFILEINFO* fixed = nullptr;
    UINT length = 0;
    ASSERT_TRUE(VerQueryValueW(data.data(), L"\\", reinterpret_cast<void**>(&fixed), &length));
    char version[32];
    std::snprintf(version, sizeof version, "%u.%u.%u", HIWORD(fixed->dwFileVersionMS), LOWORD(fixed->dwFileVersionMS),
                  HIWORD(fixed->dwFileVersionLS));
    EXPECT_EQ(version, window::kVersion);
    EXPECT_EQ(fixed->dwProductVersionMS, fixed->dwFileVersionMS);
    WORD* translation = nullptr;
    ASSERT_TRUE(VerQueryValueW(data.data(), L"\\VarFileInfo\\Translation", reinterpret_cast<void**>(&translation),
                               &length));
    ASSERT_GE(length, 4u);
    EXPECT_EQ(translation[0], 0x0804);
    EXPECT_EQ(translation[1], 1200);
    wchar_t* name = nullptr;
    ASSERT_TRUE(VerQueryValueW(data.data(), L"\\StringFileInfo\\080404B0\\ProductName",
                               reinterpret_cast<void**>(&name), &length));
    EXPECT_EQ(std::wstring(name), wide(window::kProductName));
    // The icon is the window class's.
    EXPECT_NE(LoadIconW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(1)), nullptr);
}

// Keyboard.

TEST_F(Win32Window, TabCyclesInTheTableOrderStartingAtY1) {
    // The table's keyboard order (form_test pins it), and round to the first.
    std::vector<std::string_view> order;
    for (const window::Row row : window::kTabOrder) order.push_back(window::kControls[row].name);
    order.push_back(order.front());
    EXPECT_EQ(GetFocus(), control("y1"));
    for (std::size_t i = 1; i < order.size(); ++i) {
        press(VK_TAB);
        EXPECT_EQ(GetFocus(), control(order[i])) << order[i];
    }
    for (std::size_t i = order.size() - 1; i-- > 0;) {
        press(VK_TAB, VK_SHIFT);
        EXPECT_EQ(GetFocus(), control(order[i])) << order[i];
    }
}

TEST_F(Win32Window, TheFocusLeavesWithTheWindowAndComesBackToTheSameControl) {
    for (const char* name : {"x2", "Command2"}) {
        SetFocus(control(name));
        SetForegroundWindow(GetDesktopWindow());
        pump();
        EXPECT_EQ(GetFocus(), nullptr) << name;
        comeBack();
        EXPECT_EQ(GetFocus(), control(name)) << name;
    }
}

TEST_F(Win32Window, EnterAndEscapeInAFieldRunNothing) {
    fill(L"1", L"1", L"3", L"5", L"2");
    for (const char* name : {"x1", "y1", "x2", "y2", "x", "y"}) {
        SetFocus(control(name));
        press(VK_RETURN);
        press(VK_ESCAPE);
    }
    EXPECT_TRUE(text("y").empty());
    EXPECT_TRUE(text("l1").empty());
    EXPECT_TRUE(IsWindowVisible(form.hwnd())); // Escape does not close it
}

TEST_F(Win32Window, FocusedButtonsArePressedWithSpaceOrEnter) {
    fill(L"0", L"0", L"3", L"1", L"1");
    SetFocus(control("Command1"));
    press(VK_SPACE);
    EXPECT_EQ(text("y"), L"0.33");
    SetFocus(control("Command2"));
    press(VK_RETURN);
    EXPECT_TRUE(text("x1").empty());
    EXPECT_EQ(GetFocus(), control("Command2")); // clearing leaves the focus alone
    type("x1", L"1");
    type("x2", L"1");
    SetFocus(control("Command1"));
    press(VK_RETURN);
    EXPECT_EQ(text("l1"), wide(commands::kEqualAbscissas));
}

TEST_F(Win32Window, EditingKeysWorkInEveryField) {
    for (const char* name : {"x1", "y1", "x2", "y2", "x", "y"}) {
        SCOPED_TRACE(name);
        type(name, L"12.5");
        SendMessageW(control(name), EM_SETSEL, 4, 4);
        typeChars(control(name), L"\x01"); // Ctrl+A
        EXPECT_EQ(selection(name), std::make_pair(DWORD{0}, DWORD{4}));
        typeChars(control(name), L"\x18"); // Ctrl+X
        EXPECT_TRUE(text(name).empty());
        typeChars(control(name), L"\x16"); // Ctrl+V
        EXPECT_EQ(text(name), L"12.5");
        typeChars(control(name), L"\x01""3"); // replace it all
        EXPECT_EQ(text(name), L"3");
        typeChars(control(name), L"\x1A"); // Ctrl+Z
        EXPECT_EQ(text(name), L"12.5");
    }
}

// Pasted lines stay apart as the field shows them, and the box quotes them on
// one line.
TEST_F(Win32Window, APasteOfSeveralLinesIsHeldAsShownOnOneLine) {
    fill(L"1", L"1", L"3", L"5", L"");
    for (const std::wstring pasted : {L"2.5\n3", L"2.5\r\n3", L"2.5\r3"}) {
        SCOPED_TRACE(narrow(pasted));
        ASSERT_TRUE(OpenClipboard(form.hwnd()));
        EmptyClipboard();
        const HGLOBAL data = GlobalAlloc(GMEM_MOVEABLE, (pasted.size() + 1) * sizeof(wchar_t));
        std::copy_n(pasted.c_str(), pasted.size() + 1, static_cast<wchar_t*>(GlobalLock(data)));
        GlobalUnlock(data);
        SetClipboardData(CF_UNICODETEXT, data); // the clipboard owns it now
        CloseClipboard();
        type("x", L"");
        SendMessageW(control("x"), WM_PASTE, 0, 0);
        EXPECT_EQ(text("x"), L"2.5 3");
        const auto box = clickExpectingBox("Command1");
        ASSERT_GE(box.size(), 2u);
        EXPECT_NE(box[1].find(L"\u201c2.5 3\u201d"), std::wstring::npos) << narrow(box[1]);
    }
}

// Mouse and the commands.

TEST_F(Win32Window, ClickComputesThenClearEmptiesEverything) {
    click("Command1");
    EXPECT_EQ(text("l1"), wide(commands::kEqualAbscissas)); // a fresh window: both abscissas empty
    EXPECT_TRUE(text("y").empty());
    fill(L"1", L"1", L"3", L"5", L"2");
    click("Command1");
    EXPECT_EQ(text("y"), L"3");
    EXPECT_TRUE(text("l1").empty());
    EXPECT_EQ(form.heldReferences(), 0);
    fill(L"０", L"０", L"８", L"３", L"１"); // full-width, as a Chinese input method types
    click("Command1");
    EXPECT_EQ(text("y"), L"0.38");
    fill(L"1", L"1", L"3", L"\u22123", L"２。５"); // its "。" for a point, a pasted minus sign
    click("Command1");
    EXPECT_EQ(text("y"), L"-2");
    click("Command2");
    for (const char* name : {"x1", "y1", "x2", "y2", "x", "y"}) EXPECT_TRUE(text(name).empty()) << name;
    EXPECT_TRUE(text("l1").empty());
}

class Win32WindowErrors : public Win32Window, public testing::WithParamInterface<failing::Click> {};

TEST_P(Win32WindowErrors, ShowTheReportLeaveTheFieldsAndPointAtTheCause) {
    const failing::Click& row = GetParam();
    const auto in = [&row](std::size_t i) { return wideAscii(row.inputs[i]); };
    fill(in(0), in(1), in(2), in(3), in(4));
    type("y", L"7");
    SetWindowTextW(control("l1"), L"earlier");
    SetFocus(control("Command1"));

    const std::vector<std::wstring> box = clickExpectingBox("Command1");
    ASSERT_GE(box.size(), 2u) << "no message box";
    const window::Report report = failing::expectedReport(row);
    EXPECT_EQ(box[0], wide(window::kTitle));
    EXPECT_EQ(box[1], wide(report.message) + L"\n\n" + wide(report.unfinished));
    EXPECT_EQ(text("y"), L"7");
    EXPECT_EQ(text("l1"), L"earlier");
    EXPECT_EQ(form.heldReferences(), 0);
    ASSERT_EQ(GetFocus(), control(row.focus)) << row.focus;
    if (className(control(row.focus)) == L"Edit") {
        // Typing replaces the whole wrong text.
        EXPECT_EQ(selection(row.focus), std::make_pair(DWORD{0}, static_cast<DWORD>(text(row.focus).size())));
        typeChars(control(row.focus), L"2");
        EXPECT_EQ(text(row.focus), L"2");
    }

    // The program goes on: mend the inputs and compute.
    fill(L"1", L"1", L"3", L"5", L"2");
    click("Command1");
    EXPECT_EQ(text("y"), L"3");
}

INSTANTIATE_TEST_SUITE_P(Kinds, Win32WindowErrors, testing::ValuesIn(failing::kClicks),
                         [](const auto& row) { return std::string(row.param.name); });

TEST_F(Win32Window, AFieldThatIsGoneIsReportedNotFollowed) {
    fill(L"1", L"1", L"3", L"5", L"2");
    DestroyWindow(control("y"));
    const std::vector<std::wstring> box = clickExpectingBox("Command1");
    ASSERT_GE(box.size(), 2u);
    const window::Report report =
        window::reportFailure(rt::PropertyError("y", "Text"), window::Command::Interpolate, u'.');
    EXPECT_EQ(box[1], wide(report.message) + L"\n\n" + wide(report.unfinished));
    EXPECT_EQ(form.heldReferences(), 0);
    EXPECT_TRUE(text("l1").empty());
}

// Many clicks, successful and failing, and a DPI change leave no GDI object
// behind.
TEST_F(Win32Window, ClicksAndRelayoutsLeakNoGdiObjects) {
    const DWORD before = GetGuiResources(GetCurrentProcess(), GR_GDIOBJECTS);
    fill(L"1", L"1", L"3", L"5", L"2");
    for (int i = 0; i < 200; ++i) {
        click("Command1");
        InvalidateRect(form.hwnd(), nullptr, TRUE);
        UpdateWindow(form.hwnd());
    }
    for (const UINT dpi : {144u, 96u}) moveToScreenOf(dpi);
    const DWORD after = GetGuiResources(GetCurrentProcess(), GR_GDIOBJECTS);
    if (before == 0) GTEST_SKIP() << "GetGuiResources counts nothing here";
    EXPECT_LE(after, before + 2);
}

// Where the system cannot count GDI objects (Wine), the fonts a relayout
// replaces must at least be gone.
TEST_F(Win32Window, ARelayoutDeletesTheFontsItReplaces) {
    const auto fontOf = [this](std::string_view name) {
        return reinterpret_cast<HFONT>(SendMessageW(control(name), WM_GETFONT, 0, 0));
    };
    const HFONT message = fontOf("l1"), title = fontOf("Label12");
    ASSERT_EQ(GetObjectType(message), static_cast<DWORD>(OBJ_FONT));
    ASSERT_EQ(GetObjectType(title), static_cast<DWORD>(OBJ_FONT));
    moveToScreenOf(144);
    EXPECT_EQ(GetObjectType(message), 0u);
    EXPECT_EQ(GetObjectType(title), 0u);
    for (const auto& row : kControls) EXPECT_EQ(GetObjectType(fontOf(row.name)), static_cast<DWORD>(OBJ_FONT));
}

// An exception a message handler lets out: the user is told in a box, a
// debugger is told its text, and the window goes on.
std::vector<std::string>* debugLines;
LONG CALLBACK collectDebugOutput(EXCEPTION_POINTERS* exception) {
    const EXCEPTION_RECORD& record = *exception->ExceptionRecord;
    if (record.ExceptionCode == DBG_PRINTEXCEPTION_C && record.NumberParameters >= 2)
        debugLines->push_back(reinterpret_cast<const char*>(record.ExceptionInformation[1]));
    return EXCEPTION_CONTINUE_SEARCH; // and on to the system's own handling
}

TEST(Win32Guard, AnExceptionFromAHandlerIsReportedAndTheWindowGoesOn) {
    const auto proc = [](HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) -> LRESULT {
        return window::win32::guarded(hwnd, message, wParam, lParam, [&]() -> LRESULT {
            if (message == WM_APP) throw std::runtime_error("the handler failed");
            return message == WM_APP + 1 ? 42 : DefWindowProcW(hwnd, message, wParam, lParam);
        });
    };
    WNDCLASSW windowClass{};
    windowClass.lpfnWndProc = proc;
    windowClass.hInstance = GetModuleHandleW(nullptr);
    windowClass.lpszClassName = L"linterp.test.Throwing";
    RegisterClassW(&windowClass);
    const HWND hwnd = CreateWindowExW(0, windowClass.lpszClassName, L"", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0,
                                      200, 100, nullptr, nullptr, windowClass.hInstance, nullptr);
    ASSERT_TRUE(IsWindow(hwnd));

    std::vector<std::string> lines;
    debugLines = &lines;
    const PVOID handler = AddVectoredExceptionHandler(1, collectDebugOutput);
    const auto texts = expectingBox([&] { EXPECT_EQ(SendMessageW(hwnd, WM_APP, 0, 0), 0); });
    RemoveVectoredExceptionHandler(handler);

    EXPECT_EQ(texts, (std::vector<std::wstring>{wide(window::kTitle), wide(window::internalError("the handler failed"))}));
    std::string traced;
    for (const auto& line : lines) traced += line;
    EXPECT_NE(traced.find("the handler failed"), std::string::npos) << traced;
    EXPECT_EQ(SendMessageW(hwnd, WM_APP + 1, 0, 0), 42); // still answering
    DestroyWindow(hwnd);
}

// Closing.

TEST_F(Win32Window, ClosingEndsTheProgramWithoutAsking) {
    fill(L"1", L"1", L"3", L"5", L"2");
    PostMessageW(form.hwnd(), WM_CLOSE, 0, 0);
    EXPECT_EQ(window::win32::runMessageLoop(form), 0); // returns: no question box holds it open
    EXPECT_FALSE(IsWindow(form.hwnd()));
}

} // namespace

int main(int argc, char** argv) {
    testing_locale::applyRequestedLocale();
    INITCOMMONCONTROLSEX controls{sizeof controls, ICC_STANDARD_CLASSES};
    InitCommonControlsEx(&controls);
    testing::InitGoogleTest(&argc, argv);
    // --fallbacks: the whole suite again on the paths Windows 7 takes.
    for (int i = 1; i < argc; ++i)
        if (std::string_view(argv[i]) == "--fallbacks") window::win32::dpi::useFallbacks();
    return RUN_ALL_TESTS();
}
