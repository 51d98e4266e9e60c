// The calculator's only window on the Win32 API, built from the layout tables.
// The form (window/form.h) does what a click does; this skin makes the
// controls, lays them out for the DPI, draws the diagram, routes the button
// clicks and Enter to the form, and shows the form's texts and reports.
#pragma once

#include <windows.h>

#include <array>
#include <optional>
#include <string>
#include <string_view>

#include "window/form.h"
#include "window/layout.h"
#include "window/win32/fonts.h"

namespace window::win32 {

class Form1 final : private Skin {
public:
    // Creates the window, hidden; show() shows it with the focus in y1.
    // Numbers are read and written with `decimalSeparator`.
    Form1(HINSTANCE instance, char16_t decimalSeparator = u'.');
    ~Form1();
    Form1(const Form1&) = delete;
    Form1& operator=(const Form1&) = delete;

    void show(int showCommand = SW_SHOWNORMAL);

    HWND hwnd() const noexcept { return hwnd_; }
    // The control built from the layout row of that name, or null.
    HWND control(std::string_view name) const;
    // Control references the commands hold at this moment; 0 between clicks.
    int heldReferences() const { return form_.heldReferences(); }
    UINT dpi() const noexcept { return dpi_; }

    // The keyboard handling a message gets before it is dispatched: Tab and
    // Shift+Tab through the controls, Enter on a focused button. True when
    // the message was handled and must not be dispatched.
    bool preTranslate(MSG& message);

private:
    static LRESULT CALLBACK windowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);

    // What the form asks of the window; a MessageBox shows the report.
    void showReport(const Report& report) override;
    void focus(Row row, bool selectText) override;
    std::optional<Row> focusedRow() const override;
    bool setText(Row row, std::u16string_view text) override;
    std::optional<std::u16string> text(Row row) const override;

    LRESULT handle(UINT message, WPARAM wParam, LPARAM lParam);

    void onCreate();
    void onPaint();
    LRESULT onControlColour(HDC dc);
    void onCommand(int id, int code);
    void onActivate(bool active);
    void onDpiChanged(UINT dpi, const RECT& suggested);

    void layOut();
    void sizeClientArea(int width, int height);

    HINSTANCE instance_;
    HWND hwnd_ = nullptr;
    UINT dpi_ = USER_DEFAULT_SCREEN_DPI;
    HWND lastFocus_ = nullptr; // given back when the window is activated again
    std::array<HWND, kControls.size()> controls_{}; // in layout order, owned as children
    Font font_, titleFont_, fieldFont_;
    Form form_;
};

// Runs the message loop until the window is closed; returns the exit code.
int runMessageLoop(Form1& form);

// The window's class name, registered once.
inline constexpr wchar_t kClassName[] = L"linterp.Form1";

} // namespace window::win32
