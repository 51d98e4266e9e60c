// The calculator's only window on the Win32 API, built from the layout tables.
// It binds the form fields the commands see to its controls, routes the two
// button clicks to the commands, and reports a command's error in a message box.
#pragma once

#include <windows.h>

#include <array>
#include <memory>
#include <string>
#include <string_view>
#include <type_traits>

#include "commands/form_fields.h"
#include "window/layout.h"
#include "window/report.h"

namespace window::win32 {

struct FontDeleter {
    void operator()(HFONT font) const noexcept { DeleteObject(font); }
};
using Font = std::unique_ptr<std::remove_pointer_t<HFONT>, FontDeleter>;

// Twips to device pixels at `dpi` dots per inch: 15 twips a pixel at 96.
inline int toDevice(int twips, UINT dpi) { return MulDiv(twips, static_cast<int>(dpi), 1440); }

class Form1 final : public commands::FormFields {
public:
    // Creates the window, hidden; show() shows it with the focus in y1.
    explicit Form1(HINSTANCE instance);
    ~Form1();
    Form1(const Form1&) = delete;
    Form1& operator=(const Form1&) = delete;

    void show(int showCommand = SW_SHOWNORMAL);

    rt::TextBox& textBox(commands::TextField field) override;
    rt::Label& l1() override;

    HWND hwnd() const noexcept { return hwnd_; }
    // The control built from the layout row of that name, or null.
    HWND control(std::string_view name) const;
    // Control references the commands hold at this moment; 0 between clicks.
    int heldReferences() const;
    UINT dpi() const noexcept { return dpi_; }

    // The keyboard handling a message gets before it is dispatched: Tab and
    // Shift+Tab through the controls, Enter on a focused button. True when
    // the message was handled and must not be dispatched.
    bool preTranslate(MSG& message);

private:
    class TextBoxBinding;
    class LabelBinding;

    static LRESULT CALLBACK windowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT handle(UINT message, WPARAM wParam, LPARAM lParam);

    void onCreate();
    void onPaint();
    LRESULT onControlColour(HDC dc);
    void onCommand(int id, int code);
    void onActivate(bool active);
    void onDpiChanged(UINT dpi, const RECT& suggested);

    void layOut();
    void dispatch(void (*command)(commands::FormFields&), Command which);

    HINSTANCE instance_;
    HWND hwnd_ = nullptr;
    UINT dpi_ = USER_DEFAULT_SCREEN_DPI;
    HWND lastFocus_ = nullptr; // given back when the window is activated again
    std::array<HWND, kControls.size()> controls_{}; // in layout order, owned as children
    Font font_, titleFont_;
    std::array<std::unique_ptr<TextBoxBinding>, 6> textBoxes_;
    std::unique_ptr<LabelBinding> l1_;
};

// Runs the message loop until the window is closed; returns the exit code.
int runMessageLoop(Form1& form);

// The window's class name, registered once.
inline constexpr wchar_t kClassName[] = L"linterp.Form1";

} // namespace window::win32
