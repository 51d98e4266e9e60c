// The failing clicks every window suite makes: the inputs, and where the
// cursor must be once the report box is closed. The wording of each report
// is report_test's; a window suite checks that its box shows the report the
// form computes for the same inputs (expectedReport), not the words.
#pragma once

#include <array>
#include <ostream>
#include <string>
#include <string_view>

#include "commands/commands.h"
#include "fake_form.h"
#include "window/form.h"
#include "window/report.h"

namespace failing {

struct Click {
    const char* name;
    std::array<const char*, 5> inputs; // x1, y1, x2, y2, x
    const char* focus;                 // a field, its text selected, or the button
};
inline void PrintTo(const Click& row, std::ostream* out) { *out << row.name; }

inline constexpr Click kClicks[] = {
    {"x1Empty", {"", "1", "3", "5", "2"}, "x1"},
    {"y1Empty", {"1", "", "3", "5", "2"}, "y1"},
    {"x2Empty", {"1", "1", "", "5", "2"}, "x2"},
    {"y2Empty", {"1", "1", "3", "", "2"}, "y2"},
    {"xEmpty", {"1", "1", "3", "5", ""}, "x"},
    {"x1NotANumber", {"1,5q", "1", "3", "5", "2"}, "x1"},
    {"y1NotANumber", {"1", "1,5q", "3", "5", "2"}, "y1"},
    {"x2NotANumber", {"1", "1", "1,5q", "5", "2"}, "x2"},
    {"y2NotANumber", {"1", "1", "3", "1,5q", "2"}, "y2"},
    {"xNotANumber", {"1", "1", "3", "5", "1,5q"}, "x"},
    {"otherSeparator", {"0", "0", "1", "1", "2,5"}, "x"},
    {"beyondDouble", {"0", "0", "1", "1", "1e999"}, "x"},
    {"sameNumber", {"1", "1", "1.0", "2", "3"}, "x2"},
    {"outOfRange", {"0", "0", "1", "1", "400"}, "Command1"},
    {"valueLeavesRange", {"0", "1.5e308", "1", "-1.5e308", "1"}, "Command1"},
};

// 差 值 as the windows run it.
inline constexpr const window::ButtonRow& kInterpolate = window::kButtons[0];
static_assert(kInterpolate.command == window::Command::Interpolate);

// The report the form makes for the row's inputs, with `separator`.
inline window::Report expectedReport(const Click& row, char16_t separator = u'.') {
    fake::FakeForm form;
    form.separator = separator;
    const auto in = [&row](std::size_t i) {
        const std::string_view text = row.inputs[i];
        return std::u16string(text.begin(), text.end());
    };
    form.setInputs(in(0), in(1), in(2), in(3), in(4));
    return window::runCommand(kInterpolate, form)
        .value_or(window::Report{u"(the click did not fail)", {}, std::nullopt});
}

} // namespace failing
