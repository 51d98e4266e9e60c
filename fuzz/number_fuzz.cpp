// The number reader and writer on any text: no crash or hang; a text is
// accepted exactly when an independent recogniser of the documented forms
// accepts it; an accepted number has the value glibc's strtod gives it in the
// C locale, whatever locale the process runs under; and
// what the writer makes of it reads back to the same double.
#include <clocale>
#include <locale.h>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <optional>
#include <string>

#include "input.h"
#include "runtime/errors.h"
#include "runtime/number.h"

namespace {

// The documented forms, written independently of the reader: full-width forms
// mapped by their own table (the full-width and ideographic full stops always
// to the decimal point, the minus sign to '-'), white space trimmed, then a hand-written scan of
//   [+-] (digits [sep digits*] | sep digits) [(e|E) [+-] digits]
// Returns the plain ASCII spelling (with '.') of an accepted text.
std::optional<std::string> recognise(const std::u16string& text, char16_t separator) {
    std::string ascii;
    for (char16_t c : text) {
        const bool chineseStop = c == 0xFF0E || c == 0x3002; // full-width and ideographic full stops
        if (c == 0x2212) c = u'-'; // the minus sign
        if (c >= 0xFF01 && c <= 0xFF5E) c = static_cast<char16_t>(c - 0xFF01 + u'!');
        if (c == separator || chineseStop) ascii += '.';
        else if (c == u'.' || c == u',') ascii += '#'; // a separator that is not the user's
        else if (c == u' ' || c == u'\t' || c == u'\n' || c == u'\r' || c == u'\v' || c == u'\f'
                 || c == 0x00A0 || c == 0x3000)
            ascii += ' ';
        else if (c < 0x80 && c != 0) ascii += static_cast<char>(c);
        else ascii += '#';
    }
    const auto first = ascii.find_first_not_of(' ');
    if (first == std::string::npos) return std::nullopt;
    ascii = ascii.substr(first, ascii.find_last_not_of(' ') - first + 1);

    std::size_t i = 0;
    const auto digits = [&] {
        const std::size_t start = i;
        while (i < ascii.size() && ascii[i] >= '0' && ascii[i] <= '9') ++i;
        return i - start;
    };
    if (i < ascii.size() && (ascii[i] == '+' || ascii[i] == '-')) ++i;
    std::size_t mantissa = digits();
    if (i < ascii.size() && ascii[i] == '.') {
        ++i;
        mantissa += digits();
    }
    if (mantissa == 0) return std::nullopt;
    if (i < ascii.size() && (ascii[i] == 'e' || ascii[i] == 'E')) {
        ++i;
        if (i < ascii.size() && (ascii[i] == '+' || ascii[i] == '-')) ++i;
        if (digits() == 0) return std::nullopt;
    }
    if (i != ascii.size()) return std::nullopt;
    return ascii;
}

bool sameBits(double a, double b) { return std::memcmp(&a, &b, sizeof a) == 0; }

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const fuzz::Input input = fuzz::decode(data, size);
    const char16_t separator = fuzz::separator(input);
    const std::u16string& text = input.text(0);

    const std::optional<std::string> expected = recognise(text, separator);
    std::optional<double> value;
    bool overflow = false;
    try {
        value = rt::R8Str(text, separator);
    } catch (const rt::TypeMismatch& error) {
        if (error.text() != text) std::abort();
    } catch (const rt::Overflow& error) {
        if (error.text() != text) std::abort();
        overflow = true;
    }
    if (expected.has_value() != (value.has_value() || overflow)) std::abort();
    if (!expected) return 0;

    static const locale_t cLocale = newlocale(LC_ALL_MASK, "C", nullptr);
    const double reference = strtod_l(expected->c_str(), nullptr, cLocale);
    if (overflow != std::isinf(reference)) std::abort();
    if (overflow) return 0;
    if (!sameBits(*value, reference)) std::abort();

    const std::u16string written = rt::StrR8(*value, separator);
    if (rt::R8Str(written, separator) != *value) std::abort();
    return 0;
}
