#include "runtime/number.h"

#include <array>
#include <cstdio>
#include <cstdlib>
#include <limits>
#include <memory>
#include <string>
#include <system_error>

#include <fast_float/fast_float.h>

namespace rt {

namespace {

constexpr bool isSpace(char16_t c) {
    return c == u' ' || c == u'\t' || c == u'\n' || c == u'\r' || c == u'\v' || c == u'\f'
        || c == u'\u00A0' || c == u'\u3000';
}

// The full-width forms U+FF01..U+FF5E stand 0xFEE0 above their ASCII twins.
constexpr char16_t narrow(char16_t c) {
    return (c >= u'\uFF01' && c <= u'\uFF5E') ? static_cast<char16_t>(c - 0xFEE0) : c;
}

constexpr bool isDigit(char16_t c) { return c >= u'0' && c <= u'9'; }

// What each ASCII character becomes for the reader: the characters of the
// grammar stand for themselves, white space becomes ' ', and the rest (the
// full stop and comma included: the separator is dealt with first) becomes a
// byte that the reader stops at.
constexpr std::array<char, 128> kAlphabet = [] {
    std::array<char, 128> table{};
    for (std::size_t c = 0; c < table.size(); ++c) {
        const bool keep = (c >= '0' && c <= '9') || c == '+' || c == '-' || c == 'e' || c == 'E';
        table[c] = keep ? static_cast<char>(c) : isSpace(static_cast<char16_t>(c)) ? ' ' : '\x01';
    }
    return table;
}();

constexpr char16_t kFullWidthStop = u'\uFF0E';

// The text in the only alphabet the reader takes, one char per code
// unit, in a buffer on the stack for the lengths people type: full-width forms
// narrowed, the user's separator and "．" as '.', and every other character outside
// the grammar as a byte that the reader stops at.
class Narrowed {
public:
    Narrowed(std::u16string_view text, char16_t separator)
        : data_(text.size() <= small_.size()
                    ? small_.data()
                    : (large_ = std::make_unique<char[]>(text.size())).get()),
          size_(text.size()) {
        const char16_t sep = narrow(separator);
        for (std::size_t i = 0; i < size_; ++i) {
            const char16_t c = narrow(text[i]);
            data_[i] = c == sep || text[i] == kFullWidthStop ? '.' : c < kAlphabet.size() ? kAlphabet[c] : isSpace(c) ? ' ' : '\x01';
        }
    }
    const char* begin() const { return data_; }
    const char* end() const { return data_ + size_; }

private:
    std::array<char, 64> small_;
    std::unique_ptr<char[]> large_;
    char* data_;
    std::size_t size_;
};

// A decimal: the digits d0.d1d2... times ten to `exponent`, with a sign.
struct Decimal {
    bool negative;
    std::string digits;
    int exponent;
};

// `value` correctly rounded to `count` significant digits (ties to even: the
// C library's %e is exact).
Decimal roundedTo(double value, int count) {
    std::array<char, 40> text;
    std::snprintf(text.data(), text.size(), "%.*e", count - 1, value);
    Decimal decimal{text[0] == '-', {}, 0};
    const char* c = text.data() + (decimal.negative ? 1 : 0);
    for (; *c != 'e'; ++c)
        if (*c != '.') decimal.digits += *c;
    decimal.exponent = std::atoi(c + 1);
    return decimal;
}

double read(const Decimal& decimal) {
    const std::string text = (decimal.negative ? "-" : "") + decimal.digits + 'e'
                             + std::to_string(decimal.exponent - static_cast<int>(decimal.digits.size()) + 1);
    double value = 0;
    fast_float::from_chars(text.data(), text.data() + text.size(), value);
    return value;
}

// The decimal of as many significant digits next to `decimal`, away from
// zero when `up`, towards zero otherwise.
Decimal neighbour(Decimal decimal, bool up) {
    std::string& digits = decimal.digits;
    std::size_t i = digits.size();
    if (up) {
        while (i > 0 && digits[i - 1] == '9') digits[--i] = '0';
        if (i == 0) { // 9.99e4 + 0.01e4 = 1.00e5
            digits.insert(digits.begin(), '1');
            digits.pop_back();
            ++decimal.exponent;
        } else {
            ++digits[i - 1];
        }
    } else {
        while (digits[i - 1] == '0') digits[--i] = '9';
        --digits[i - 1];
        if (digits[0] == '0') { // 1.00e5 - 0.01e5 = 9.99e4, a finer step below
            digits.erase(digits.begin());
            digits += '9';
            --decimal.exponent;
        }
    }
    return decimal;
}

// The fewest significant digits that read back to `value`, the nearest such
// decimal when two do. Of the decimals with so many digits only the two
// around the value can read back to it; the nearer one is tried first. The
// farther one can read back alone only at a power of two, where the doubles
// below are twice as dense as those above.
Decimal shortest(double value) {
    for (int count = 1; count < 17; ++count) {
        const Decimal nearest = roundedTo(value, count);
        const double nearValue = read(nearest);
        if (nearValue == value) return nearest;
        const Decimal other = neighbour(nearest, std::fabs(nearValue) < std::fabs(value));
        if (read(other) == value) return other;
    }
    return roundedTo(value, 17); // seventeen digits always read back
}

} // namespace

double R8Str(std::u16string_view text, char16_t separator) {
    const Narrowed chars(text, separator);
    const char* first = chars.begin();
    const char* last = chars.end();
    while (first != last && *first == ' ') ++first;
    while (last != first && last[-1] == ' ') --last;

    // The reader takes [-]digits[.digits][(e|E)[+|-]digits], with a digit before
    // or after the point. It takes no '+', so that is skipped here; after either
    // sign only a digit or the point may follow. (It would read inf and nan too,
    // but their letters were narrowed away.)
    const bool plus = first != last && *first == '+';
    const char* number = plus ? first + 1 : first;
    const char* body = !plus && number != last && *number == '-' ? number + 1 : number;
    if (body == last || !(isDigit(static_cast<char16_t>(*body)) || *body == '.'))
        throw TypeMismatch(std::u16string(text));

    double value = 0;
    const auto [stop, ec] = fast_float::from_chars(number, last, value);
    if (stop != last || ec != std::errc()) throw TypeMismatch(std::u16string(text));
    // Beyond the largest double the reader gives infinity; below the smallest
    // subnormal, zero of the sign, as the default environment rounds.
    if (std::isinf(value)) throw Overflow(std::u16string(text));
    return value;
}

std::u16string StrR8(double value, char16_t separator) {
    if (value == 0) return u"0"; // -0 too
    if (!std::isfinite(value)) return std::isnan(value) ? u"NaN" : value < 0 ? u"-Infinity" : u"Infinity";

    const Decimal decimal = shortest(value);
    const std::u16string digits(decimal.digits.begin(), decimal.digits.end());
    const int exponent = decimal.exponent;
    std::u16string text = decimal.negative ? u"-" : u"";
    if (exponent < -4 || exponent >= 21) { // 1.5e-05, 1e+21
        text += digits.substr(0, 1);
        if (digits.size() > 1) text += separator + digits.substr(1);
        const std::string magnitude = std::to_string(std::abs(exponent));
        text += exponent < 0 ? u"e-" : u"e+";
        if (magnitude.size() < 2) text += u'0';
        return text.append(magnitude.begin(), magnitude.end());
    }
    // The same digits with the point moved, and zeros where they run out.
    if (exponent < 0)
        return text + u'0' + separator + std::u16string(static_cast<std::size_t>(-exponent - 1), u'0') + digits;
    const std::size_t whole = static_cast<std::size_t>(exponent) + 1;
    text += digits.substr(0, whole);
    if (digits.size() < whole) return text.append(whole - digits.size(), u'0');
    if (digits.size() > whole) text += separator + digits.substr(whole);
    return text;
}

std::int16_t FpI2(double value) {
    // nearbyint rounds in the current mode, which the program leaves at its
    // default, round to nearest with ties to even.
    const double rounded = std::nearbyint(value);
    if (!(rounded >= std::numeric_limits<std::int16_t>::min()
          && rounded <= std::numeric_limits<std::int16_t>::max()))
        throw Overflow();
    return static_cast<std::int16_t>(rounded);
}

void FPException(FpFault fault) { throw FloatingPointError(fault); }

} // namespace rt
