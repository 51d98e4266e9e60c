// How a layout row becomes a Win32 control: its class and styles, the
// z-order the controls are created in, and the labels cut back to where they
// do not cover their fields.
#pragma once

#include <windows.h>

#include <array>
#include <string>
#include <string_view>

#include "window/layout.h"

namespace window::win32 {

// A text as the controls take it: wchar_t is UTF-16 on Windows, so the
// layout's and the form's texts pass as they are, unit for unit.
inline std::wstring wide(std::u16string_view text) { return {text.begin(), text.end()}; }

struct Control {
    const wchar_t* className;
    DWORD style;
    DWORD exStyle;
};
Control controlFor(Kind kind);

// The z-order, top first: kStackOrder, except that each field's label lies
// just above its field. A screen reader names a field after the label just
// before it in z-order; the label's window is cut back to where it does not
// cover the field (clipLabel), so it hides nothing.
inline constexpr std::array<Row, kControls.size()> kZOrder = [] {
    std::array<Row, kControls.size()> order{};
    std::size_t next = 0;
    for (const Row row : kStackOrder) {
        if (fieldNamedBy(row) < kControls.size()) continue;
        if (kControls[row].kind == Kind::TextBox) order[next++] = labelOf(row);
        order[next++] = row;
    }
    return order;
}();

// A label's window, less the part of its box that `field` covers.
void clipLabel(HWND label, HWND field);

// Ctrl+A selects the whole text, which the single-line edit control of older
// Windows and of Wine ignores, and a paste's line breaks become spaces
// (Form::oneLine); installed on every text field.
LRESULT CALLBACK editProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR, DWORD_PTR);

} // namespace window::win32
