// The form's behaviour, which every window shares, on a fake skin: what a
// click runs, where the focus goes after a failure, where it starts, and the
// layout facts the windows are built from.
#include <gtest/gtest.h>

#include <map>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

#include "runtime/text.h"
#include "window/form.h"
#include "window/layout.h"

namespace {

using window::Row;
using window::rowOf;

// Controls as rows of texts; records the focus and the reports shown.
class FakeSkin final : public window::Skin {
public:
    std::optional<std::u16string> text(Row row) const override {
        if (gone.count(row)) return std::nullopt;
        const auto found = texts.find(row);
        return found == texts.end() ? std::u16string() : found->second;
    }
    bool setText(Row row, std::u16string_view value) override {
        if (gone.count(row)) return false;
        texts[row] = value;
        return true;
    }
    std::optional<Row> focusedRow() const override { return focused; }
    void focus(Row row, bool selectText) override {
        focused = row;
        selected = selectText;
    }
    void showReport(const window::Report& report) override {
        reports.push_back(report);
        focused.reset(); // the box takes the focus while it is open
    }

    std::map<Row, std::u16string> texts;
    std::map<Row, bool> gone;
    std::optional<Row> focused;
    bool selected = false;
    std::vector<window::Report> reports;
};

struct ClickRow {
    const char* name;
    std::u16string x1, y1, x2, y2, x;
    const char* button;
    const char* focusBefore;
    // After the click:
    bool reported;
    const char* focusAfter;
    bool selected;
    std::u16string y, l1;
};
void PrintTo(const ClickRow& row, std::ostream* out) { *out << row.name; }

class Click : public testing::TestWithParam<ClickRow> {};

TEST_P(Click, RunsReportsAndPlacesTheFocus) {
    const ClickRow& row = GetParam();
    FakeSkin skin;
    window::Form form(skin, u'.');
    const std::u16string* inputs[] = {&row.x1, &row.y1, &row.x2, &row.y2, &row.x};
    const char* names[] = {"x1", "y1", "x2", "y2", "x"};
    for (int i = 0; i < 5; ++i) skin.texts[rowOf(names[i])] = *inputs[i];
    skin.texts[rowOf("y")] = u"7";
    skin.texts[window::kL1Row] = u"earlier";
    skin.focused = rowOf(row.focusBefore);
    const auto texts = rt::Str::live();

    form.click(rowOf(row.button));

    EXPECT_EQ(skin.reports.size(), row.reported ? 1u : 0u);
    EXPECT_EQ(skin.focused, rowOf(row.focusAfter));
    EXPECT_EQ(skin.selected, row.selected);
    EXPECT_EQ(skin.texts[rowOf("y")], row.y);
    EXPECT_EQ(skin.texts[window::kL1Row], row.l1);
    EXPECT_EQ(form.heldReferences(), 0);
    EXPECT_EQ(rt::Str::live(), texts);
}

INSTANTIATE_TEST_SUITE_P(Policy, Click, testing::Values(
    // Success leaves the focus on the button that was clicked.
    ClickRow{"computes", u"1", u"1", u"3", u"5", u"2", "Command1", "Command1", false, "Command1", false, u"3", u""},
    ClickRow{"equalTexts", u"1", u"1", u"1", u"5", u"2", "Command1", "Command1", false, "Command1", false, u"7",
             u"x1与x2相等，无法差值"},
    ClickRow{"clears", u"1", u"1", u"3", u"5", u"2", "Command2", "x", false, "x", false, u"", u""},
    // A bad text: its field takes the cursor with the text selected.
    ClickRow{"badY2", u"1", u"1", u"3", u"q", u"2", "Command1", "Command1", true, "y2", true, u"7", u"earlier"},
    ClickRow{"emptyX", u"1", u"1", u"3", u"5", u"", "Command1", "Command1", true, "x", true, u"7", u"earlier"},
    ClickRow{"sameNumber", u"1", u"1", u"1.0", u"5", u"2", "Command1", "Command1", true, "x2", true, u"7",
             u"earlier"},
    // No field at fault: the focus goes back where it was.
    ClickRow{"outOfRange", u"0", u"0", u"1", u"1", u"400", "Command1", "Command1", true, "Command1", false, u"7",
             u"earlier"},
    ClickRow{"outOfRangeFromY", u"0", u"0", u"1", u"1", u"400", "Command1", "y", true, "y", false, u"7",
             u"earlier"}),
    [](const auto& row) { return std::string(row.param.name); });

TEST(Form, AFieldThatIsGoneIsReportedAndTheFocusGoesBack) {
    FakeSkin skin;
    window::Form form(skin, u'.');
    skin.gone[rowOf("x1")] = true;
    skin.focused = rowOf("Command1");
    form.click(rowOf("Command1"));
    ASSERT_EQ(skin.reports.size(), 1u);
    EXPECT_EQ(skin.reports[0].message, u"无法读写控件 x1 的 Text 属性。");
    EXPECT_EQ(skin.focused, rowOf("Command1"));
    EXPECT_EQ(form.heldReferences(), 0);
}

TEST(Form, ClicksOnRowsThatAreNotButtonsRunNothing) {
    FakeSkin skin;
    window::Form form(skin, u'.');
    for (Row row = 0; row < window::kControls.size(); ++row)
        if (window::kControls[row].kind != window::Kind::CommandButton) form.click(row);
    EXPECT_TRUE(skin.texts.empty());
    EXPECT_TRUE(skin.reports.empty());
}

TEST(Form, OpensWithTheFocusInY1AndEnterPressesOnlyButtons) {
    FakeSkin skin;
    window::Form form(skin, u'.');
    form.opened();
    EXPECT_EQ(skin.focused, rowOf("y1"));
    EXPECT_FALSE(skin.selected);
    for (Row row = 0; row < window::kControls.size(); ++row)
        EXPECT_EQ(window::Form::enterPresses(row), window::kControls[row].kind == window::Kind::CommandButton)
            << window::kControls[row].name;
}

TEST(Form, WritesAndReadsWithTheUsersSeparator) {
    FakeSkin skin;
    window::Form form(skin, u',');
    const char* names[] = {"x1", "y1", "x2", "y2", "x"};
    const std::u16string inputs[] = {u"0", u"0", u"3", u"1", u"1"};
    for (int i = 0; i < 5; ++i) skin.texts[rowOf(names[i])] = inputs[i];
    form.click(rowOf("Command1"));
    EXPECT_EQ(skin.texts[rowOf("y")], u"0,33");
}

// The orders every window is built in.

std::vector<std::string_view> names(const auto& rows) {
    std::vector<std::string_view> out;
    for (const Row row : rows) out.push_back(window::kControls[row].name);
    return out;
}

TEST(Layout, KeyboardAndStackingOrders) {
    EXPECT_EQ(names(window::kTabOrder), (std::vector<std::string_view>{"y1", "x1", "x2", "y2", "x", "Command1", "y",
                                                                       "Command2"}));
    const auto stack = names(window::kStackOrder);
    // The focusable controls on top in keyboard order, Frame1 at the bottom.
    EXPECT_EQ(std::vector<std::string_view>(stack.begin(), stack.begin() + 8), names(window::kTabOrder));
    EXPECT_EQ(stack.back(), "Frame1");
}

TEST(Layout, EachFieldIsNamedByTheLabelBesideIt) {
    const std::map<std::string_view, std::string_view> expected = {
        {"x1", "Label3"}, {"y1", "Label4"}, {"x2", "Label5"}, {"y2", "Label6"}, {"x", "Label7"}, {"y", "Label8"}};
    for (const auto& [field, label] : expected)
        EXPECT_EQ(window::kControls[window::labelOf(rowOf(field))].name, label) << field;
}

} // namespace
