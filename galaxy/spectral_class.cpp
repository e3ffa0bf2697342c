#include "galaxy/spectral_class.h"

namespace {
const char* const kClasses[kSpectralClassCount] = {"O", "B", "A",  "F",  "G", "K", "M",
                                                   "N", "WC", "WN", "R", "C", "S"};
const char* const kCodes[kLuminosityClassCount] = {"Ia0", "Ia", "Ib", "II", "III", "IV", "V", "VI"};
}  // namespace

const char* spectralClassName(int index) {
    return index >= 0 && index < kSpectralClassCount ? kClasses[index] : "";
}

int spectralClassIndex(std::string_view spectralclass) {
    for (int i = 0; i < kSpectralClassCount; ++i)
        if (spectralclass == kClasses[i]) return i;
    return 6;
}

const char* luminosityClassCode(int index) {
    return index >= 0 && index < kLuminosityClassCount ? kCodes[index] : "";
}

int luminosityClassIndex(std::string_view lumclass) {
    if (lumclass == "I") return 2;
    for (int i = 0; i < kLuminosityClassCount; ++i)
        if (lumclass == kCodes[i]) return i;
    return 7;
}
