#include "galaxy/class_filter.h"

namespace {

const char* const kFilterClasses[] = {"O", "B", "A", "F", "G", "K", "M"};
const char* const kFilterLuminosities[] = {"II", "III", "IV", "V", "VI"};

bool passesLuminosity(const std::string& lumclass, int luminosityIndex) {
    if (luminosityIndex == 0) return true;
    if (luminosityIndex == 1)
        return lumclass == "I" || lumclass == "Ia" || lumclass == "Ib" || lumclass == "Ia0";
    if (luminosityIndex >= 2 && luminosityIndex <= 6)
        return lumclass == kFilterLuminosities[luminosityIndex - 2];
    return false;
}

}  // namespace

bool passesClassFilter(const StellarData& star, int classIndex, int luminosityIndex) {
    if (classIndex == 9) return star.spectralclass == "Neut" || star.spectralclass == "BH";
    if (classIndex == 8) return star.spectralclass == "DC";
    if (classIndex >= 1 && classIndex <= 7 && star.spectralclass != kFilterClasses[classIndex - 1])
        return false;
    return passesLuminosity(star.lumclass, luminosityIndex);
}
