#pragma once
// Which star a ray from the viewer meets first: the pointer's ray through the 3D view picks the
// star under it. Each star is a sphere of its marker's radius; stars the filter hides are
// passed through.

#include <array>
#include <optional>
#include <vector>

#include "galaxy/star_id.h"

struct PickRay {
    std::array<float, 3> origin{0.0f, 0.0f, 0.0f};
    std::array<float, 3> direction{0.0f, 0.0f, 1.0f};  // need not be of unit length
};

struct PickTarget {
    StarId star;
    std::array<float, 3> centre{0.0f, 0.0f, 0.0f};
    float radius = 0.0f;
    bool shown = true;  // false: the filter hides it, and the ray passes through
};

// The shown star whose sphere the ray meets nearest in front of its origin (a sphere around
// the origin counts where the ray leaves it). Of two met at the same distance, the one earlier
// in `targets`. None when the ray meets no shown star or its direction is zero.
std::optional<StarId> nearestHit(const PickRay& ray, const std::vector<PickTarget>& targets);
