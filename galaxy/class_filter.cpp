#include "galaxy/class_filter.h"

#include <iterator>

namespace {

// The spectral classes from ClassChoice::classO on, and the luminosity classes from
// LuminosityChoice::classII on.
const char* const kFilterClasses[] = {"O", "B", "A", "F", "G", "K", "M"};
const char* const kFilterLuminosities[] = {"II", "III", "IV", "V", "VI"};

// Position of `choice` in a list of `count` names that begins at `first`, or -1 outside it.
template <typename Choice>
int rowFrom(Choice choice, Choice first, int count) {
    const int row = static_cast<int>(choice) - static_cast<int>(first);
    return row >= 0 && row < count ? row : -1;
}

bool passesLuminosity(const std::string& lumclass, LuminosityChoice choice) {
    if (choice == LuminosityChoice::all) return true;
    if (choice == LuminosityChoice::classI)
        return lumclass == "I" || lumclass == "Ia" || lumclass == "Ib" || lumclass == "Ia0";
    const int row = rowFrom(choice, LuminosityChoice::classII, static_cast<int>(std::size(kFilterLuminosities)));
    return row >= 0 && lumclass == kFilterLuminosities[row];
}

}  // namespace

bool passesClassFilter(const StellarData& star, ClassChoice classChoice, LuminosityChoice luminosityChoice) {
    if (classChoice == ClassChoice::neutronStarsAndBlackHoles)
        return star.spectralclass == "Neut" || star.spectralclass == "BH";
    if (classChoice == ClassChoice::whiteDwarfs) return star.spectralclass == "DC";
    const int row = rowFrom(classChoice, ClassChoice::classO, static_cast<int>(std::size(kFilterClasses)));
    if (row >= 0 && star.spectralclass != kFilterClasses[row]) return false;
    return passesLuminosity(star.lumclass, luminosityChoice);
}
