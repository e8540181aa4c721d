// Writes the "CountriesAndCurrenciesData" property list: every ISO 3166 country code that ICU
// knows, mapped to the currency ICU names as current for that region. Run at build time.
#include <unicode/ucurr.h>
#include <unicode/uloc.h>

#include <cstdio>
#include <string>

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s OUTPUT.plist\n", argv[0]);
        return 64;
    }
    FILE* out = std::fopen(argv[1], "w");
    if (out == nullptr) {
        std::perror(argv[1]);
        return 1;
    }
    std::fputs(
        "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
        "<!DOCTYPE plist PUBLIC \"-//Apple//DTD PLIST 1.0//EN\" "
        "\"http://www.apple.com/DTDs/PropertyList-1.0.dtd\">\n"
        "<plist version=\"1.0\">\n<dict>\n",
        out);
    for (const char* const* country = uloc_getISOCountries(); *country != nullptr; ++country) {
        const std::string locale = std::string("und_") + *country;
        UChar buffer[4] = {};
        UErrorCode status = U_ZERO_ERROR;
        const int32_t length = ucurr_forLocale(locale.c_str(), buffer, 4, &status);
        // "XXX" is ICU's "no currency" (Antarctica, ...).
        if (U_FAILURE(status) || length != 3 ||
            (buffer[0] == 'X' && buffer[1] == 'X' && buffer[2] == 'X')) {
            continue;
        }
        std::fprintf(out, "\t<key>%s</key>\n\t<string>%c%c%c</string>\n", *country,
                     static_cast<char>(buffer[0]), static_cast<char>(buffer[1]),
                     static_cast<char>(buffer[2]));
    }
    std::fputs("</dict>\n</plist>\n", out);
    return std::fclose(out) == 0 ? 0 : 1;
}
