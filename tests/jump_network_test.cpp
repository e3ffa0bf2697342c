// The jump network: reading the jump data, the mass categories, whether one jump joins two
// stars, the route with its waypoints and list rows, the marking of reachable stars, and the
// route search through the window (near targets) and along a corridor (far targets). Routes in
// the default galaxy are pinned by the golden route cases.

#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <memory>
#include <string>
#include <tuple>
#include <vector>

#include "galaxy/galaxy_window.h"
#include "galaxy/jump_network.h"

#include "tests/galaxy_test_support.h"

namespace {

using Rows = std::vector<std::string>;

// One category of masses 0.5 to 2 with a nominal jump of 3 pc and 10 % tolerance: a jump
// needs a distance strictly between about 2.7 and 3.3 pc.
const char* const kThreeParsecs = "1,10,1\n0.5,2\n3\n";
// The same with a jump of 2 pc and 50 %: with exact float offsets distances hit the ends of
// (1 + 3 * 2^-27, 3 - 3 * 2^-27) exactly.
const char* const kWideBand = "1,50,1\n0.5,2\n2\n";

// A star at absolute position (x, y, z) in parsecs, z being the height; offsets are x, up, y.
std::unique_ptr<StarRecord> makeStar(const std::string& name, double x, double y, double z, double mass = 1.0) {
    auto star = std::make_unique<StarRecord>();
    const double position[3] = {x, y, z};
    std::int32_t* cube[3] = {&star->cube.x, &star->cube.y, &star->cube.z};
    for (int a = 0; a < 3; ++a) {
        *cube[a] = static_cast<std::int32_t>(std::floor(position[a] / 10.0));
        star->offset[a == 0 ? 0 : 3 - a] = static_cast<float>(position[a] - 10.0 * *cube[a]);
    }
    star->physical = std::make_unique<StellarData>();
    star->physical->name = name;
    star->physical->mass = mass;
    star->classified = star->systemfromfile = 1;
    return star;
}

JumpNetwork network(const std::string& jumpData) {
    JumpNetwork result;
    result.readJumpData(jumpData);
    return result;
}

// A galaxy of hand-placed catalogue stars only: without a density picture no cube generates
// stars, so the window holds exactly the stars placed here.
struct HandGalaxy {
    std::unique_ptr<GalaxyCatalogue> catalogue = smallGalaxy();
    std::unique_ptr<GalaxyWindow> window;  // goes before the catalogue it looks at

