// The text a count of hundredths must show as, built from the integer alone
// (no floating point): -0.05, 3, 1.5. The tests hold the formatter to it.
#pragma once

#include <cstdlib>
#include <string>

namespace testing_support {

inline std::string hundredthsText(long k) {
    const long whole = std::labs(k) / 100, cents = std::labs(k) % 100;
    // Appended piece by piece: GCC 12 at -O3 wrongly warns of overlapping
    // copies (-Wrestrict) in "-" + std::string.
    std::string text;
    if (k < 0) text += '-';
    text += std::to_string(whole);
    if (cents != 0) {
        text += '.';
        text += static_cast<char>('0' + cents / 10);
        if (cents % 10 != 0) text += static_cast<char>('0' + cents % 10);
    }
    return text;
}

} // namespace testing_support
