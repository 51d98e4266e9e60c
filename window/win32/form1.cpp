#include "window/win32/form1.h"

#include <commctrl.h>

#include <algorithm>
#include <optional>

#include "commands/commands.h"
#include "window/binding.h"

namespace window::win32 {

namespace {

// Control ids start above IDOK and IDCANCEL, which the dialog manager sends
// for Enter and Escape and which the window ignores.
constexpr int kFirstId = 100;

std::wstring wide(std::u16string_view text) { return {text.begin(), text.end()}; }
std::wstring wide(std::string_view utf8) { return wide(toUtf16(utf8)); }

std::u16string windowText(HWND hwnd) {
    std::wstring text(static_cast<std::size_t>(GetWindowTextLengthW(hwnd)) + 1, L'\0');
    text.resize(static_cast<std::size_t>(GetWindowTextW(hwnd, text.data(), static_cast<int>(text.size()))));
    return {text.begin(), text.end()};
}

struct Control {
    const wchar_t* className;
    DWORD style;
    DWORD exStyle;
};

Control controlFor(Kind kind) {
    switch (kind) {
    case Kind::CommandButton: return {L"BUTTON", WS_TABSTOP | BS_PUSHBUTTON, 0};
    case Kind::TextBox: return {L"EDIT", WS_TABSTOP | ES_LEFT | ES_AUTOHSCROLL, WS_EX_CLIENTEDGE};
    case Kind::Frame: return {L"BUTTON", BS_GROUPBOX, 0};
    case Kind::Label: break;
    }
    return {L"STATIC", SS_LEFTNOWORDWRAP | SS_NOPREFIX, 0};
}

// The message font, no larger than the 9 points the layout's boxes are sized for.
Font messageFont(UINT dpi) {
    NONCLIENTMETRICSW metrics{};
    metrics.cbSize = sizeof metrics;
    LOGFONTW font{};
    if (SystemParametersInfoForDpi(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0, dpi))
        font = metrics.lfMessageFont;
    const LONG largest = MulDiv(9, static_cast<int>(dpi), 72);
    if (font.lfHeight == 0 || font.lfHeight < -largest || font.lfHeight > largest) font.lfHeight = -largest;
    if (font.lfFaceName[0] == L'\0') wcscpy(font.lfFaceName, L"MS Shell Dlg 2");
    return Font(CreateFontIndirectW(&font));
}

Font titleFont(UINT dpi) {
    LOGFONTW font{};
    font.lfHeight = -static_cast<LONG>(kTitleFont.pointSize * dpi / 72 + 0.5);
    font.lfWeight = kTitleFont.weight;
    font.lfCharSet = GB2312_CHARSET;
    font.lfQuality = CLEARTYPE_QUALITY;
    const std::wstring face = wide(kTitleFont.family);
    face.copy(font.lfFaceName, LF_FACESIZE - 1);
    return Font(CreateFontIndirectW(&font));
}

// Ctrl+A selects the whole text; the single-line edit control of older
// Windows and of Wine ignores it. The other editing keys are the control's own.
LRESULT CALLBACK editProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR, DWORD_PTR) {
    if (message == WM_CHAR && wParam == 0x01) { // Ctrl+A
        SendMessageW(hwnd, EM_SETSEL, 0, -1);
        return 0;
    }
    return DefSubclassProc(hwnd, message, wParam, lParam);
}

struct PaintDeleter {
    HWND hwnd;
    PAINTSTRUCT* paint;
    void operator()(HDC) const noexcept { EndPaint(hwnd, paint); }
};
struct PenDeleter {
    void operator()(HPEN pen) const noexcept { DeleteObject(pen); }
};

} // namespace

// The commands' view of a text field: its Text, read and written. A field
// whose control is gone fails, and the command raises the property error.
class Form1::TextBoxBinding final : public Counted<rt::TextBox> {
public:
    TextBoxBinding(std::string_view name, HWND edit) : Counted(name), edit_(edit) {}

    rt::Status GetText(rt::Str& text) override {
        if (!IsWindow(edit_)) return rt::Status::Failed;
        rt::StrMove(text, windowText(edit_));
        return rt::Status::Ok;
    }
    rt::Status LetText(std::u16string_view text) override {
        if (!IsWindow(edit_)) return rt::Status::Failed;
        return SetWindowTextW(edit_, wide(text).c_str()) ? rt::Status::Ok : rt::Status::Failed;
    }

private:
    HWND edit_;
};

