#pragma once
// Works out everything about an accreted body beyond its orbit and masses: zone, period, tilt,
// size, gravity, gas retention, spin, climate, atmosphere and type; and for a planet, which of
// its moons survive and on what orbits.

#include "generation/body_node.h"

class LcgRandom;

enum MoonMode : int {
    kBodyOnly = 0,        // evaluate the body alone
    kBodyAndMoons = 1,    // handle the moons, then evaluate the body
    kMoonsOnly = 2,       // handle the moons only
};

// Evaluates `body` in place as body number `number` of `star`. A body may be evaluated again;
// each evaluation starts afresh except for what the steps leave alone (the albedo the climate
// starts from, the type a giant test does not set). Moons never get moons of their own.
// The tilt, a giant's albedo and the orbits of a light planet's moons are drawn from `random`.
void evaluateBody(BodyNode& body, int number, GeneratorStar& star, int moonMode, bool isMoon,
                  LcgRandom& random);
