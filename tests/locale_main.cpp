// The core suites' main: GoogleTest's, under the locale the run asks for.
#include <gtest/gtest.h>

#include "test_locale.h"

int main(int argc, char** argv) {
    testing_locale::applyRequestedLocale();
    testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
