#include "runtime/number.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <limits>
#include <memory>
#include <string>
#include <system_error>

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

// What each ASCII character becomes for from_chars: the characters of the
// grammar stand for themselves, white space becomes ' ', and the rest (the
// full stop and comma included: the separator is dealt with first) becomes a
// byte that from_chars stops at.
constexpr std::array<char, 128> kAlphabet = [] {
    std::array<char, 128> table{};
    for (std::size_t c = 0; c < table.size(); ++c) {
        const bool keep = (c >= '0' && c <= '9') || c == '+' || c == '-' || c == 'e' || c == 'E';
        table[c] = keep ? static_cast<char>(c) : isSpace(static_cast<char16_t>(c)) ? ' ' : '\x01';
    }
    return table;
}();

constexpr char16_t kFullWidthStop = u'\uFF0E';

// The text in the only alphabet std::from_chars reads, one char per code
// unit, in a buffer on the stack for the lengths people type: full-width forms
// narrowed, the user's separator and "．" as '.', and every other character outside
// the grammar as a byte that from_chars stops at.
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

// For a number from_chars found out of range: whether it is at least 1 (an
// overflow) rather than below the smallest subnormal (an underflow). Only
// texts that from_chars read whole come here.
bool atLeastOne(const char* first, const char* last) {
    const char* const e = std::find_if(first, last, [](char c) { return c == 'e' || c == 'E'; });
    const char* const point = std::find(first, e, '.');
    const char* const lead = std::find_if(first, e, [](char c) { return c >= '1' && c <= '9'; });
    if (lead == e) return false; // zero is never out of range
    // The decimal exponent of the leading significant digit, before the exponent part.
    const long long magnitude = lead < point ? point - lead - 1 : point - lead;

    long long exponent = 0;
    const char* digit = e == last ? last : e + 1;
    const bool negative = digit != last && *digit == '-';
    if (digit != last && (*digit == '+' || *digit == '-')) ++digit;
    for (; digit != last; ++digit) exponent = std::min(exponent * 10 + (*digit - '0'), 1'000'000'000'000LL);
    return magnitude + (negative ? -exponent : exponent) >= 0;
}

} // namespace

double R8Str(std::u16string_view text, char16_t separator) {
    const Narrowed chars(text, separator);
    const char* first = chars.begin();
    const char* last = chars.end();
    while (first != last && *first == ' ') ++first;
    while (last != first && last[-1] == ' ') --last;

    // from_chars reads [-]digits[.digits][(e|E)[+|-]digits], with a digit before
    // or after the point. It takes no '+', so that is skipped here; after either
    // sign only a digit or the point may follow. (It would read inf and nan too,
    // but their letters were narrowed away.)
    const bool plus = first != last && *first == '+';
    const char* number = plus ? first + 1 : first;
    const char* body = !plus && number != last && *number == '-' ? number + 1 : number;
    if (body == last || !(isDigit(static_cast<char16_t>(*body)) || *body == '.'))
        throw TypeMismatch(std::u16string(text));

    double value = 0;
    const auto [stop, ec] = std::from_chars(number, last, value);
    if (stop != last) throw TypeMismatch(std::u16string(text));
    if (ec == std::errc::result_out_of_range) {
        if (atLeastOne(number, last)) throw Overflow(std::u16string(text));
        return *number == '-' ? -0.0 : 0.0;
    }
    if (ec != std::errc()) throw TypeMismatch(std::u16string(text));
    return value;
}

std::u16string StrR8(double value, char16_t separator) {
    if (value == 0) return u"0"; // -0 too
    if (!std::isfinite(value)) return std::isnan(value) ? u"NaN" : value < 0 ? u"-Infinity" : u"Infinity";

    // The shortest digits that read back to the same double, as [-]d[.ddd]e±x,
    // which is already the form wanted outside 1e-4 to 1e21.
    std::array<char, 32> scientific;
    const char* const end = std::to_chars(scientific.data(), scientific.data() + scientific.size(), value,
                                          std::chars_format::scientific).ptr;
    const char* const e = std::find(static_cast<const char*>(scientific.data()), end, 'e');
    int exponent = 0;
    std::from_chars(e + (e[1] == '+' ? 2 : 1), end, exponent);

    std::array<char, 48> fixed;
    const char* first = scientific.data();
    const char* last = end;
    if (exponent >= -4 && exponent < 21) {
        // The same digits with the point moved, and zeros where they run out.
        char* out = fixed.data();
        const char* digit = scientific.data();
        if (*digit == '-') *out++ = *digit++;
        const auto next = [&] {
            if (*digit == '.') ++digit;
            return digit == e ? '0' : *digit++;
        };
        if (exponent < 0) {
            *out++ = '0';
            *out++ = '.';
            out = std::fill_n(out, -exponent - 1, '0');
        }
        for (int place = exponent; place >= 0 || digit != e; --place) {
            if (place == -1 && exponent >= 0) *out++ = '.';
            *out++ = next();
        }
        first = fixed.data();
        last = out;
    }
    std::u16string text(first, last);
    std::replace(text.begin(), text.end(), u'.', separator);
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