class Form1::LabelBinding final : public Counted<rt::Label> {
public:
    explicit LabelBinding(HWND label) : Counted("l1"), label_(label) {}

    rt::Status LetCaption(std::u16string_view caption) override {
        if (!IsWindow(label_)) return rt::Status::Failed;
        return SetWindowTextW(label_, wide(caption).c_str()) ? rt::Status::Ok : rt::Status::Failed;
    }

private:
    HWND label_;
};

Form1::Form1(HINSTANCE instance) : instance_(instance) {
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
    // The focus starts in the first control of the keyboard order.
    for (const std::size_t row : kTabOrder)
        if (GetWindowLongPtrW(controls_[row], GWL_STYLE) & WS_TABSTOP) {
            SetFocus(controls_[row]);
            break;
        }
}

rt::TextBox& Form1::textBox(commands::TextField field) { return *textBoxes_[static_cast<std::size_t>(field)]; }

rt::Label& Form1::l1() { return *l1_; }

HWND Form1::control(std::string_view name) const {
    const std::size_t row = rowOf(name);
    return row < controls_.size() ? controls_[row] : nullptr;
}

int Form1::heldReferences() const { return window::heldReferences(l1_, textBoxes_); }

bool Form1::preTranslate(MSG& message) {
    // A focused button is pressed with Enter as with Space, although neither
    // button is a default button that Enter would press from anywhere else.
    if (message.message == WM_KEYDOWN && message.wParam == VK_RETURN
        && (message.hwnd == control("Command1") || message.hwnd == control("Command2"))) {
        SendMessageW(message.hwnd, BM_CLICK, 0, 0);
        return true;
    }
    return IsDialogMessageW(hwnd_, &message);
}

// One switch that forwards each message to its handler; a C++ exception must
// never leave it for the system's code.
LRESULT CALLBACK Form1::windowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NCCREATE) {
        auto* form = static_cast<Form1*>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams);
        form->hwnd_ = hwnd;
        SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(form));
    }
    auto* form = reinterpret_cast<Form1*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
    if (!form) return DefWindowProcW(hwnd, message, wParam, lParam);
    try {
        return form->handle(message, wParam, lParam);
    } catch (...) {
        return DefWindowProcW(hwnd, message, wParam, lParam);
    }
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
    dpi_ = GetDpiForWindow(hwnd_);
    // The dialog manager's Tab follows the z-order, which is the order of
    // creation: the controls that take the focus come first, by tab index,
    // so that they also lie above the labels that overlap them; Frame1 lies
    // beneath everything it surrounds.
    const auto layer = [](std::size_t row) {
        const Kind kind = kControls[row].kind;
        return kind == Kind::Label ? 1 : kind == Kind::Frame ? 2 : 0;
    };
    std::array<std::size_t, kControls.size()> order = kTabOrder;
    std::stable_sort(order.begin(), order.end(),
                     [&layer](std::size_t a, std::size_t b) { return layer(a) < layer(b); });
    for (const std::size_t i : order) {
        const ControlRow& row = kControls[i];
        const Control kind = controlFor(row.kind);
        controls_[i] = CreateWindowExW(kind.exStyle, kind.className, wide(row.caption).c_str(),
                                       WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | kind.style, 0, 0, 0, 0, hwnd_,
                                       reinterpret_cast<HMENU>(static_cast<INT_PTR>(kFirstId + static_cast<int>(i))),
                                       instance_, nullptr);
        if (row.kind == Kind::TextBox) SetWindowSubclass(controls_[i], editProc, 1, 0);
    }
    for (std::size_t i = 0; i < commands::kTextFieldNames.size(); ++i) {
        const std::string_view name = commands::kTextFieldNames[i];
        textBoxes_[i] = std::make_unique<TextBoxBinding>(name, control(name));
    }
    l1_ = std::make_unique<LabelBinding>(control("l1"));
    layOut();
}

