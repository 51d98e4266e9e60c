// Command1_Click against an independent computation on generated inputs. The
// oracle reads the decimal texts and does each operation of the formula, in
// its order, in GNU MPFR at 53 bits with round-to-nearest-even and the range
// of a double, then rounds the hundredfold value half to even: the exact
// result IEEE 754 double arithmetic must give, to the last bit.
#include <gtest/gtest.h>
#include <mpfr.h>

#include <array>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <random>
#include <string>

#include "commands/commands.h"
#include "fake_form.h"
#include "hundredths.h"
#include "runtime/errors.h"

namespace {

using commands::TextField;

// A double as MPFR sees it: 53 bits, with subnormals and overflow to infinity.
class Real {
public:
    Real() { mpfr_init2(value_, 53); }
    ~Real() { mpfr_clear(value_); }
    Real(const Real&) = delete;
    Real& operator=(const Real&) = delete;

    static void useDoubleRange() {
        mpfr_set_emin(-1073);
        mpfr_set_emax(1024);
    }
    void read(const std::string& text) { round(mpfr_set_str(value_, text.c_str(), 10, MPFR_RNDN)); }
    template <class Op>
    void set(Op op, const Real& a, const Real& b) { round(op(value_, a.value_, b.value_, MPFR_RNDN)); }
    void times100(const Real& a) { round(mpfr_mul_ui(value_, a.value_, 100, MPFR_RNDN)); }
    bool finite() const { return mpfr_number_p(value_) != 0; }
    bool zero() const { return mpfr_zero_p(value_) != 0; }
    // Half to even, as an integer; false when beyond a 16-bit integer.
    bool toInt16(long& out) const {
        Real rounded;
        mpfr_rint(rounded.value_, value_, MPFR_RNDN);
        if (!rounded.finite() || mpfr_cmp_si(rounded.value_, -32768) < 0 || mpfr_cmp_si(rounded.value_, 32767) > 0)
            return false;
        out = mpfr_get_si(rounded.value_, MPFR_RNDN);
        return true;
    }

private:
    void round(int ternary) { mpfr_subnormalize(value_, mpfr_check_range(value_, ternary, MPFR_RNDN), MPFR_RNDN); }
    mpfr_t value_;
};

struct Case {
    std::string x1, y1, x2, y2, x;
};

// What the command must do: "y=<text>", "message", or "error:<kind>".
std::string oracle(const Case& c) {
    if (c.x1 == c.x2) return "message";
    Real y1, y2, x, x1, x2, dy, t, p, d, q, u, s;
    y1.read(c.y1);
    y2.read(c.y2);
    x.read(c.x);
    x1.read(c.x1);
    x2.read(c.x2);
    for (const Real* typed : {&y1, &y2, &x, &x1, &x2})
        if (!typed->finite()) return "error:overflow";
    dy.set(mpfr_sub, y1, y2);
    if (!dy.finite()) return "error:floating-point";
    t.set(mpfr_sub, x, x1);
    p.set(mpfr_mul, t, dy);
    if (!p.finite()) return "error:floating-point";
    d.set(mpfr_sub, x1, x2);
    if (d.zero()) return "error:floating-point";
    q.set(mpfr_div, p, d);
    if (!q.finite()) return "error:floating-point";
    u.set(mpfr_add, y1, q);
    s.times100(u);
    long k = 0;
    if (!s.toInt16(k)) return "error:overflow";
    return "y=" + testing_support::hundredthsText(k);
}

std::string run(const Case& c) {
    fake::FakeForm form;
    form.recording = false;
    const auto u16 = [](const std::string& ascii) { return std::u16string(ascii.begin(), ascii.end()); };
    form.setInputs(u16(c.x1), u16(c.y1), u16(c.x2), u16(c.y2), u16(c.x));
    try {
        commands::Command1_Click(form);
    } catch (const rt::Error& error) {
        switch (error.kind()) {
        case rt::ErrorKind::Overflow: return "error:overflow";
        case rt::ErrorKind::FloatingPoint: return "error:floating-point";
        case rt::ErrorKind::TypeMismatch: return "error:type-mismatch";
        case rt::ErrorKind::Property: return "error:property";
        }
    }
    if (form.caption() == commands::kEqualAbscissas) return "message";
    const std::u16string& y = form.text(TextField::y); // digits, '-' and '.': ASCII
    return "y=" + std::string(y.begin(), y.end());
}

// Decimal texts from integers scaled by 10^8.
constexpr std::int64_t kScale = 100'000'000;

std::string decimal(std::int64_t scaled) {
    std::string text = scaled < 0 ? "-" : "";
    const std::uint64_t magnitude = static_cast<std::uint64_t>(scaled < 0 ? -scaled : scaled);
    text += std::to_string(magnitude / kScale);
    std::string fraction = std::to_string(magnitude % kScale);
    fraction.insert(0, 8 - fraction.size(), '0');
    while (!fraction.empty() && fraction.back() == '0') fraction.pop_back();
    if (!fraction.empty()) text.append(".").append(fraction);
    return text;
}

class Generator {
public:
    // Any decimal: sign, up to 4 integer and 6 fraction digits, sometimes an exponent.
    std::string anyDecimal() {
        std::string text = pick(4) == 0 ? "-" : "";
        text += std::to_string(pick(10'000) / (1 + pick(1000)));
        // Appended piece by piece: GCC 12 at -O3 wrongly warns of overlapping
        // copies (-Wrestrict) in "." + std::string.
        if (const auto digits = pick(7); digits > 0) text.append(".").append(std::to_string(pick(1'000'000)), 0, digits);
        if (pick(8) == 0) text.append("e").append(std::to_string(static_cast<int>(pick(41)) - 20));
        return text;
    }
    // A decimal with at most three fraction digits, up to ±1000.
    std::int64_t shortDecimal() { return (static_cast<std::int64_t>(pick(2'000'001)) - 1'000'000) * 100'000; }

    // Inputs whose exact decimal result lies on a half hundredth, so that the
    // last bit of the double s decides which way it rounds.
    Case decimalTie() {
        static constexpr std::array<std::int64_t, 8> slopesTimes4 = {4, -4, 8, 2, 1, -16, 40, -2};
        const std::int64_t slope4 = slopesTimes4[pick(slopesTimes4.size())];
        const std::int64_t x1 = shortDecimal() / 10, y1 = shortDecimal() / 10;
        std::int64_t d = shortDecimal() / 100;
        if (d == 0) d = kScale;
        const std::int64_t y2 = y1 - slope4 * d / 4;
        const std::int64_t y = (2 * (static_cast<std::int64_t>(pick(65'536)) - 32'768) + 1) * (kScale / 200);
        const std::int64_t x = x1 + (y - y1) * 4 / slope4;
        return {decimal(x1), decimal(y1), decimal(x1 - d), decimal(y2), decimal(x)};
    }
    // Inputs in eighths and quarters, where every step is exact and the
    // result often lands exactly on a half hundredth.
    Case binaryTie() {
        const auto eighths = [this](std::uint64_t range) {
            return (static_cast<double>(pick(2 * range)) - static_cast<double>(range)) / 8;
        };
        const double x1 = eighths(800), y1 = eighths(800), dx = std::ldexp(1.0, static_cast<int>(pick(6)) - 2);
        const double y2 = y1 + eighths(64), x = x1 + eighths(64);
        const auto text = [](double v) {
            char buffer[64];
            std::snprintf(buffer, sizeof buffer, "%.17g", v);
            return std::string(buffer);
        };
        return {text(x1), text(y1), text(x1 - dx), text(y2), text(x)};
    }
    std::uint64_t pick(std::uint64_t bound) { return random_() % bound; }

private:
    std::mt19937_64 random_{20261208};
};

TEST(Oracle, AgreesToTheLastBitOnGeneratedInputs) {
    Real::useDoubleRange();
    Generator generate;
    int disagreements = 0;
    std::array<int, 3> outcomes{}; // results, messages, errors
    const auto check = [&](const Case& c) {
        const std::string expected = oracle(c), actual = run(c);
        ++outcomes[expected[0] == 'y' ? 0 : expected[0] == 'm' ? 1 : 2];
        if (expected != actual && ++disagreements <= 10)
            ADD_FAILURE() << "x1=" << c.x1 << " y1=" << c.y1 << " x2=" << c.x2 << " y2=" << c.y2 << " x=" << c.x
                          << ": oracle " << expected << ", command " << actual;
    };
    for (int i = 0; i < 50'000; ++i) {
        Case c{generate.anyDecimal(), generate.anyDecimal(), generate.anyDecimal(), generate.anyDecimal(),
               generate.anyDecimal()};
        if (generate.pick(50) == 0) c.x2 = c.x1;
        check(c);
    }
    for (int i = 0; i < 50'000; ++i) check(generate.decimalTie());
    for (int i = 0; i < 10'000; ++i) check(generate.binaryTie());
    EXPECT_EQ(disagreements, 0);
    // The generators must reach every outcome, or the agreement means little.
    EXPECT_GT(outcomes[0], 50'000);
    EXPECT_GT(outcomes[1], 500);
    EXPECT_GT(outcomes[2], 5'000);
}

} // namespace
