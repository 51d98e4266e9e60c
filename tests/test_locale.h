// Runs a test program under the process locale that LINTERP_TEST_LOCALE names,
// the way a user's session sets it (de_DE.UTF-8 on Linux, "German" on
// Windows), so that every result is checked under a locale whose C library
// writes decimals with a comma. A run asked for such a locale that cannot have
// it stops at once: passing under the C locale would prove nothing.
#pragma once

#include <clocale>
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace testing_locale {

inline void applyRequestedLocale() {
    const char* name = std::getenv("LINTERP_TEST_LOCALE");
    if (name == nullptr || *name == '\0') return;
    if (std::setlocale(LC_ALL, name) == nullptr) {
        std::fprintf(stderr, "test locale %s is not available\n", name);
        std::exit(1);
    }
    char written[16];
    std::snprintf(written, sizeof written, "%.1f", 1.5);
    if (std::strcmp(written, "1,5") != 0) {
        std::fprintf(stderr, "test locale %s writes 1.5 as \"%s\", not with a comma\n", name, written);
        std::exit(1);
    }
    std::printf("Running under the locale %s\n", name);
}

} // namespace testing_locale
