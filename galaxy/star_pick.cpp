#include "galaxy/star_pick.h"

#include <cmath>
#include <limits>

namespace {

// Distance along the unit direction `d` from `origin` to where the ray first meets the
// sphere in front of the origin; negative when it does not.
float hitDistance(const std::array<float, 3>& origin, const std::array<float, 3>& d, const PickTarget& target) {
    const float ox = target.centre[0] - origin[0];
    const float oy = target.centre[1] - origin[1];
    const float oz = target.centre[2] - origin[2];
    const float along = ox * d[0] + oy * d[1] + oz * d[2];
    const float offAxisSquared = ox * ox + oy * oy + oz * oz - along * along;
    const float radiusSquared = target.radius * target.radius;
    if (offAxisSquared > radiusSquared) return -1.0f;
    const float halfChord = std::sqrt(radiusSquared - offAxisSquared);
    if (along - halfChord >= 0.0f) return along - halfChord;
    return along + halfChord;  // the origin lies inside, or the sphere behind it (negative)
}

}  // namespace

std::optional<StarId> nearestHit(const PickRay& ray, const std::vector<PickTarget>& targets) {
    const auto& v = ray.direction;
    const float length = std::sqrt(v[0] * v[0] + v[1] * v[1] + v[2] * v[2]);
    if (!(length > 0.0f)) return std::nullopt;
    const std::array<float, 3> unit{v[0] / length, v[1] / length, v[2] / length};
    std::optional<StarId> nearest;
    float nearestDistance = std::numeric_limits<float>::infinity();
    for (const PickTarget& target : targets) {
        if (!target.shown) continue;
        const float distance = hitDistance(ray.origin, unit, target);
        if (distance >= 0.0f && distance < nearestDistance) {
            nearestDistance = distance;
            nearest = target.star;
        }
    }
    return nearest;
}
