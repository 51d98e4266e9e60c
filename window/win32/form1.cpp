#include "window/win32/form1.h"

#include <commctrl.h>

#include <utility>
#include <optional>

#include "commands/commands.h"
#include "window/win32/controls.h"
#include "window/win32/dpi.h"
#include "window/win32/guarded.h"

namespace window::win32 {

namespace {

// Control ids start above IDOK and IDCANCEL, which the dialog manager sends
// for Enter and Escape and which the window ignores.
constexpr int kFirstId = 100;

} // namespace

Form1::Form1(HINSTANCE instance, char16_t decimalSeparator) : instance_(instance), form_(*this, decimalSeparator) {
    WNDCLASSEXW windowClass{};
    windowClass.cbSize = sizeof windowClass;
    if (!GetClassInfoExW(instance, kClassName, &windowClass)) {
        windowClass.lpfnWndProc = windowProc;
        windowClass.hInstance = instance;
        windowClass.hCursor = LoadCursorW(nullptr, IDC_ARROW);
        windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
        windowClass.lpszClassName = kClassName;
        windowClass.hIcon = LoadIconW(instance, MAKEINTRESOURCEW(1));
        RegisterClassExW(&windowClass);
    }
    // Fixed size: no maximise box and no sizing border. Not WS_CLIPCHILDREN:
    // Frame1 draws only its border and caption, and the window's background
    // must show through it.
    constexpr DWORD style = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX;
    CreateWindowExW(WS_EX_CONTROLPARENT, kClassName, wide(kTitle).c_str(), style, CW_USEDEFAULT, CW_USEDEFAULT,
                    CW_USEDEFAULT, CW_USEDEFAULT, nullptr, nullptr, instance, this);
}

Form1::~Form1() {
    if (IsWindow(hwnd_)) DestroyWindow(hwnd_);
}

void Form1::show(int showCommand) {
    ShowWindow(hwnd_, showCommand);
    UpdateWindow(hwnd_);
    form_.opened();
}

HWND Form1::control(std::string_view name) const {
    const std::size_t row = window::rowOf(name);
    return row < controls_.size() ? controls_[row] : nullptr;
}

bool Form1::preTranslate(MSG& message) {
    if (message.message == WM_KEYDOWN && message.wParam == VK_RETURN) {
        const auto row = rowIn(controls_, message.hwnd);
        if (row && Form::enterPresses(*row)) {
            SendMessageW(message.hwnd, BM_CLICK, 0, 0);
            return true;
        }
    }
    return IsDialogMessageW(hwnd_, &message);
}

// One switch that forwards each message to its handler; a C++ exception is
// reported and never leaves it for the system's code.
LRESULT CALLBACK Form1::windowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NCCREATE) {
        auto* form = static_cast<Form1*>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams);
        form->hwnd_ = hwnd;
        SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(form));
    }
    auto* form = reinterpret_cast<Form1*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
    if (!form) return DefWindowProcW(hwnd, message, wParam, lParam);
    return guarded(hwnd, message, wParam, lParam, [&] { return form->handle(message, wParam, lParam); });
}

LRESULT Form1::handle(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_CREATE: onCreate(); return 0;
    case WM_PAINT: onPaint(); return 0;
    case WM_COMMAND: onCommand(LOWORD(wParam), HIWORD(wParam)); return 0;
    case WM_ACTIVATE: onActivate(LOWORD(wParam) != WA_INACTIVE); return 0;
    case WM_CTLCOLORSTATIC: return onControlColour(reinterpret_cast<HDC>(wParam));
    case WM_DPICHANGED: onDpiChanged(HIWORD(wParam), *reinterpret_cast<const RECT*>(lParam)); return 0;
    case WM_DESTROY:
        SetWindowLongPtrW(hwnd_, GWLP_USERDATA, 0);
        PostQuitMessage(0);
        return 0;
    default: return DefWindowProcW(hwnd_, message, wParam, lParam);
    }
}

void Form1::onCreate() {
    dpi_ = dpi::ofWindow(hwnd_);
    // The z-order is the order of creation, top first, and the dialog
    // manager's Tab follows it.
    for (const Row i : kZOrder) {
        const ControlRow& row = kControls[i];
        const Control kind = controlFor(row.kind);
        controls_[i] = CreateWindowExW(kind.exStyle, kind.className, wide(row.caption).c_str(),
                                       WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | kind.style, 0, 0, 0, 0, hwnd_,
                                       reinterpret_cast<HMENU>(static_cast<INT_PTR>(kFirstId + static_cast<int>(i))),
                                       instance_, nullptr);
        if (row.kind == Kind::TextBox) SetWindowSubclass(controls_[i], editProc, 1, 0);
    }
    layOut();
}

