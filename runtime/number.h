// Conversions between texts and numbers, and the floating-point checks.
//
// All arithmetic is IEEE 754 double in the default environment: round to
// nearest, ties to even, 53-bit significands. Nothing here changes the
// floating-point environment, and nothing depends on the C library's locale.
#pragma once

#include <cmath>
#include <cstdint>
#include <string>
#include <string_view>

#include "runtime/errors.h"
#include "runtime/text.h"

namespace rt {

// Reads the whole text as a number in the user's locale, whose decimal
// separator is `separator`, correctly rounded to the nearest double
// (ties to even). Accepted:
//   space*  [+|-]  digits [sep digits*] | sep digits  [(e|E) [+|-] digits]  space*
// where sep is `separator`, space is a space, tab, line break, no-break space or
// ideographic space, and the full-width forms of the digits, the signs, the
// separator and e/E (as a Chinese input method types them) count as their
// ASCII forms, except that the full-width full stop "．" and the ideographic
// full stop "。" are always a decimal point: a Chinese input method types one
// of them for the "." key whatever the system's separator ("。" in its
// Chinese punctuation mode). The minus sign U+2212 "−", as documents and web
// pages print it, counts as '-'. Everything else is rejected: the empty text,
// "inf", "nan", hexadecimal, digit grouping, any stray character.
// Throws TypeMismatch for a text that is not a number, and Overflow (carrying the
// text) for a number beyond the range of a double. A number too small to
// represent reads as zero of its sign, as the default environment rounds it.
double R8Str(std::u16string_view text, char16_t separator);
// The same for a text read from a control: the error names that control.
double R8Str(const Str& text, char16_t separator);

// The shortest text that reads back to the same double: a minus sign for
// negatives, no digit grouping, the integer part always present, `separator`
// before any fraction, no trailing zeros, zero as "0" (never "-0"). Magnitudes
// from 1e-4 up to 1e21 have no exponent; outside them the form is 1.5e-05 or
// 1e+21. Everything the calculator shows is of the first kind.
// The contract is kept for every finite double, not only for the hundredths
// the calculator shows: the digits are then right by construction rather than
// by the range of the callers, and the tests hold them to it (every hundredth,
// every power of two, random doubles against a second writer, the fuzzer's
// round trip).
std::u16string StrR8(double value, char16_t separator);

// The nearest signed 16-bit integer, ties to even. Throws Overflow when that
// integer is outside -32768..32767, and for infinities and NaN.
std::int16_t FpI2(double value);

[[noreturn]] void FPException(FpFault fault);

// Checks a stored intermediate result. The values are tested rather than the
// hardware status flags: every input is a finite double (R8Str yields no
// other), and with finite operands a result is infinite exactly when the
// operation overflowed or divided by zero, and NaN exactly when it was invalid.
// So a non-finite stored result is the same test as the flags, without relying
// on the compiler to keep flag reads in order around the arithmetic (it does
// not promise to). An overflow in an unstored difference that a later division
// brings back to a finite value goes unreported; nothing is written either way
// when a check does fail.
inline void FpCheck(double value) {
    if (!std::isfinite(value))
        FPException(std::isnan(value) ? FpFault::InvalidOperation : FpFault::Overflow);
}

// numerator / divisor. A zero divisor is reported as division by zero, 0/0
// included: to the user both mean the same thing, that two numbers which
// should differ are equal.
inline double FpDivide(double numerator, double divisor) {
    if (divisor == 0) FPException(FpFault::DivisionByZero);
    return numerator / divisor;
}

} // namespace rt
