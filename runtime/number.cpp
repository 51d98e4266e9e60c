#include "runtime/number.h"

#include <algorithm>
#include <array>
#include <cstdio>
#include <limits>
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

constexpr bool isDigit(char c) { return c >= '0' && c <= '9'; }

constexpr char16_t kFullWidthStop = u'\uFF0E';
constexpr char16_t kIdeographicStop = u'\u3002';
constexpr char16_t kMinusSign = u'\u2212';

// What one code unit of the text becomes for the reader, whose alphabet is
// ASCII: the user's separator, "．" and "。" become '.', "−" '-', full-width
// forms their ASCII twins, white space ' ', and every character outside the
// grammar (the other separator included) a byte that the reader stops at.
char readerChar(char16_t c, char16_t separator) {
    if (c == kFullWidthStop || c == kIdeographicStop || narrow(c) == narrow(separator)) return '.';
    if (c == kMinusSign) return '-';
    const char16_t ascii = narrow(c);
    const bool grammar = (ascii >= u'0' && ascii <= u'9') || ascii == u'+' || ascii == u'-' || ascii == u'e' || ascii == u'E';
    return grammar ? static_cast<char>(ascii) : isSpace(ascii) ? ' ' : '\x01';
}

// Whether a number of the reader's grammar that lies outside the range of a
// double lies above it (else below the smallest subnormal), told from the
// power of ten of its first significant digit. Versions of the reader differ in
// how they report such a number and in the value they leave, so the text
// decides.
bool aboveRange(const char* first, const char* last) {
    if (*first == '-') ++first;
    long power = -1; // of the digit before the point, counted down after it
    bool point = false;
    bool significant = false;
    for (; first != last && (isDigit(*first) || *first == '.'); ++first) {
        if (*first == '.') {
            point = true;
        } else if (significant) {
            if (!point) ++power;
        } else if (*first != '0') {
            significant = true;
            if (!point) ++power;
        } else if (point) {
            --power;
        }
    }
    // The leading digit's power, then the exponent, saturated far beyond any
    // double's range so that no count of digits can overflow it.
    constexpr long kFar = 1'000'000;
    long exponent = 0;
    if (first != last) { // 'e' or 'E', a sign, digits
        ++first;
        const bool negative = *first == '-';
        if (*first == '-' || *first == '+') ++first;
        for (; first != last; ++first) exponent = std::min(exponent * 10 + (*first - '0'), kFar);
        if (negative) exponent = -exponent;
    }
    return std::clamp(power, -kFar, kFar) + exponent >= 0;
}

// A decimal: the digits d0.d1d2... times ten to `exponent`, with a sign.
struct Decimal {
    bool negative;
    std::string digits;
    int exponent;
};

// `value` correctly rounded to `count` significant digits (ties to even: the
// C library's %e is exact). %e writes the decimal point of the process's
// locale, which may be any string of bytes, so only the sign, the ASCII digits
// and what follows the last 'e' (a sign and digits, in every locale) are read.
Decimal roundedTo(double value, int count) {
    std::array<char, 64> text{};
    std::snprintf(text.data(), text.size(), "%.*e", count - 1, value);
    const std::string_view written(text.data());
    const std::size_t e = written.rfind('e');
    Decimal decimal{written.front() == '-', {}, 0};
    for (char c : written.substr(0, e))
        if (isDigit(c)) decimal.digits += c;
    for (char c : written.substr(e + 2)) decimal.exponent = decimal.exponent * 10 + (c - '0');
    if (written[e + 1] == '-') decimal.exponent = -decimal.exponent;
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

double parse(std::u16string_view text, char16_t separator, std::string_view control) {
    std::string chars(text.size(), ' ');
    std::transform(text.begin(), text.end(), chars.begin(), [separator](char16_t c) { return readerChar(c, separator); });
    const char* first = chars.data();
    const char* last = first + chars.size();
    while (first != last && *first == ' ') ++first;
    while (last != first && last[-1] == ' ') --last;

    // The reader takes [-]digits[.digits][(e|E)[+|-]digits], with a digit before
    // or after the point. It takes no '+', so that is skipped here; after either
    // sign only a digit or the point may follow. (It would read inf and nan too,
    // but their letters were mapped away.)
    const bool plus = first != last && *first == '+';
    const char* number = plus ? first + 1 : first;
    const char* body = !plus && number != last && *number == '-' ? number + 1 : number;
    if (body == last || !(isDigit(*body) || *body == '.')) throw TypeMismatch(std::u16string(text), control);

    double value = 0;
    const auto [stop, ec] = fast_float::from_chars(number, last, value);
    if (stop != last || (ec != std::errc() && ec != std::errc::result_out_of_range))
        throw TypeMismatch(std::u16string(text), control);
    // Out of range either way: some versions of the reader say so, others give
    // infinity or zero without a word. Below the smallest subnormal is zero of
    // the sign, as the default environment rounds.
    if (ec == std::errc::result_out_of_range || std::isinf(value)) {
        if (aboveRange(number, last)) throw Overflow(std::u16string(text), control);
        return *number == '-' ? -0.0 : 0.0;
    }
    return value;
}

} // namespace

double R8Str(std::u16string_view text, char16_t separator) { return parse(text, separator, {}); }

double R8Str(const Str& text, char16_t separator) { return parse(text.view(), separator, text.source()); }

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
