#pragma once
// The asteroids that stand in for a belt when a system goes to the simulator: each belt
// becomes a random swarm of small bodies along its orbit.

#include <string>
#include <vector>

#include "generation/generated_system.h"
#include "generation/lcg_random.h"

// A belt is a planet whose own record has the type asteroids.
bool isBelt(const PlanetSlot& planet);

// Draws the asteroids of every belt of `system` from `random`, belt after belt in
// planet order, each belt drawing its count and then its asteroids. They are named
// star name + " " + belt name + "#" + running number, usable as file names. Counts are held
// to the limits of text/format_limits.h, per belt and for the whole system.
std::vector<PlanetRecord> generateAsteroids(const GeneratedSystem& system, const std::string& starName,
                                            int maxCount, int minCount, LcgRandom& random);
