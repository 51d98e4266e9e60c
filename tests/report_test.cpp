// What a failed click tells the user and which field it points at, computed
// from the real command's error on a fake form: the texts both windows show.
#include <gtest/gtest.h>

#include <optional>
#include <ostream>
#include <stdexcept>
#include <string>

#include "commands/commands.h"
#include "failing_clicks.h"
#include "fake_form.h"
#include "runtime/errors.h"
#include "window/form.h"
#include "window/report.h"

namespace {

using commands::TextField;
using fake::FakeForm;

struct FailureRow {
    const char* name;
    std::u16string x1, y1, x2, y2, x;
    std::optional<TextField> field;
    std::u16string message;
};
void PrintTo(const FailureRow& row, std::ostream* out) { *out << row.name; }

// The report for the interpolation's failure on `form`, as the windows get
// it; none if it did not fail.
std::optional<window::Report> failedInterpolation(FakeForm& form) {
    return window::runCommand(failing::kInterpolate, form);
}

class Report : public testing::TestWithParam<FailureRow> {};

TEST_P(Report, NamesTheFieldAtFault) {
    const FailureRow& row = GetParam();
    FakeForm form;
    form.setInputs(row.x1, row.y1, row.x2, row.y2, row.x);
    const std::optional<window::Report> report = failedInterpolation(form);
    ASSERT_TRUE(report) << "the click did not fail";
    EXPECT_EQ(report->field, row.field);
    EXPECT_EQ(report->message, row.message);
    EXPECT_EQ(report->unfinished, u"没有计算出新的结果；y 中若有数值，仍是之前的结果。");
    EXPECT_EQ(form.heldReferences(), 0);
}

constexpr auto x1 = TextField::x1, y1 = TextField::y1, x2 = TextField::x2, y2 = TextField::y2,
               x = TextField::x;

INSTANTIATE_TEST_SUITE_P(Failures, Report, testing::Values(
    // Each field empty.
    FailureRow{"x1Empty", u"", u"1", u"3", u"5", u"2", x1, u"x1 是空的：请填入一个数。"},
    FailureRow{"y1Empty", u"1", u"", u"3", u"5", u"2", y1, u"y1 是空的：请填入一个数。"},
    FailureRow{"x2Empty", u"1", u"1", u"", u"5", u"2", x2, u"x2 是空的：请填入一个数。"},
    FailureRow{"y2Empty", u"1", u"1", u"3", u"", u"2", y2, u"y2 是空的：请填入一个数。"},
    FailureRow{"xEmpty", u"1", u"1", u"3", u"5", u"", x, u"x 是空的：请填入一个数。"},
    // Each field not a number.
    FailureRow{"x1NotANumber", u"1,5q", u"1", u"3", u"5", u"2", x1, u"x1 中的“1,5q”不是一个数：请改正后再试。"},
    FailureRow{"y1NotANumber", u"1", u"1,5q", u"3", u"5", u"2", y1, u"y1 中的“1,5q”不是一个数：请改正后再试。"},
    FailureRow{"x2NotANumber", u"1", u"1", u"1,5q", u"5", u"2", x2, u"x2 中的“1,5q”不是一个数：请改正后再试。"},
    FailureRow{"y2NotANumber", u"1", u"1", u"3", u"1,5q", u"2", y2, u"y2 中的“1,5q”不是一个数：请改正后再试。"},
    FailureRow{"xNotANumber", u"1", u"1", u"3", u"5", u"1,5q", x, u"x 中的“1,5q”不是一个数：请改正后再试。"},
    // The same bad text in two fields: the one converted first is named.
    FailureRow{"sameTextInXAndY2", u"1", u"1", u"3", u"a", u"a", y2, u"y2 中的“a”不是一个数：请改正后再试。"},
    FailureRow{"sameTextInX1AndX", u"a", u"1", u"3", u"5", u"a", x, u"x 中的“a”不是一个数：请改正后再试。"},
    FailureRow{"emptyX2AndY1", u"1", u"", u"", u"5", u"2", y1, u"y1 是空的：请填入一个数。"},
    // Different bad texts: the first in conversion order ends the run.
    FailureRow{"x1BeforeX2", u"a", u"1", u"b", u"5", u"2", x1, u"x1 中的“a”不是一个数：请改正后再试。"},
    // A number beyond the range of a double, in each field.
    FailureRow{"x1BeyondDouble", u"1e999", u"1", u"3", u"5", u"2", x1,
               u"x1 中的“1e999”超出了计算机能表示的数的范围：请输入小一些的数。"},
    FailureRow{"y1BeyondDouble", u"1", u"-1e999", u"3", u"5", u"2", y1,
               u"y1 中的“-1e999”超出了计算机能表示的数的范围：请输入小一些的数。"},
    FailureRow{"x2BeyondDouble", u"1", u"1", u"1e400", u"5", u"2", x2,
               u"x2 中的“1e400”超出了计算机能表示的数的范围：请输入小一些的数。"},
    FailureRow{"y2BeyondDouble", u"1", u"1", u"3", u"1e400", u"2", y2,
               u"y2 中的“1e400”超出了计算机能表示的数的范围：请输入小一些的数。"},
    FailureRow{"xBeyondDouble", u"1", u"1", u"3", u"5", u"1e999", x,
               u"x 中的“1e999”超出了计算机能表示的数的范围：请输入小一些的数。"},
    // Failures that are not in one text.
    FailureRow{"sameNumberTypedDifferently", u"1", u"1", u"1.0", u"5", u"2", x2,
               u"x1 与 x2 写法不同，却是同一个数，无法差值：请输入两个不同的 x 值。"},
    FailureRow{"resultOutOfRange", u"0", u"0", u"1", u"1", u"400", std::nullopt,
               u"结果超出了能显示的范围：只能显示 -327.68 到 327.67 之间的结果。"},
    FailureRow{"valueLeavesDouble", u"0", u"1.5e308", u"1", u"-1.5e308", u"1", std::nullopt,
               u"计算中的数值超出了计算机能表示的范围：请输入小一些的数。"}),
    [](const auto& row) { return std::string(row.param.name); });

TEST(Report, APropertyErrorNamesTheControlAndNoField) {
    FakeForm form;
    form.failAccess = 0; // the first read, of x1
    std::optional<window::Report> report;
    try {
        commands::Command2_Click(form);
    } catch (const rt::Error& error) {
        form.failAccess.reset();
        report = window::reportFailure(error, window::Command::Clear, form.decimalSeparator());
    }
    ASSERT_TRUE(report);
    EXPECT_EQ(report->field, std::nullopt);
    EXPECT_EQ(report->message, u"无法读写控件 x1 的 Text 属性。");
    EXPECT_EQ(report->unfinished, u"没有清除全部内容。");
}

// An error of no runtime kind (out of memory, say) is reported, never let out
// into the toolkit's event loop.
TEST(Report, AnErrorOfNoRuntimeKindIsAnInternalError) {
    FakeForm form;
    const window::ButtonRow failing{
        "Command1", [](commands::FormFields&) { throw std::runtime_error("no memory left"); },
        window::Command::Interpolate};
    const std::optional<window::Report> report = window::runCommand(failing, form);
    ASSERT_TRUE(report);
    EXPECT_EQ(report->message, u"内部错误：no memory left");
    EXPECT_EQ(report->unfinished, u"没有计算出新的结果；y 中若有数值，仍是之前的结果。");
    EXPECT_EQ(report->field, std::nullopt);
}

// The commands convert only fields' texts; a conversion that names no field is
// a fault of the program, said as one, not a message about the user's input.
TEST(Report, AConversionOfNoFieldIsAnInternalError) {
    for (const char* control : {"", "l1"}) {
        const window::Report report =
            window::reportFailure(rt::TypeMismatch(u"abc", control), window::Command::Interpolate, u'.');
        EXPECT_EQ(report.message, u"内部错误：a text of no field: type mismatch") << control;
        EXPECT_EQ(report.field, std::nullopt);
    }
}

// A text that reads as a number with the other decimal separator.
struct SeparatorRow {
    const char* name;
    char16_t separator;
    std::u16string text;
    std::u16string message;
};
void PrintTo(const SeparatorRow& row, std::ostream* out) { *out << row.name; }

class Separator : public testing::TestWithParam<SeparatorRow> {};

TEST_P(Separator, IsNamedWhenTheOtherOneWasTyped) {
    const SeparatorRow& row = GetParam();
    FakeForm form;
    form.separator = row.separator;
    form.setInputs(u"0", u"0", u"1", u"1", row.text);
    const std::optional<window::Report> report = failedInterpolation(form);
    ASSERT_TRUE(report);
    EXPECT_EQ(report->message, row.message);
    EXPECT_EQ(report->field, TextField::x);
}

INSTANTIATE_TEST_SUITE_P(Locales, Separator, testing::Values(
    SeparatorRow{"pointUnderComma", u',', u"2.5", u"x 中的“2.5”不是一个数：请改正后再试。\n本机的小数点是“,”。"},
    SeparatorRow{"commaUnderPoint", u'.', u"2,5", u"x 中的“2,5”不是一个数：请改正后再试。\n本机的小数点是“.”。"},
    SeparatorRow{"fullWidthCommaUnderPoint", u'.', u"２，５",
                 u"x 中的“２，５”不是一个数：请改正后再试。\n本机的小数点是“.”。"},
    SeparatorRow{"notANumberEither", u',', u"2.5q", u"x 中的“2.5q”不是一个数：请改正后再试。"},
    SeparatorRow{"groupingIsNoHint", u'.', u"1,000,000", u"x 中的“1,000,000”不是一个数：请改正后再试。"}),
    [](const auto& row) { return std::string(row.param.name); });

// A conversion of a text that was not read from a field points at none.
TEST(Report, QuotesATypedTextWholeOrItsStart) {
    EXPECT_EQ(window::quote(u"abc"), u"“abc”");
    EXPECT_EQ(window::quote(u""), u"“”");
    // A long paste is cut after 40 code units, never inside a surrogate pair.
    const std::u16string forty(40, u'1');
    EXPECT_EQ(window::quote(forty), u"“" + forty + u"”");
    EXPECT_EQ(window::quote(forty + u"2"), u"“" + forty + u"…”");
    const std::u16string pairAtTheCut = std::u16string(39, u'1') + u"\U0001F600" + u"tail";
    EXPECT_EQ(window::quote(pairAtTheCut), u"“" + std::u16string(39, u'1') + u"…”");
}

} // namespace