    StarRecord* add(const std::string& name, double x, double y, double z, double mass = 1.0) {
        catalogue->stars.push_back(makeStar(name, x, y, z, mass));
        catalogue->count = static_cast<std::int32_t>(catalogue->stars.size());
        return catalogue->stars.back().get();
    }
    void build(float x, float y, float z) {
        catalogue->buildCubeIndex();
        window = std::make_unique<GalaxyWindow>(*catalogue);
        window->rebuild(x, y, z);
    }
    // Searches a route from the given waypoints to `target`; the rows of the route after.
    Rows route(const std::vector<const StarRecord*>& waypoints, const StarRecord& target, bool found,
               const std::string& jumpData = kThreeParsecs) {
        JumpNetwork jumps = network(jumpData);
        for (const StarRecord* star : waypoints) jumps.addWaypoint(*star);
        EXPECT_EQ(jumps.findRoute(target, *window), found);
        const std::vector<StarRecord>& hops = jumps.waypoints();
        for (std::size_t i = 1; i < hops.size(); ++i) EXPECT_TRUE(jumps.canJump(hops[i - 1], hops[i])) << i;
        return jumps.rows();
    }
};

TEST(JumpData, ReadsCountToleranceBoundsLengthsAndCategories) {
    JumpNetwork jumps = network("2,15,2\n0.1,0.5,0.5,3.7\n1,2.5\n2.5,xyz\n");
    EXPECT_EQ(jumps.categorycount, 2);
    EXPECT_DOUBLE_EQ(jumps.tolerance, 15.0);
    EXPECT_EQ(jumps.bounds, (std::vector<float>{0.1f, 0.5f, 0.5f, 3.0f}));  // the last bound whole
    EXPECT_EQ(jumps.lengths, (std::vector<float>{2.0f, 5.0f, 5.0f, 0.0f}));  // scaled; no number is 0

    auto sun = makeStar("Sol", 0, 0, 0);
    jumps.maxcandidates = 3;
    ASSERT_TRUE(jumps.load(STARVANE_SOURCE_DIR "/data/Starvane/Data/DefaultJumpData.csv", sun.get()));
    EXPECT_EQ(jumps.categorycount, 10);
    EXPECT_EQ(jumps.lengths.size(), 100u);
    EXPECT_EQ(jumps.maxcandidates, 10);
    EXPECT_EQ(jumps.rows(), Rows{"Sol"});
    // Both ends of a category are inclusive.
    for (const auto& [mass, category, inside] : {std::tuple{0.08, 0, true}, {0.0799, 0, false}, {0.25, 0, true},
                                                 {0.25, 1, true}, {150.0, 9, true}, {150.5, 9, false}})
        EXPECT_EQ(jumps.inCategory(mass, category), inside) << mass << " in " << category;

    // Towards a star of mass 1 the bands of categories 0 and 1 are 2.45 and 2.78 pc, +-15 %;
    // a star of mass 0.25 is in both. Stars in no category neither jump nor are reached.
    for (const auto& [x, mass, jump] : {std::tuple{3.1, 0.25, true}, {3.1, 0.2, false}, {2.1, 0.25, true},
                                        {2.1, 0.3, false}, {3.4, 1.0, true}, {3.4, 0.05, false}}) {
        auto other = makeStar("Other", x, 0, 0, mass);
        EXPECT_EQ(jumps.canJump(*sun, *other), jump) << x << " pc, mass " << mass;
        EXPECT_EQ(jumps.canJump(*other, *sun), jump) << x << " pc, mass " << mass;
    }
}

// The band is (1 - s) M < d < (1 + s) M with s = tolerance * 0.01f, in single precision.
TEST(CanJump, StrictBoundsWithSinglePrecisionHundredth) {
    const JumpNetwork wide = network(kWideBand);
    auto a = makeStar("A", 0, 0, 0);
    auto b = makeStar("B", 0, 0, 0);
    struct Case { float from, to; bool jumps; };
    const Case cases[] = {
        {-std::ldexp(3.0f, -27), 1.0f, false},  // exactly the low end
        {-std::ldexp(3.0f, -27), std::nextafter(1.0f, 2.0f), true},
        {-std::ldexp(1.0f, -27), 1.0f, false},  // inside with an exact 0.01
        {std::ldexp(3.0f, -27), 3.0f, false},   // exactly the high end
        {std::ldexp(3.0f, -27), std::nextafter(3.0f, 0.0f), true},
        {std::ldexp(1.0f, -28), 3.0f, false},   // inside with an exact 0.01
    };
    for (const Case& c : cases) {
        a->offset = {c.from, 0.0f, 0.0f};
        b->offset = {c.to, 0.0f, 0.0f};
        EXPECT_EQ(wide.canJump(*a, *b), c.jumps) << starDistance(*a, *b);
        EXPECT_EQ(wide.canJump(*b, *a), c.jumps) << starDistance(*a, *b);
    }
}

// Without the file no jump is possible, and the route still starts at home, which stays.
TEST(Waypoints, RouteListAndTheHomeStar) {
    std::vector<std::unique_ptr<StarRecord>> stars;
    for (const char* name : {"Home", "B", "C", "D"}) {
        stars.push_back(makeStar(name, 3.0 * static_cast<double>(stars.size()), 0, 0));
        stars.back()->id = StarId::catalogueStar(static_cast<std::int32_t>(stars.size()));
    }
    StarRecord &home = *stars[0], &b = *stars[1], &c = *stars[2], &d = *stars[3];
    JumpNetwork jumps;
    EXPECT_FALSE(jumps.load("/nonexistent/jump/data.csv", &home));
    EXPECT_FALSE(jumps.canJump(home, b));
    jumps.removeWaypoint();
    EXPECT_EQ(jumps.rows(), Rows{"Home"});

    jumps.addWaypoint(b);
    jumps.addWaypoint(c);
    jumps.addConnectedWaypoint(d);  // not connected: ignored
    b.connected = d.connected = 1;
    jumps.addConnectedWaypoint(b);  // already on the route: ignored
    EXPECT_EQ(jumps.rows(), (Rows{"Home", "B", "C"}));
    EXPECT_FALSE(jumps.onRoute(d.id));
    jumps.addConnectedWaypoint(d);
    EXPECT_EQ(jumps.lastWaypoint()->id, d.id);
    for (int i = 0; i < 4; ++i) jumps.removeWaypoint();
    EXPECT_FALSE(jumps.onRoute(b.id) || jumps.onRoute(c.id) || jumps.onRoute(d.id));
    EXPECT_TRUE(jumps.onRoute(home.id));
}

// Near targets (cube indices less than two apart) are searched breadth-first through the
// window's stars; far ones through the windows around both ends and a corridor between them.
// The route has the fewest jumps, the window's order deciding between equal ones; a failed
// search leaves it unchanged. Marking the stars one jump reaches looks at the window only.
TEST(FindRoute, NearTargetsThroughTheWindow) {
    HandGalaxy galaxy;
    StarRecord* start = galaxy.add("Start", 1, 5, 5);
    StarRecord* deadEnd = galaxy.add("DeadEnd", 1, 8, 5);
    StarRecord* b = galaxy.add("B", 4, 5, 5);
    StarRecord* c = galaxy.add("C", 7, 5, 5);
    StarRecord* d = galaxy.add("D", 10, 5, 5);  // the neighbouring cube
    StarRecord* side = galaxy.add("Side", 4, 8, 5);
    StarRecord* outside = galaxy.add("Outside", 25, 5, 5);  // beyond the window
    StarRecord* target = galaxy.add("Target", 13, 5, 5);
    StarRecord* far = galaxy.add("Far", 15, 15, 5);  // nothing within its reach
    galaxy.add("Upper", 2.5, 15, 1.5 + 2.9);
    StarRecord* upperEnd = galaxy.add("UpperEnd", 4, 15, 1.5);
    galaxy.add("Lower", 2.5, 15, 1.5 - 2.9);  // in the cube below, earlier in the window
    StarRecord* upperStart = galaxy.add("UpperStart", 1, 15, 1.5);
    galaxy.build(0, 0, 0);
    start->connected = c->connected = outside->connected = 1;
    network(kThreeParsecs).markConnected(*galaxy.window, *c);
    EXPECT_EQ(b->connected + d->connected, 2);
    EXPECT_EQ(start->connected + c->connected + side->connected + deadEnd->connected, 0);
    EXPECT_EQ(outside->connected, 1);  // not in the window: left alone
    EXPECT_EQ(galaxy.route({start}, *target, true), (Rows{"Start", "B", "C", "D", "Target"}));
    EXPECT_EQ(galaxy.route({start, b}, *far, false), (Rows{"Start", "B"}));
    EXPECT_EQ(galaxy.route({c}, *b, false), Rows{"C"});  // not the direct jump
    EXPECT_EQ(galaxy.route({upperStart}, *upperEnd, true), (Rows{"UpperStart", "Lower", "UpperEnd"}));
    auto stranger = makeStar("Stranger", 1, 5, 5);  // not one of the window's stars
    EXPECT_EQ(galaxy.route({stranger.get()}, *target, false), Rows{"Stranger"});
}

// The search takes the same strict band as a single jump: a star exactly at the end of the band
// is no hop, so the route goes round it.
TEST(FindRoute, HopsKeepTheStrictBand) {
    HandGalaxy galaxy;
    // From each start the edge star lies exactly at one end of the band, earlier in the window
    // than the star the route should take.
    const std::tuple<float, float, float> ends[] = {{-std::ldexp(3.0f, -27), 1.0f, 3.5f}, {std::ldexp(3.0f, -27), 3.0f, 5.0f}};
    for (int row = 0; row < 2; ++row) {
        const auto [from, edge, to] = ends[row];
        const std::string end = row == 0 ? "Low" : "High";
        galaxy.add(end, 0, 10.0 * row, 0)->offset = {from, 0.0f, 0.0f};
        galaxy.add(end + "Edge", 0, 10.0 * row, 0)->offset = {edge, 0.0f, 0.0f};
        galaxy.add(end + "Round", to / 2, 10.0 * row + 1.5, 0);
        galaxy.add(end + "Target", to, 10.0 * row, 0);
    }
    galaxy.build(0, 0, 0);
    const auto& stars = galaxy.catalogue->stars;
    EXPECT_EQ(galaxy.route({stars[0].get()}, *stars[3], true, kWideBand), (Rows{"Low", "LowRound", "LowTarget"}));
    EXPECT_EQ(galaxy.route({stars[4].get()}, *stars[7], true, kWideBand), (Rows{"High", "HighRound", "HighTarget"}));
}

// A far search needs no view window at either end and leaves the view's window as it is. A
// corridor longer than any line across the galaxy is not searched, even where hops would
// reach: 62 kpc through a star beside the start.
TEST(FindRoute, FarTargetsAlongACorridorWithinTheGalaxy) {
    HandGalaxy galaxy;
    Rows names;
    for (int i = 0; i < 8; ++i) {
        names.push_back(i == 0 ? "Start" : i == 7 ? "Target" : std::string(1, static_cast<char>('A' + i)));
        galaxy.add(names.back(), 1 + 3 * i, 5, 5);
    }
    StarRecord* lonely = galaxy.add("Lonely", 45, 5, 5);
    StarRecord* viewed = galaxy.add("Viewed", 505, 505, 5);
    StarRecord* farStart = galaxy.add("FarStart", -30999, 5, 5);
    galaxy.add("Hop", -30989, 5, 5, 4.0);
    StarRecord* farTarget = galaxy.add("FarTarget", 31011, 5, 5, 4.0);
    galaxy.build(50, 50, 0);  // the view is elsewhere
    const StarRecord* start = galaxy.catalogue->stars[0].get();
    EXPECT_EQ(galaxy.route({start}, *galaxy.catalogue->stars[7], true), names);
    EXPECT_EQ(galaxy.route({start}, *lonely, false), Rows{"Start"});
    EXPECT_EQ(galaxy.window->centreCube().stars, std::vector<StarRecord*>{viewed});
    EXPECT_EQ(galaxy.route({farStart}, *farTarget, false, "2,10,1\n0.5,2,3,5\n3,10\n10,62000\n"), Rows{"FarStart"});
}

}  // namespace
