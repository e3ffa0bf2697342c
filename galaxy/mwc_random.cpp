#include "galaxy/mwc_random.h"

MwcRandom& galaxyRandom() {
    static MwcRandom generator;
    return generator;
}

double drawGalaxyUniform(double a, double b) { return galaxyRandom().uniform(a, b); }
