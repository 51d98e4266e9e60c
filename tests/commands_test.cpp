// The two commands on a fake form: results, the message, every error, the
// order of accesses, and that state and ownership survive each failure.
#include <gtest/gtest.h>

#include <functional>
#include <ostream>
#include <string>
#include <vector>

#include "commands/commands.h"
#include "fake_form.h"
#include "runtime/errors.h"
#include "runtime/number.h"

namespace {

// Names a table row's test after the row.
constexpr auto rowName = [](const auto& row) { return std::string(row.param.name); };

using commands::Command1_Click;
using commands::Command2_Click;
using commands::TextField;
using fake::FakeForm;

struct Inputs {
    std::u16string x1, y1, x2, y2, x;
};

void fill(FakeForm& form, const Inputs& in) { form.setInputs(in.x1, in.y1, in.x2, in.y2, in.x); }

// Runs a command and checks what must hold after any run: no control reference
// and no text left held.
template <class Command>
void run(Command command, FakeForm& form) {
    const auto texts = rt::Str::live();
    struct Check {
        FakeForm& form;
        std::ptrdiff_t texts;
        ~Check() {
            EXPECT_EQ(form.heldReferences(), 0);
            EXPECT_EQ(rt::Str::live(), texts);
        }
    } check{form, texts};
    command(form);
}

// Results.

struct ResultRow {
    const char* name;
    Inputs in;
    std::u16string y;
};
void PrintTo(const ResultRow& row, std::ostream* out) { *out << row.name; }

class Interpolate : public testing::TestWithParam<ResultRow> {};

TEST_P(Interpolate, WritesRoundedResultAndEmptiesMessage) {
    FakeForm form;
    fill(form, GetParam().in);
    form.set(TextField::y, u"typed by the user");
    form.setCaption(std::u16string(commands::kEqualAbscissas));
    run(Command1_Click, form);
    EXPECT_EQ(form.text(TextField::y), GetParam().y);
    EXPECT_EQ(form.caption(), u"");
}

INSTANTIATE_TEST_SUITE_P(Examples, Interpolate, testing::Values(
    ResultRow{"between", {u"1", u"1", u"3", u"5", u"2"}, u"3"},
    ResultRow{"extrapolatesBeyond", {u"0", u"0", u"1", u"1", u"5"}, u"5"},
    ResultRow{"extrapolatesBefore", {u"1", u"1", u"3", u"5", u"-1"}, u"-3"},
    ResultRow{"third", {u"0", u"0", u"3", u"1", u"1"}, u"0.33"},
    ResultRow{"twoThirds", {u"0", u"0", u"3", u"2", u"1"}, u"0.67"},
    ResultRow{"tieToEvenDown", {u"0", u"0", u"8", u"1", u"1"}, u"0.12"},
    ResultRow{"tieToEvenUp", {u"0", u"0", u"8", u"3", u"1"}, u"0.38"},
    ResultRow{"negativeTieToEven", {u"0", u"0", u"8", u"-1", u"1"}, u"-0.12"},
    ResultRow{"top", {u"0", u"0", u"1", u"1", u"327.67"}, u"327.67"},
    ResultRow{"belowTopTie", {u"0", u"0", u"1", u"1", u"327.674"}, u"327.67"},
    ResultRow{"bottom", {u"0", u"0", u"1", u"1", u"-327.68"}, u"-327.68"},
    ResultRow{"bottomTieToEven", {u"0", u"0", u"1", u"1", u"-327.685"}, u"-327.68"},
    ResultRow{"negativeRoundsToZero", {u"0", u"0", u"100", u"-0.4", u"1"}, u"0"},
    ResultRow{"atFirstPoint", {u"2", u"7.5", u"4", u"0", u"2"}, u"7.5"},
    ResultRow{"decreasingLine", {u"0", u"10", u"10", u"0", u"2.5"}, u"7.5"},
    ResultRow{"pastedAndFullWidth", {u" 0\t", u"０", u"１", u"１", u"０．５\n"}, u"0.5"},
    ResultRow{"chineseStopAndMinusSign", {u"1", u"1", u"3", u"\u22123", u"２。５"}, u"-2"},
    ResultRow{"exponents", {u"0", u"0", u"1e3", u"1e1", u"5e2"}, u"5"},
    // Inputs far beyond the shown range whose result is back inside it.
    ResultRow{"hugeInputs", {u"1e300", u"1", u"-1e300", u"3", u"0"}, u"2"}),
    rowName);

// Identical abscissa texts.

TEST(Interpolate, IdenticalAbscissaTextsShowTheMessageAndKeepY) {
    for (const Inputs& in : {Inputs{}, Inputs{u"2", u"not a number", u"2", u"", u"?"}}) {
        FakeForm form;
        fill(form, in);
        form.set(TextField::y, u"3");
        run(Command1_Click, form);
        EXPECT_EQ(form.caption(), u"x1与x2相等，无法差值");
        EXPECT_EQ(form.text(TextField::y), u"3");
    }
}

TEST(Interpolate, ReadsFiveFieldsThenWritesYThenMessage) {
    FakeForm form;
    fill(form, {u"1", u"1", u"3", u"5", u"2"});
    run(Command1_Click, form);
    EXPECT_EQ(form.log, (std::vector<std::string>{"read x1", "read x2", "read x", "read y1",
                                                  "read y2", "write y", "caption l1"}));
    form.log.clear();
    form.set(TextField::x2, u"1");
    run(Command1_Click, form);
    EXPECT_EQ(form.log, (std::vector<std::string>{"read x1", "read x2", "read x", "read y1",
                                                  "read y2", "caption l1"}));
}

// Errors: each leaves y and l1 exactly as they were.

struct ErrorRow {
    const char* name;
    Inputs in;
    rt::ErrorKind kind;
    std::function<void(const rt::Error&)> detail = [](const rt::Error&) {};
};
void PrintTo(const ErrorRow& row, std::ostream* out) { *out << row.name; }

// The text that failed to convert, and the field it was read from.
auto mismatchOn(std::u16string text, std::string field) {
    return [text, field](const rt::Error& error) {
        EXPECT_EQ(dynamic_cast<const rt::TypeMismatch&>(error).text(), text);
        EXPECT_EQ(dynamic_cast<const rt::TypeMismatch&>(error).control(), field);
    };
}

auto fault(rt::FpFault expected) {
    return [expected](const rt::Error& error) {
        EXPECT_EQ(dynamic_cast<const rt::FloatingPointError&>(error).fault(), expected);
    };
}

class InterpolateFails : public testing::TestWithParam<ErrorRow> {};

TEST_P(InterpolateFails, WithTheErrorAndNothingWritten) {
    FakeForm form;
    fill(form, GetParam().in);
    form.set(TextField::y, u"1.5");
    form.setCaption(u"earlier");
    try {
        run(Command1_Click, form);
        FAIL() << "no error";
    } catch (const rt::Error& error) {
        EXPECT_EQ(error.kind(), GetParam().kind) << error.what();
        GetParam().detail(error);
    }
    EXPECT_EQ(form.text(TextField::y), u"1.5");
    EXPECT_EQ(form.caption(), u"earlier");
}

INSTANTIATE_TEST_SUITE_P(Cases, InterpolateFails, testing::Values(
    ErrorRow{"sameNumberOtherText", {u"1", u"1", u"1.0", u"2", u"3"},
             rt::ErrorKind::FloatingPoint, fault(rt::FpFault::DivisionByZero)},
    ErrorRow{"sameNumberZeroProduct", {u"1", u"2", u"01", u"2", u"3"},
             rt::ErrorKind::FloatingPoint, fault(rt::FpFault::DivisionByZero)},
    ErrorRow{"emptyY1", {u"1", u"", u"2", u"2", u"3"}, rt::ErrorKind::TypeMismatch,
             mismatchOn(u"", "y1")},
    // The first text converted that is not a number is the one reported:
    // y1, y2, x, x1, x2.
    ErrorRow{"orderY1First", {u"a", u"b", u"c", u"d", u"e"}, rt::ErrorKind::TypeMismatch,
             mismatchOn(u"b", "y1")},
    ErrorRow{"orderY2", {u"a", u"1", u"c", u"d", u"e"}, rt::ErrorKind::TypeMismatch,
             mismatchOn(u"d", "y2")},
    ErrorRow{"orderX", {u"a", u"1", u"c", u"1", u"e"}, rt::ErrorKind::TypeMismatch,
             mismatchOn(u"e", "x")},
    ErrorRow{"orderX1", {u"a", u"1", u"c", u"1", u"1"}, rt::ErrorKind::TypeMismatch,
             mismatchOn(u"a", "x1")},
    ErrorRow{"orderX2", {u"1", u"1", u"c", u"1", u"1"}, rt::ErrorKind::TypeMismatch,
             mismatchOn(u"c", "x2")},
    ErrorRow{"topTieOverflows", {u"0", u"0", u"1", u"1", u"327.675"}, rt::ErrorKind::Overflow},
    ErrorRow{"belowBottom", {u"0", u"0", u"1", u"1", u"-327.686"}, rt::ErrorKind::Overflow},
    ErrorRow{"farAbove", {u"0", u"0", u"1", u"1", u"400"}, rt::ErrorKind::Overflow},
    ErrorRow{"dyOverflows", {u"0", u"1.5e308", u"1", u"-1.5e308", u"1"},
             rt::ErrorKind::FloatingPoint, fault(rt::FpFault::Overflow)},
    ErrorRow{"productOverflows", {u"0", u"1e200", u"1", u"0", u"1e200"},
             rt::ErrorKind::FloatingPoint, fault(rt::FpFault::Overflow)},
    // x1 and x2 are the same number in other texts: without the product's
    // own check this would be reported as a division by zero.
    ErrorRow{"productOverflowsBeforeAZeroDivisor", {u"1.7e308", u"1", u"17e307", u"0", u"-1.7e308"},
             rt::ErrorKind::FloatingPoint, fault(rt::FpFault::Overflow)},
    ErrorRow{"quotientOverflows", {u"0", u"1e300", u"1e-300", u"0", u"1"},
             rt::ErrorKind::FloatingPoint, fault(rt::FpFault::Overflow)},
    ErrorRow{"differenceOverflowsTimesZero", {u"-1.5e308", u"1", u"1", u"1", u"1.5e308"},
             rt::ErrorKind::FloatingPoint, fault(rt::FpFault::InvalidOperation)},
    ErrorRow{"sumOverflowsIsOutOfRange", {u"0", u"1.5e308", u"-1", u"0", u"1"},
             rt::ErrorKind::Overflow},
    ErrorRow{"numberBeyondDouble", {u"0", u"1e999", u"1", u"0", u"1"}, rt::ErrorKind::Overflow,
             [](const rt::Error& error) { EXPECT_EQ(dynamic_cast<const rt::Overflow&>(error).control(), "y1"); }}),
    rowName);

// A failing property access at each step: the run ends there, nothing later is
// written, and everything taken is released.
TEST(Interpolate, FailingAccessAtEachStep) {
    for (std::size_t step = 0; step < 7; ++step) {
        SCOPED_TRACE(step);
        FakeForm form;
        fill(form, {u"1", u"1", u"3", u"5", u"2"});
        form.set(TextField::y, u"old");
        form.setCaption(u"earlier");
        form.failAccess = step;
        EXPECT_THROW(run(Command1_Click, form), rt::PropertyError);
        // Only a failure at the last step (the message) comes after y is written.
        EXPECT_EQ(form.text(TextField::y), step == 6 ? u"3" : u"old");
        EXPECT_EQ(form.caption(), u"earlier");
    }
}

// The user's decimal separator.

TEST(CommaLocale, ReadsAndWritesWithComma) {
    FakeForm form;
    form.separator = u',';
    fill(form, {u"0", u"0", u"3", u"1", u"1"});
    run(Command1_Click, form);
    EXPECT_EQ(form.text(TextField::y), u"0,33");
    fill(form, {u"0", u"0", u"1", u"1", u"0,5"});
    run(Command1_Click, form);
    EXPECT_EQ(form.text(TextField::y), u"0,5");
    fill(form, {u"0", u"0", u"1", u"1", u"0.5"});
    EXPECT_THROW(run(Command1_Click, form), rt::TypeMismatch);
}

// A sequence of runs as a user makes them.

TEST(Interpolate, MessageThenResultClearsTheMessage) {
    FakeForm form;
    fill(form, {u"1", u"1", u"3", u"5", u"2"});
    run(Command1_Click, form);
    form.set(TextField::x2, u"1");
    run(Command1_Click, form);
    EXPECT_EQ(form.text(TextField::y), u"3"); // the earlier result stays
    EXPECT_EQ(form.caption(), commands::kEqualAbscissas);
    form.set(TextField::x2, u"3");
    run(Command1_Click, form);
    EXPECT_EQ(form.caption(), u"");
}

// Clear.

TEST(Clear, EmptiesEveryFieldAndTheMessageInOrder) {
    FakeForm form;
    fill(form, {u"1", u"1", u"3", u"5", u"2"});
    form.set(TextField::y, u"3");
    form.setCaption(std::u16string(commands::kEqualAbscissas));
    run(Command2_Click, form);
    for (const auto field : {TextField::x1, TextField::y1, TextField::x2, TextField::y2,
                             TextField::x, TextField::y})
        EXPECT_EQ(form.text(field), u"");
    EXPECT_EQ(form.caption(), u"");
    EXPECT_EQ(form.log, (std::vector<std::string>{"write x1", "write x2", "write x", "write y1",
                                                  "write y2", "write y", "caption l1"}));
}

TEST(Clear, FailingWriteKeepsTheLaterFields) {
    const std::vector<TextField> order = {TextField::x1, TextField::x2, TextField::x,
                                          TextField::y1, TextField::y2, TextField::y};
    for (std::size_t step = 0; step <= order.size(); ++step) {
        SCOPED_TRACE(step);
        FakeForm form;
        for (const auto field : order) form.set(field, u"9");
        form.setCaption(u"message");
        form.failAccess = step;
        EXPECT_THROW(run(Command2_Click, form), rt::PropertyError);
        for (std::size_t i = 0; i < order.size(); ++i)
            EXPECT_EQ(form.text(order[i]), i < step ? u"" : u"9") << i;
        EXPECT_EQ(form.caption(), u"message");
    }
}

} // namespace
