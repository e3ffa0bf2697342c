#pragma once
// Which stars the class filter shows. The choices are the rows of the filter's two lists, in
// their order, so a list's selected row converts to its choice.

#include "galaxy/star_record.h"

enum class ClassChoice : int {
    all = 0,
    classO,
    classB,
    classA,
    classF,
    classG,
    classK,
    classM,
    whiteDwarfs,                // spectral class "DC"
    neutronStarsAndBlackHoles,  // "Neut" and "BH"
};

enum class LuminosityChoice : int {
    all = 0,
    classI,  // any of "I", "Ia", "Ib", "Ia0"
    classII,
    classIII,
    classIV,
    classV,
    classVI,
};

// Remnants pass their own class choice whatever the luminosity choice; other stars must pass
// both choices. A class choice beyond its list passes every class, a luminosity choice beyond
// its list no star.
bool passesClassFilter(const StellarData& star, ClassChoice classChoice, LuminosityChoice luminosityChoice);