// Places the window and every control for the current DPI, and makes the
// fonts for it.
void Form1::layOut() {
    // The controls take the new fonts before the old ones are deleted.
    Font font = messageFont(dpi_), title = titleFont(dpi_);
    RECT frame{0, 0, toDevice(kClientWidth, dpi_), toDevice(kClientHeight, dpi_)};
    const auto style = static_cast<DWORD>(GetWindowLongPtrW(hwnd_, GWL_STYLE));
    const auto exStyle = static_cast<DWORD>(GetWindowLongPtrW(hwnd_, GWL_EXSTYLE));
    AdjustWindowRectExForDpi(&frame, style, FALSE, exStyle, dpi_);
    SetWindowPos(hwnd_, nullptr, 0, 0, frame.right - frame.left, frame.bottom - frame.top,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);

    const ControlRow& frame1 = kControls[rowOf("Frame1")];
    for (std::size_t i = 0; i < kControls.size(); ++i) {
        const ControlRow& row = kControls[i];
        // Frame1's controls are the window's children too, placed from Frame1's corner.
        const int left = row.left + (row.inFrame1 ? frame1.left : 0);
        const int top = row.top + (row.inFrame1 ? frame1.top : 0);
        SetWindowPos(controls_[i], nullptr, toDevice(left, dpi_), toDevice(top, dpi_), toDevice(row.width, dpi_),
                     toDevice(row.height, dpi_), SWP_NOZORDER | SWP_NOACTIVATE);
        const HFONT own = row.name == kTitleFont.control ? title.get() : font.get();
        SendMessageW(controls_[i], WM_SETFONT, reinterpret_cast<WPARAM>(own), FALSE);
    }
    font_ = std::move(font);
    titleFont_ = std::move(title);
    InvalidateRect(hwnd_, nullptr, TRUE);
}

void Form1::onPaint() {
    PAINTSTRUCT paint;
    const std::unique_ptr<std::remove_pointer_t<HDC>, PaintDeleter> dc(BeginPaint(hwnd_, &paint),
                                                                       PaintDeleter{hwnd_, &paint});
    // Thin and solid, in the default foreground colour.
    const std::unique_ptr<std::remove_pointer_t<HPEN>, PenDeleter> pen(
        CreatePen(PS_SOLID, 1, GetSysColor(COLOR_WINDOWTEXT)));
    const HGDIOBJ previous = SelectObject(dc.get(), pen.get());
    for (const LineRow& line : kLines) {
        MoveToEx(dc.get(), toDevice(line.x1, dpi_), toDevice(line.y1, dpi_), nullptr);
        LineTo(dc.get(), toDevice(line.x2, dpi_), toDevice(line.y2, dpi_));
    }
    SelectObject(dc.get(), previous);
}

// Labels and Frame1's caption on the window's own background, as in a dialog.
LRESULT Form1::onControlColour(HDC dc) {
    SetTextColor(dc, GetSysColor(COLOR_WINDOWTEXT));
    SetBkColor(dc, GetSysColor(COLOR_BTNFACE));
    return reinterpret_cast<LRESULT>(GetSysColorBrush(COLOR_BTNFACE));
}

void Form1::onCommand(int id, int code) {
    if (code != BN_CLICKED || id < kFirstId) return;
    const auto row = static_cast<std::size_t>(id - kFirstId);
    if (row >= kControls.size()) return;
    const std::string_view name = kControls[row].name;
    if (name == "Command1") dispatch(commands::Command1_Click, Command::Interpolate);
    else if (name == "Command2") dispatch(commands::Command2_Click, Command::Clear);
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

// A command's error is reported here, where the click arrives. The fields
// stay as the command left them. Afterwards the cursor goes to the field at
// fault, its text selected so that typing replaces it, or back to where it was.
void Form1::dispatch(void (*command)(commands::FormFields&), Command which) {
    const std::optional<Report> report = runCommand(command, which, *this);
    if (!report) return;
    const HWND focus = GetFocus();
    const std::wstring text = wide(report->message) + L"\n\n" + wide(report->unfinished);
    MessageBoxW(hwnd_, text.c_str(), wide(kTitle).c_str(), MB_OK | MB_ICONWARNING);
    const HWND edit = report->field ? control(commands::kTextFieldNames[static_cast<std::size_t>(*report->field)])
                                    : nullptr;
    if (edit && IsWindow(edit)) {
        SetFocus(edit);
        SendMessageW(edit, EM_SETSEL, 0, -1);
    } else if (focus && IsWindow(focus)) {
        SetFocus(focus);
    }
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