// Sizes the window for a client area of width × height pixels.
void Form1::sizeClientArea(int width, int height) {
    RECT frame{0, 0, width, height};
    const auto style = static_cast<DWORD>(GetWindowLongPtrW(hwnd_, GWL_STYLE));
    const auto exStyle = static_cast<DWORD>(GetWindowLongPtrW(hwnd_, GWL_EXSTYLE));
    dpi::adjustWindowRect(frame, style, exStyle, dpi_);
    SetWindowPos(hwnd_, nullptr, 0, 0, frame.right - frame.left, frame.bottom - frame.top,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    // Where the frame was measured at another DPI than the window's, the
    // client area tells by how much.
    RECT client;
    GetClientRect(hwnd_, &client);
    if (client.right != width || client.bottom != height)
        SetWindowPos(hwnd_, nullptr, 0, 0, frame.right - frame.left + width - client.right,
                     frame.bottom - frame.top + height - client.bottom, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

// Places the window and every control for the current DPI, and makes the
// fonts for it.
void Form1::layOut() {
    // The controls take the new fonts before the old ones are deleted.
    const int fieldLine = toDevice(kControls[kTextFieldRows[0]].height, dpi_) - 2 * kFieldBorder;
    Font font = makeFont(messageFace(dpi_)), title = makeFont(titleFace(dpi_)),
         field = makeFont(fieldFace(dpi_, fieldLine));
    sizeClientArea(toDevice(kClientWidth, dpi_), toDevice(kClientHeight, dpi_));

    for (std::size_t i = 0; i < kControls.size(); ++i) {
        const ControlRow& row = kControls[i];
        // Frame1's controls are the window's children too.
        const Box box = windowBox(i);
        SetWindowPos(controls_[i], nullptr, toDevice(box.left, dpi_), toDevice(box.top, dpi_),
                     toDevice(box.width, dpi_), toDevice(box.height, dpi_), SWP_NOZORDER | SWP_NOACTIVATE);
        const HFONT own = row.name == kTitleFont.control ? title.get()
                        : row.kind == Kind::TextBox      ? field.get()
                                                         : font.get();
        SendMessageW(controls_[i], WM_SETFONT, reinterpret_cast<WPARAM>(own), FALSE);
    }
    for (const Row row : kTextFieldRows) clipLabel(controls_[labelOf(row)], controls_[row]);
    font_ = std::move(font);
    fieldFont_ = std::move(field);
    titleFont_ = std::move(title);
    InvalidateRect(hwnd_, nullptr, TRUE);
}

void Form1::onPaint() {
    const Painting painting(hwnd_);
    // Thin and solid, in the default foreground colour.
    const Owned<HPEN> pen(CreatePen(PS_SOLID, 1, GetSysColor(COLOR_WINDOWTEXT)));
    const Selection selected(painting.dc(), pen.get());
    for (const LineRow& line : kLines) {
        MoveToEx(painting.dc(), toDevice(line.x1, dpi_), toDevice(line.y1, dpi_), nullptr);
        LineTo(painting.dc(), toDevice(line.x2, dpi_), toDevice(line.y2, dpi_));
    }
}

// Labels and Frame1's caption on the window's own background, as in a dialog.
LRESULT Form1::onControlColour(HDC dc) {
    SetTextColor(dc, GetSysColor(COLOR_WINDOWTEXT));
    SetBkColor(dc, GetSysColor(COLOR_BTNFACE));
    return reinterpret_cast<LRESULT>(GetSysColorBrush(COLOR_BTNFACE));
}

void Form1::onCommand(int id, int code) {
    if (code == BN_CLICKED && id >= kFirstId && static_cast<Row>(id - kFirstId) < kControls.size())
        form_.click(static_cast<Row>(id - kFirstId));
}

// The focus leaves with the window and comes back to the same control.
void Form1::onActivate(bool active) {
    if (!active) {
        const HWND focus = GetFocus();
        if (focus && IsChild(hwnd_, focus)) lastFocus_ = focus;
    } else if (lastFocus_ && IsWindow(lastFocus_)) {
        SetFocus(lastFocus_);
    }
}

void Form1::onDpiChanged(UINT dpi, const RECT& suggested) {
    dpi_ = dpi;
    SetWindowPos(hwnd_, nullptr, suggested.left, suggested.top, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    layOut();
}

std::optional<std::u16string> Form1::text(Row row) const {
    if (!IsWindow(controls_[row])) return std::nullopt;
    std::wstring text(static_cast<std::size_t>(GetWindowTextLengthW(controls_[row])) + 1, L'\0');
    text.resize(static_cast<std::size_t>(GetWindowTextW(controls_[row], text.data(), static_cast<int>(text.size()))));
    return std::u16string(text.begin(), text.end());
}

bool Form1::setText(Row row, std::u16string_view text) {
    return IsWindow(controls_[row]) && SetWindowTextW(controls_[row], wide(text).c_str());
}

std::optional<Row> Form1::focusedRow() const { return rowIn(controls_, GetFocus()); }

void Form1::focus(Row row, bool selectText) {
    if (!IsWindow(controls_[row])) return;
    SetFocus(controls_[row]);
    if (selectText) SendMessageW(controls_[row], EM_SETSEL, 0, -1);
}

void Form1::showReport(const Report& report) {
    const std::wstring text = wide(report.message) + L"\n\n" + wide(report.unfinished);
    MessageBoxW(hwnd_, text.c_str(), wide(kTitle).c_str(), MB_OK | MB_ICONWARNING);
}

int runMessageLoop(Form1& form) {
    MSG message;
    BOOL got;
    while ((got = GetMessageW(&message, nullptr, 0, 0)) > 0) {
        if (form.preTranslate(message)) continue;
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
    return got == 0 ? static_cast<int>(message.wParam) : 1;
}

} // namespace window::win32
