// The runtime operations: number reading and writing, the 16-bit rounding,
// the floating-point checks, text and reference ownership, and the errors.
#include <gtest/gtest.h>

#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <cstdio>
#include <limits>
#include <optional>
#include <ostream>
#include <random>
#include <string>
#include <vector>

#ifdef __EMSCRIPTEN__
#include <emscripten/emscripten.h>
#endif

#include "hundredths.h"
#include "runtime/errors.h"
#include "runtime/number.h"
#include "runtime/object.h"
#include "runtime/text.h"

namespace {

// Names a table row's test after the row.
constexpr auto rowName = [](const auto& row) { return std::string(row.param.name); };

std::string hex(double value) {
    char buffer[64];
    std::snprintf(buffer, sizeof buffer, "%a", value);
    return buffer;
}

// Reading numbers.

struct ParseRow {
    const char* name;
    std::u16string text;
    double expected;
};
void PrintTo(const ParseRow& row, std::ostream* out) { *out << row.name; }

class ParseAccepts : public testing::TestWithParam<ParseRow> {};

TEST_P(ParseAccepts, ReadsTheExactDouble) {
    const ParseRow& row = GetParam();
    const double value = rt::R8Str(row.text, u'.');
    EXPECT_EQ(hex(value), hex(row.expected));
    EXPECT_EQ(std::signbit(value), std::signbit(row.expected));
}

INSTANTIATE_TEST_SUITE_P(Forms, ParseAccepts, testing::Values(
    ParseRow{"integer", u"12", 12.0},
    ParseRow{"plusSign", u"+12", 12.0},
    ParseRow{"negative", u"-0.05", -0.05},
    ParseRow{"negativeZero", u"-0", -0.0},
    ParseRow{"leadingZeros", u"007", 7.0},
    ParseRow{"noIntegerPart", u".5", 0.5},
    ParseRow{"noFraction", u"5.", 5.0},
    ParseRow{"exponent", u"1.5e3", 1500.0},
    ParseRow{"exponentUpperSigned", u"25E-2", 0.25},
    ParseRow{"exponentPlus", u"1e+2", 100.0},
    ParseRow{"pastedWithSpace", u" \t327.67\r\n", 327.67},
    ParseRow{"ideographicSpace", u"\u30001\u3000", 1.0},
    ParseRow{"fullWidth", u"１２．５", 12.5},
    ParseRow{"fullWidthMinus", u"－３", -3.0},
    ParseRow{"fullWidthExponent", u"１ｅ２", 100.0},
    ParseRow{"ideographicStop", u"１。５", 1.5},
    ParseRow{"ideographicStopAscii", u"-0。25", -0.25},
    ParseRow{"minusSign", u"\u22121.5", -1.5},
    ParseRow{"minusSignInExponent", u"25e\u22122", 0.25},
    ParseRow{"correctlyRoundedTie", u"9007199254740993", 9007199254740992.0},
    ParseRow{"smallestNormal", u"2.2250738585072014e-308", std::numeric_limits<double>::min()},
    ParseRow{"subnormal", u"4.9406564584124654e-324", std::numeric_limits<double>::denorm_min()},
    ParseRow{"underflowsToZero", u"1e-400", 0.0},
    ParseRow{"underflowsToNegativeZero", u"-0.0000001e-330", -0.0},
    ParseRow{"largest", u"1.7976931348623157e308", std::numeric_limits<double>::max()},
    // The edges of the range, where versions of the number reader differ in
    // how they say a value is out of range: just short of the point where the
    // largest double rounds up to infinity, and either side of half the
    // smallest subnormal, with and without an exponent, with either sign.
    ParseRow{"roundsDownToLargest", u"1.7976931348623158e308", std::numeric_limits<double>::max()},
    ParseRow{"roundsDownToNegativeLargest", u"-1.7976931348623158e308", -std::numeric_limits<double>::max()},
    ParseRow{"roundsDownToLargestWithoutExponent", u"17976931348623158" + std::u16string(292, u'0'),
             std::numeric_limits<double>::max()},
    ParseRow{"roundsUpToSubnormal", u"2.5e-324", std::numeric_limits<double>::denorm_min()},
    ParseRow{"roundsUpToNegativeSubnormal", u"-2.5e-324", -std::numeric_limits<double>::denorm_min()},
    ParseRow{"belowHalfTheSubnormalIsZero", u"2.47e-324", 0.0},
    ParseRow{"belowHalfTheSubnormalIsNegativeZero", u"-2.47e-324", -0.0},
    ParseRow{"belowHalfTheSubnormalWithoutExponent", u"0." + std::u16string(323, u'0') + u"247", 0.0},
    ParseRow{"belowHalfTheSubnormalWithoutExponentNegative", u"-0." + std::u16string(323, u'0') + u"247", -0.0},
    ParseRow{"farBelowTheRange", u"1e-99999999999999999999", 0.0},
    ParseRow{"farBelowTheRangeNegative", u"-.1e-400", -0.0},
    ParseRow{"underflowsWithLargeDigitCount", u"0.00000" + std::u16string(400, u'1') + u"e-330", 0.0},
    ParseRow{"zeroWithHugeExponent", u"0e999999999999999999", 0.0},
    ParseRow{"longFraction", u"0.1000000000000000055511151231257827021181583404541015625", 0.1}),
    rowName);

class ParseRejects : public testing::TestWithParam<std::u16string> {};

TEST_P(ParseRejects, WithTypeMismatchCarryingTheText) {
    try {
        rt::R8Str(GetParam(), u'.');
        FAIL() << "accepted";
    } catch (const rt::TypeMismatch& error) {
        EXPECT_EQ(error.text(), GetParam());
        EXPECT_EQ(error.kind(), rt::ErrorKind::TypeMismatch);
    }
}

INSTANTIATE_TEST_SUITE_P(NonNumbers, ParseRejects, testing::Values(
    u"", u" ", u"\u3000", u"+", u"-", u".", u"+.", u"e5", u".e5", u"1e", u"1e+", u"1.5.2",
    u"1,5", u"1,000", u"1 000", u"--1", u"+-1", u"1-", u"0x10", u"0x1p3", u"inf", u"-inf",
    u"nan", u"infinity", u"1d", u"12a", u"a12", u"١٢", std::u16string(u"1\u00002", 3), u"\xD800",
    u"1e5.5",
    u"e", u"１ ２", u"1。5。2", u"\u2212\u22121", u"+\u22121", u"1\u2212", u"。"));

TEST(Parse, NumberBeyondDoubleIsOverflowCarryingTheText) {
    for (const std::u16string& text : std::vector<std::u16string>{
             u"1e309", u"-1.8e308", u"1e99999999999999999999999", std::u16string(400, u'9'),
             u"1.7976931348623159e308", u"-1.7976931348623159e308", // just past the largest double's rounding edge
             u"17976931348623159" + std::u16string(292, u'0'), u"-17976931348623159" + std::u16string(292, u'0'),
             u"0.0001e313", u"1e400", u"-1e400", u"１ｅ４００", u"0." + std::u16string(400, u'9') + u"e309",
             u"0." + std::u16string(5000, u'0') + u"1e5400"}) {
        try {
            rt::R8Str(text, u'.');
            FAIL() << testing::PrintToString(text);
        } catch (const rt::Overflow& error) {
            EXPECT_EQ(error.text(), text);
        }
    }
}

TEST(Parse, CommaSeparatorReplacesTheFullStop) {
    EXPECT_EQ(rt::R8Str(u"1,5", u','), 1.5);
    EXPECT_EQ(rt::R8Str(u",25", u','), 0.25);
    EXPECT_EQ(rt::R8Str(u"１，５", u','), 1.5);
    EXPECT_THROW(rt::R8Str(u"1.5", u','), rt::TypeMismatch);
    // The full-width full stop is a decimal point under either separator; the
    // full-width comma follows the comma.
    EXPECT_EQ(rt::R8Str(u"１２．５", u','), 12.5);
    EXPECT_EQ(rt::R8Str(u"１２．５", u'.'), 12.5);
    EXPECT_EQ(rt::R8Str(u"１２。５", u','), 12.5);
    EXPECT_EQ(rt::R8Str(u"１２。５", u'.'), 12.5);
    EXPECT_THROW(rt::R8Str(u"１２，５", u'.'), rt::TypeMismatch);
}

TEST(Parse, LongTextsAreReadWhole) {
    const std::u16string digits = u"0." + std::u16string(5000, u'3');
    EXPECT_EQ(rt::R8Str(digits, u'.'), 1.0 / 3);
    EXPECT_THROW(rt::R8Str(digits + u"x", u'.'), rt::TypeMismatch);
}

// Writing numbers.

struct FormatRow {
    const char* name;
    double value;
    std::u16string expected;
};
void PrintTo(const FormatRow& row, std::ostream* out) { *out << row.name; }

class Format : public testing::TestWithParam<FormatRow> {};

TEST_P(Format, GeneralNumberFormat) {
    EXPECT_EQ(rt::StrR8(GetParam().value, u'.'), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(Values, Format, testing::Values(
    FormatRow{"whole", 3.0, u"3"},
    FormatRow{"oneDecimal", 1.5, u"1.5"},
    FormatRow{"thirds", 0.33, u"0.33"},
    FormatRow{"smallNegative", -0.05, u"-0.05"},
    FormatRow{"zero", 0.0, u"0"},
    FormatRow{"negativeZero", -0.0, u"0"},
    FormatRow{"top", 327.67, u"327.67"},
    FormatRow{"bottom", -327.68, u"-327.68"},
    FormatRow{"shortestRoundTrip", 0.1 + 0.2, u"0.30000000000000004"},
    FormatRow{"large", 1e21, u"1e+21"},
    FormatRow{"belowExponent", 123456789012345680000.0, u"123456789012345680000"},
    FormatRow{"smallestWithoutExponent", -0.0001, u"-0.0001"},
    FormatRow{"tiny", 1.5e-5, u"1.5e-05"}),
    rowName);

TEST(Format, CommaSeparator) {
    EXPECT_EQ(rt::StrR8(-0.05, u','), u"-0,05");
    EXPECT_EQ(rt::StrR8(3.0, u','), u"3");
}

// Every result the program can show, against a text built from the integer
// count of hundredths: it must match, and read back to the same double.
TEST(Format, EveryHundredthOfTheSixteenBitRange) {
    for (int k = -32768; k <= 32767; ++k) {
        const std::string expected = testing_support::hundredthsText(k);
        const double value = k / 100.0;
        const std::u16string text = rt::StrR8(value, u'.');
        ASSERT_EQ(text, std::u16string(expected.begin(), expected.end())) << k;
        ASSERT_EQ(rt::R8Str(text, u'.'), value) << k;
    }
}

// The shortest digits of `value` by another hand: the C++ library's, where it
// has them for double, or else JavaScript's, which picks the same digits.
#if defined(__cpp_lib_to_chars)
std::optional<std::string> otherShortest(double value) {
    char buffer[64];
    return std::string(buffer, std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::scientific).ptr);
}
#elif defined(__EMSCRIPTEN__)
EM_JS(void, javaScriptShortest, (double value, char* buffer), {
    const text = String(value);
    for (let i = 0; i < text.length; ++i) HEAPU8[buffer + i] = text.charCodeAt(i);
    HEAPU8[buffer + text.length] = 0;
});
std::optional<std::string> otherShortest(double value) {
    char buffer[64];
    javaScriptShortest(value, buffer);
    return std::string(buffer);
}
#else
std::optional<std::string> otherShortest(double) { return std::nullopt; }
#endif

// The writer's shortest digits against another writer's: every power of two
// (where the doubles below are twice as dense as above, so the nearest short
// decimal may not read back while the other one does) and 200,000 doubles
// of every exponent. The digits must be the same and the text must read back.
TEST(Format, ShortestDigitsAgreeWithAnotherWriter) {
    if (!otherShortest(1.0)) GTEST_SKIP() << "no other shortest writer on this platform";
    const auto significant = [](const std::string& text) {
        std::string digits;
        for (char c : text.substr(0, text.find('e')))
            if (c >= '0' && c <= '9' && !(digits.empty() && c == '0')) digits += c;
        return digits.substr(0, digits.find_last_not_of('0') + 1);
    };
    const auto check = [&](double value) {
        const std::u16string text = rt::StrR8(value, u'.');
        ASSERT_EQ(significant(std::string(text.begin(), text.end())), significant(*otherShortest(value)))
            << hex(value);
        ASSERT_EQ(rt::R8Str(text, u'.'), value) << hex(value);
    };
    for (int exponent = -1074; exponent <= 1023; ++exponent) check(std::ldexp(1.0, exponent));
    std::mt19937_64 random(20261209);
    for (int i = 0; i < 200'000; ++i) {
        double value;
        do {
            const std::uint64_t bits = random();
            std::memcpy(&value, &bits, sizeof value);
        } while (!std::isfinite(value) || value == 0);
        check(value);
    }
}

// The 16-bit conversion.

struct FpI2Row {
    const char* name;
    double value;
    int expected;
};
void PrintTo(const FpI2Row& row, std::ostream* out) { *out << row.name; }

class FpI2Rounds : public testing::TestWithParam<FpI2Row> {};

TEST_P(FpI2Rounds, ToNearestTiesToEven) {
    EXPECT_EQ(rt::FpI2(GetParam().value), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(Values, FpI2Rounds, testing::Values(
    FpI2Row{"halfToZero", 0.5, 0},
    FpI2Row{"oneAndHalfUp", 1.5, 2},
    FpI2Row{"twoAndHalfDown", 2.5, 2},
    FpI2Row{"negativeHalfToZero", -0.5, 0},
    FpI2Row{"negativeOneAndHalf", -1.5, -2},
    FpI2Row{"negativeTwoAndHalf", -2.5, -2},
    FpI2Row{"justAboveHalf", 0.5000000000000001, 1},
    FpI2Row{"justBelowHalf", 0.49999999999999994, 0},
    FpI2Row{"top", 32767.0, 32767},
    FpI2Row{"justBelowTopTie", 32767.499999999996, 32767},
    FpI2Row{"bottomTieToEven", -32768.5, -32768},
    FpI2Row{"bottom", -32768.0, -32768}),
    rowName);

TEST(FpI2, OutOfRangeIsOverflow) {
    for (const double value : {32767.5, 32768.0, -32768.50000000001, -32769.0, 1e300,
                               std::numeric_limits<double>::infinity(),
                               -std::numeric_limits<double>::infinity(),
                               std::numeric_limits<double>::quiet_NaN()}) {
        try {
            rt::FpI2(value);
            FAIL() << hex(value);
        } catch (const rt::Overflow& error) {
            EXPECT_TRUE(error.text().empty());
        }
    }
}

// Floating-point checks.

rt::FpFault faultOf(auto&& operation) {
    try {
        operation();
    } catch (const rt::FloatingPointError& error) {
        return error.fault();
    }
    ADD_FAILURE() << "no floating-point error";
    return {};
}

TEST(FpCheck, NonFiniteValuesAreFaults) {
    constexpr double inf = std::numeric_limits<double>::infinity();
    EXPECT_EQ(faultOf([] { rt::FpCheck(std::numeric_limits<double>::quiet_NaN()); }),
              rt::FpFault::InvalidOperation);
    EXPECT_EQ(faultOf([] { rt::FpCheck(inf); }), rt::FpFault::Overflow);
    EXPECT_EQ(faultOf([] { rt::FpCheck(-inf); }), rt::FpFault::Overflow);
    EXPECT_EQ(faultOf([] { rt::FpDivide(1, 0.0); }), rt::FpFault::DivisionByZero);
    EXPECT_EQ(faultOf([] { rt::FpDivide(0, -0.0); }), rt::FpFault::DivisionByZero);
    EXPECT_NO_THROW(rt::FpCheck(std::numeric_limits<double>::denorm_min()));
    EXPECT_EQ(rt::FpDivide(1, 4), 0.25);
}

// Texts.

TEST(StrCmp, ComparesCodeUnitsExactly) {
    EXPECT_EQ(rt::StrCmp(u"", u""), 0);
    EXPECT_EQ(rt::StrCmp(u"1", u"1"), 0);
    EXPECT_NE(rt::StrCmp(u"1", u"1.0"), 0);
    EXPECT_NE(rt::StrCmp(u"1", u"01"), 0);
    EXPECT_NE(rt::StrCmp(u"a", u"A"), 0);
    EXPECT_NE(rt::StrCmp(u"1", u"１"), 0);
    EXPECT_NE(rt::StrCmp(u"1 ", u"1"), 0);
    EXPECT_LT(rt::StrCmp(u"1", u"2"), 0);
    EXPECT_GT(rt::StrCmp(u"2", u"1"), 0);
}

TEST(Str, OwnershipIsCountedAndReleased) {
    const auto before = rt::Str::live();
    {
        rt::Str a;
        EXPECT_EQ(rt::Str::live(), before); // empty is absent: nothing owned
        rt::StrMove(a, u"one");
        EXPECT_EQ(rt::Str::live(), before + 1);
        rt::StrMove(a, u"two"); // the old text is released
        EXPECT_EQ(rt::Str::live(), before + 1);
        rt::Str b(std::move(a));
        EXPECT_TRUE(a.empty());
        EXPECT_EQ(b.view(), u"two");
        EXPECT_EQ(rt::Str::live(), before + 1);
        rt::Str c(u"three");
        c = std::move(b);
        EXPECT_EQ(rt::Str::live(), before + 1);
        rt::StrMove(c, u"");
        EXPECT_TRUE(c.empty());
        EXPECT_EQ(rt::Str::live(), before);
        rt::StrMove(c, u"four");
    }
    EXPECT_EQ(rt::Str::live(), before);
}

// Control references and property errors.

struct CountedLabel final : rt::Label {
    int references = 0;
    void AddRef() noexcept override { ++references; }
    void Release() noexcept override { --references; }
    std::string_view Name() const noexcept override { return "l1"; }
    rt::Status LetCaption(std::u16string_view) override { return rt::Status::Failed; }
};

TEST(ObjRef, HoldsAndReleasesOnEveryPath) {
    CountedLabel label;
    {
        auto reference = rt::ObjSet(label);
        EXPECT_EQ(label.references, 1);
        {
            auto moved = std::move(reference);
            EXPECT_EQ(label.references, 1);
        }
        EXPECT_EQ(label.references, 0); // released once, by the reference it moved to
    }
    EXPECT_EQ(label.references, 0);
    try {
        auto reference = rt::ObjSet(label);
        rt::CheckObjResult(reference->LetCaption(u"x"), *reference, "Caption");
        FAIL() << "no property error";
    } catch (const rt::PropertyError& error) {
        EXPECT_EQ(error.control(), "l1");
        EXPECT_EQ(error.property(), "Caption");
        EXPECT_EQ(error.kind(), rt::ErrorKind::Property);
    }
    EXPECT_EQ(label.references, 0);
}

// A text read from a control remembers it, and a conversion error names it.
struct OneBox final : rt::TextBox {
    std::u16string shown;
    void AddRef() noexcept override {}
    void Release() noexcept override {}
    std::string_view Name() const noexcept override { return "x2"; }
    rt::Status LetText(std::u16string_view) override { return rt::Status::Failed; }
    rt::Status ReadText(rt::Str& text) override {
        rt::StrMove(text, shown);
        return rt::Status::Ok;
    }
};

TEST(Str, ATextReadFromAControlNamesItInConversionErrors) {
    OneBox box;
    for (const auto& [shown, overflow] : {std::pair{u"abc", false}, {u"", false}, {u"1e999", true}}) {
        box.shown = shown;
        rt::Str text;
        ASSERT_EQ(box.GetText(text), rt::Status::Ok);
        const rt::Str moved(std::move(text));
        EXPECT_EQ(moved.source(), "x2");
        try {
            rt::R8Str(moved, u'.');
            FAIL() << "no error for " << testing::PrintToString(std::u16string(shown));
        } catch (const rt::ConversionError& error) {
            EXPECT_EQ(error.kind(), overflow ? rt::ErrorKind::Overflow : rt::ErrorKind::TypeMismatch);
            EXPECT_EQ(error.control(), "x2");
            EXPECT_EQ(error.text(), shown);
        }
    }
    // A text the program made, or one replaced since, names no control.
    rt::Str made(u"abc");
    EXPECT_EQ(made.source(), "");
    box.shown = u"1";
    ASSERT_EQ(box.GetText(made), rt::Status::Ok);
    rt::StrMove(made, u"q");
    EXPECT_THROW(
        try { rt::R8Str(made, u'.'); } catch (const rt::TypeMismatch& error) {
            EXPECT_EQ(error.control(), "");
            throw;
        },
        rt::TypeMismatch);
}

// Errors carry the facts a message needs, and no wording of their own.

TEST(Errors, CarryTheirKindAndTheTextAsTyped) {
    const std::u16string unpaired = u"a\xD800";
    EXPECT_EQ(rt::TypeMismatch(unpaired).text(), unpaired);
    EXPECT_EQ(rt::TypeMismatch(u"").kind(), rt::ErrorKind::TypeMismatch);
    EXPECT_EQ(rt::Overflow().text(), u"");
    EXPECT_EQ(rt::FloatingPointError(rt::FpFault::DivisionByZero).kind(), rt::ErrorKind::FloatingPoint);
    EXPECT_STREQ(rt::PropertyError("y", "Text").what(), "property error");
}

} // namespace
