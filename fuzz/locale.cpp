// Every target runs under the locale its environment names, as the program
// does; fuzz/run.sh names one whose C library writes decimals with a comma.
#include <clocale>
#include <cstdio>

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    const char* name = std::setlocale(LC_ALL, "");
    std::fprintf(stderr, "fuzz: locale %s, decimal point \"%s\"\n", name ? name : "(unavailable)",
                 std::localeconv()->decimal_point);
    return 0;
}
