#include "cli/star_classification.h"

#include <cctype>
#include <string_view>

StellarData parseClassification(const std::string& text) {
    StellarData data;
    std::size_t digit = 0;
    while (digit < text.size() && !std::isdigit(static_cast<unsigned char>(text[digit]))) ++digit;
    if (digit == text.size()) {
        data.spectralclass = text.substr(0, 1);
        data.lumclass = text.size() > 1 ? text.substr(1) : "";
        return data;
    }
    data.spectralclass = text.substr(0, digit);
    data.subtype = text[digit] - '0';
    std::size_t rest = digit + 1;
    while (rest < text.size() &&
           (std::isdigit(static_cast<unsigned char>(text[rest])) || text[rest] == '.'))
        ++rest;
    data.lumclass = text.substr(rest);
    return data;
}

bool isKnownSpectralClass(const std::string& spectralclass) {
    constexpr std::string_view kKnown[] = {"O", "B", "A", "F", "G",  "K",  "M", "R", "S",
                                           "C", "WC", "WN", "DC", "D", "o", "b", "a", "f",
                                           "g", "k", "m", "r", "s", "c", "wc", "wn", "dc", "d"};
    for (std::string_view known : kKnown)
        if (spectralclass == known) return true;
    return false;
}
