// The pick of the star under the pointer: the nearest shown sphere in front of the ray's origin.

#include <gtest/gtest.h>

#include <vector>

#include "galaxy/star_pick.h"

namespace {

StarId star(int n) { return StarId::catalogueStar(n); }

}  // namespace

TEST(StarPick, NearestShownSphereInFront) {
    const PickRay down{{0, 0, 0}, {0, 0, 2}};  // along +z; the length does not matter
    const struct {
        const char* what;
        PickRay ray;
        std::vector<PickTarget> targets;
        int expected;  // catalogue number, -1 for none
    } cases[] = {
        {"nearer of two on the ray", down, {{star(1), {0, 0, 10}, 1}, {star(2), {0, 0, 5}, 1}}, 2},
        {"just inside the radius", down, {{star(1), {0.99f, 0, 5}, 1}}, 1},
        {"just outside the radius", down, {{star(1), {1.01f, 0, 5}, 1}}, -1},
        {"behind the origin", down, {{star(1), {0, 0, -5}, 1}}, -1},
        {"behind skipped, the one in front", down, {{star(1), {0, 0, -2}, 1}, {star(2), {0, 0, 8}, 1}}, 2},
        {"hidden nearer skipped", down, {{star(1), {0, 0, 3}, 1, false}, {star(2), {0, 0, 9}, 1}}, 2},
        {"only hidden", down, {{star(1), {0, 0, 3}, 1, false}}, -1},
        {"the nearer surface wins", down, {{star(1), {0, 0, 6}, 0.5f}, {star(2), {0.5f, 0, 7}, 3}}, 2},
        {"tie: the earlier", down, {{star(4), {0.3f, 0, 5}, 1}, {star(3), {-0.3f, 0, 5}, 1}}, 4},
        {"origin inside a sphere", down, {{star(1), {0, 0, 0.5f}, 1}, {star(2), {0, 0, 3}, 1}}, 1},
        {"oblique ray", {{1, 1, 1}, {1, 1, 0}}, {{star(1), {4, 4.5f, 1}, 0.5f}, {star(2), {4, 4, 1.6f}, 0.5f}}, 1},
        {"zero direction", {{0, 0, 0}, {0, 0, 0}}, {{star(1), {0, 0, 0}, 1}}, -1},
        {"no stars", down, {}, -1},
    };
    for (const auto& c : cases) {
        const std::optional<StarId> hit = nearestHit(c.ray, c.targets);
        if (c.expected < 0)
            EXPECT_FALSE(hit.has_value()) << c.what;
        else
            EXPECT_TRUE(hit.has_value() && *hit == star(c.expected)) << c.what;
    }
}
