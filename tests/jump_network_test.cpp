// The jump network: reading the jump data, the mass categories, whether one jump joins two
// stars, the route with its waypoints and list rows, the marking of reachable stars, and the
// route search through the window (near targets) and along a corridor (far targets).

#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "files/galaxy_files.h"
#include "galaxy/galaxy_window.h"
#include "galaxy/jump_network.h"
#include "galaxy/stellar_tables.h"
#include "platform/file_image.h"

#include "tests/galaxy_test_support.h"

namespace {

// A star at absolute position (x, y, z) in parsecs, z being the height.
std::unique_ptr<StarRecord> makeStar(const std::string& name, double x, double y, double z, double mass) {
    auto star = std::make_unique<StarRecord>();
    const double position[3] = {x, y, z};
    std::int32_t* index[3] = {&star->cube.x, &star->cube.y, &star->cube.z};
    const int slot[3] = {0, 2, 1};  // offsets are kept as x, up, y
    for (int a = 0; a < 3; ++a) {
        const double cube = std::floor(position[a] / 10.0);
        *index[a] = static_cast<std::int32_t>(cube);
        star->offset[static_cast<std::size_t>(slot[a])] = static_cast<float>(position[a] - 10.0 * cube);
    }
    star->physical = std::make_unique<StellarData>();
    star->physical->name = name;
    star->physical->mass = mass;
    star->physical->spectralclass = "G";
    star->physical->lumclass = "V";
    star->classified = star->systemfromfile = 1;
    return star;
}

// One category of masses 0.5 to 2 with a nominal jump of 3 pc and 10 % tolerance: a jump
// needs a distance strictly between about 2.7 and 3.3 pc.
JumpNetwork threeParsecNetwork() {
    JumpNetwork network;
    network.readJumpData("1,10,1\n0.5,2\n3\n");
    return network;
}

void expectValidHops(const JumpNetwork& network, const std::vector<StarRecord>& route) {
    for (std::size_t i = 1; i < route.size(); ++i)
        EXPECT_TRUE(network.canJump(route[i - 1], route[i]))
            << route[i - 1].physical->name << " -> " << route[i].physical->name << " at "
            << starDistance(route[i - 1], route[i]) << " pc";
}

// A galaxy of hand-placed catalogue stars only: without a density picture no cube generates
// stars, so the window holds exactly the stars placed here.
struct HandGalaxy {
    GalaxyCatalogue catalogue;
    std::unique_ptr<GalaxyWindow> window;

    HandGalaxy() {
        catalogue.stellartables = &realTables();
        catalogue.thindisc = 100.0;
        catalogue.thickdisc = 200.0;
        catalogue.centreradius = 100.0;
        catalogue.bulgewidth = catalogue.bulgelength = catalogue.bulgeheight = 1.0;
        catalogue.bulgeangle = 0.0;
    }
    ~HandGalaxy() { window.reset(); }

    StarRecord* add(const std::string& name, double x, double y, double z, double mass = 1.0) {
        catalogue.stars.push_back(makeStar(name, x, y, z, mass));
        catalogue.count = static_cast<std::int32_t>(catalogue.stars.size());
        return catalogue.stars.back().get();
    }

    void build(float x, float y, float z) {
        catalogue.buildCubeIndex();
        window = std::make_unique<GalaxyWindow>(catalogue);
        window->rebuild(x, y, z);
    }
};

JumpNetwork defaultNetwork(const StarRecord* home = nullptr) {
    JumpNetwork network;
    EXPECT_TRUE(network.load(STARVANE_SOURCE_DIR "/data/Starvane/Data/DefaultJumpData.csv", home));
    return network;
}

// A route search from `start` to `target` through the hand galaxy; the rows of the route after.
std::vector<std::string> routeRows(HandGalaxy& galaxy, const std::vector<StarRecord*>& route,
                                   const StarRecord& target, bool found) {
    JumpNetwork network = threeParsecNetwork();
    for (StarRecord* star : route) network.addWaypoint(*star);
    EXPECT_EQ(network.findRoute(target, *galaxy.window), found);
    expectValidHops(network, network.waypoints());
    return network.rows();
}

using Rows = std::vector<std::string>;

// --- Jump data and single jumps -----------------------------------------------------------------

TEST(JumpData, ReadsCountToleranceBoundsAndScaledLengths) {
    JumpNetwork network;
    network.readJumpData("2,15,2\n0.1,0.5,0.5,3.7\n1,2.5\n2.5,xyz\n");
    EXPECT_EQ(network.categorycount, 2);
    EXPECT_DOUBLE_EQ(network.tolerance, 15.0);
    EXPECT_EQ(network.bounds, (std::vector<float>{0.1f, 0.5f, 0.5f, 3.0f}));  // the last bound whole
    EXPECT_EQ(network.lengths, (std::vector<float>{2.0f, 5.0f, 5.0f, 0.0f}));  // scaled; no number is 0

    auto home = makeStar("Sol", 1, 1, 1, 1.0);
    network.maxcandidates = 3;
    network = defaultNetwork(home.get());
    EXPECT_EQ(network.categorycount, 10);
    EXPECT_EQ(network.lengths.size(), 100u);
    EXPECT_EQ(network.maxcandidates, 10);
    EXPECT_EQ(network.rows(), Rows{"Sol"});

    // Without the file no jump is possible, and the route still starts at home.
    auto near = makeStar("Near", 4, 1, 1, 1.0);
    JumpNetwork missing;
    EXPECT_FALSE(missing.load("/nonexistent/jump/data.csv", home.get()));
    EXPECT_FALSE(missing.canJump(*home, *near));
    EXPECT_EQ(missing.rows(), Rows{"Sol"});
}

TEST(JumpCategories, BothEndsInclusiveAndAnyPairOfCategories) {
    const JumpNetwork network = defaultNetwork();
    EXPECT_TRUE(network.inCategory(0.08, 0));
    EXPECT_FALSE(network.inCategory(0.0799, 0));
    EXPECT_TRUE(network.inCategory(0.25, 0) && network.inCategory(0.25, 1));
    EXPECT_TRUE(network.inCategory(150.0, 9));
    EXPECT_FALSE(network.inCategory(150.5, 9));

    // Towards a star of mass 1 the bands of categories 0 and 1 are 2.45 and 2.78 pc, +-15 %;
    // a star of mass 0.25 is in both. Stars in no category neither jump nor are reached.
    auto sun = makeStar("Sun", 0, 0, 0, 1.0);
    struct Case {
        double x, mass;
        bool jumps;
    };
    for (const Case& c : {Case{3.1, 0.25, true}, Case{3.1, 0.2, false}, Case{2.1, 0.25, true},
                          Case{2.1, 0.3, false}, Case{3.4, 1.0, true}, Case{3.4, 0.05, false}}) {
        auto other = makeStar("Other", c.x, 0, 0, c.mass);
        EXPECT_EQ(network.canJump(*sun, *other), c.jumps) << c.x << " pc, mass " << c.mass;
        EXPECT_EQ(network.canJump(*other, *sun), c.jumps) << c.x << " pc, mass " << c.mass;
    }
}

// The band is (1 - s) M < d < (1 + s) M with s = tolerance * 0.01f. With tolerance 50 and M = 2
// its ends are 1 + 3 * 2^-27 and 3 - 3 * 2^-27; exact float offsets hit them exactly.
TEST(CanJump, StrictBoundsWithSinglePrecisionHundredth) {
    JumpNetwork network;
    network.readJumpData("1,50,1\n0.5,2\n2\n");
    auto a = makeStar("A", 0, 0, 0, 1.0);
    auto b = makeStar("B", 0, 0, 0, 1.0);
    struct Case {
        float from, to;
        bool jumps;
    };
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
        EXPECT_EQ(network.canJump(*a, *b), c.jumps) << starDistance(*a, *b);
        EXPECT_EQ(network.canJump(*b, *a), c.jumps) << starDistance(*a, *b);
    }

    // Offsets are x, up, y: the height joins cube.z with the second offset.
    network.readJumpData("1,1,1\n0.5,2\n5\n");
    b->cube = {0, 0, 1};
    b->offset = {3.0f, -6.0f, 0.0f};  // (3, 0, 4)
    a->offset = {0.0f, 0.0f, 0.0f};
    EXPECT_TRUE(network.canJump(*a, *b));
    b->cube = {0, 1, 0};
    b->offset = {3.0f, 0.0f, -6.0f};  // (3, 4, 0)
    EXPECT_TRUE(network.canJump(*a, *b));
    b->offset = {3.0f, -6.0f, 0.0f};  // (3, 10, -6)
    EXPECT_FALSE(network.canJump(*a, *b));
}

// --- Waypoints and reachable stars ----------------------------------------------------------------

TEST(Waypoints, RouteListAndTheHomeStar) {
    std::vector<std::unique_ptr<StarRecord>> stars;
    for (const char* name : {"Home", "B", "C", "D"}) {
        stars.push_back(makeStar(name, 3.0 * static_cast<double>(stars.size()), 0, 0, 1.0));
        stars.back()->id = StarId::catalogueStar(static_cast<std::int32_t>(stars.size()));
    }
    StarRecord &home = *stars[0], &b = *stars[1], &c = *stars[2], &d = *stars[3];
    JumpNetwork network;
    network.load("/nonexistent/jump/data.csv", &home);
    network.removeWaypoint();  // the home star stays
    EXPECT_EQ(network.rows(), Rows{"Home"});

    network.addWaypoint(b);
    network.addWaypoint(c);
    network.addConnectedWaypoint(d);  // not connected: ignored
    b.connected = d.connected = 1;
    network.addConnectedWaypoint(b);  // already on the route: ignored
    EXPECT_EQ(network.rows(), (Rows{"Home", "B", "C"}));
    EXPECT_FALSE(network.onRoute(d.id));
    network.addConnectedWaypoint(d);
    EXPECT_EQ(network.lastWaypoint()->id, d.id);
    for (int i = 0; i < 4; ++i) network.removeWaypoint();
    EXPECT_FALSE(network.onRoute(b.id) || network.onRoute(c.id) || network.onRoute(d.id));
    EXPECT_TRUE(network.onRoute(home.id));
}

TEST(MarkConnected, EveryStarOfTheWindowAndNoOther) {
    HandGalaxy galaxy;
    StarRecord* from = galaxy.add("From", 8, 5, 5);
    StarRecord* reach = galaxy.add("Reach", 5, 5, 5);
    StarRecord* miss = galaxy.add("Miss", 8, 9, 5);
    StarRecord* nextReach = galaxy.add("NextReach", 11, 5, 5);  // the neighbouring cube
    StarRecord* outside = galaxy.add("Outside", 25, 5, 5);      // beyond the window
    galaxy.build(0, 0, 0);
    miss->connected = from->connected = outside->connected = 1;
    threeParsecNetwork().markConnected(*galaxy.window, *from);
    EXPECT_EQ(reach->connected + nextReach->connected, 2);
    EXPECT_EQ(miss->connected + from->connected, 0);
    EXPECT_EQ(outside->connected, 1);  // not in the window: left alone
}

// --- Route search -----------------------------------------------------------------------------------
//
// Near targets (cube indices less than two apart) are searched breadth-first through the
// window's stars; far ones through the windows around both ends and a corridor between them.
// The route has the fewest jumps, never the direct jump; a failed search leaves it unchanged.

TEST(FindRoute, NearTargetsThroughTheWindow) {
    HandGalaxy galaxy;
    StarRecord* start = galaxy.add("Start", 1, 5, 5);
    galaxy.add("DeadEnd", 1, 8, 5);
    galaxy.add("B", 4, 5, 5);
    galaxy.add("C", 7, 5, 5);
    galaxy.add("D", 10, 5, 5);
    galaxy.add("Side", 4, 8, 5);
    StarRecord* target = galaxy.add("Target", 13, 5, 5);
    StarRecord* far = galaxy.add("Far", 15, 15, 5);  // nothing within its reach
    galaxy.build(0, 0, 0);
    EXPECT_EQ(routeRows(galaxy, {start}, *target, true), (Rows{"Start", "B", "C", "D", "Target"}));
    EXPECT_EQ(routeRows(galaxy, {start, galaxy.catalogue.stars[2].get()}, *far, false), (Rows{"Start", "B"}));
    EXPECT_EQ(routeRows(galaxy, {galaxy.catalogue.stars[3].get()}, *galaxy.catalogue.stars[2], false), Rows{"C"});
    // A start that is not one of the window's stars finds nothing.
    auto stranger = makeStar("Stranger", 1, 5, 5, 1.0);
    EXPECT_EQ(routeRows(galaxy, {stranger.get()}, *target, false), Rows{"Stranger"});
}

TEST(FindRoute, WindowOrderDecidesBetweenEqualRoutes) {
    HandGalaxy galaxy;
    StarRecord* start = galaxy.add("Start", 1, 5, 1.5);
    StarRecord* target = galaxy.add("Target", 4, 5, 1.5);
    galaxy.add("Upper", 2.5, 5, 1.5 + 2.9);
    galaxy.add("Lower", 2.5, 5, 1.5 - 2.9);  // in the cube below, earlier in the window
    galaxy.build(0, 0, 0);
    EXPECT_EQ(routeRows(galaxy, {start}, *target, true), (Rows{"Start", "Lower", "Target"}));
}

TEST(FindRoute, FarTargetsNeedNoViewWindowAtEitherEnd) {
    HandGalaxy galaxy;
    Rows names;
    for (int i = 0; i < 8; ++i) {
        names.push_back(i == 0 ? "Start" : i == 7 ? "Target" : std::string(1, static_cast<char>('A' + i)));
        galaxy.add(names.back(), 1 + 3 * i, 5, 5);
    }
    StarRecord* lonely = galaxy.add("Lonely", 45, 5, 5);
    galaxy.build(50, 50, 0);  // the view is elsewhere
    StarRecord* start = galaxy.catalogue.stars[0].get();
    EXPECT_EQ(routeRows(galaxy, {start}, *galaxy.catalogue.stars[7], true), names);
    EXPECT_EQ(routeRows(galaxy, {start}, *lonely, false), Rows{"Start"});
}

// A corridor longer than any line across the galaxy is not searched, even where hops would
// reach: 62 kpc through a star beside the start.
TEST(FindRoute, GivesUpBeyondTheGalaxy) {
    HandGalaxy galaxy;
    StarRecord* start = galaxy.add("Start", -30999, 5, 5);
    StarRecord* hop = galaxy.add("Hop", -30989, 5, 5, 4.0);
    StarRecord* target = galaxy.add("Target", 31011, 5, 5, 4.0);
    galaxy.build(0, 0, 0);
    JumpNetwork network;
    network.readJumpData("2,10,1\n0.5,2,3,5\n3,10\n10,62000\n");
    ASSERT_TRUE(network.canJump(*start, *hop) && network.canJump(*hop, *target));
    network.addWaypoint(*start);
    EXPECT_FALSE(network.findRoute(*target, *galaxy.window));
}

// In the default galaxy a route of 265 pc runs through generated stars and leaves the view's
// window untouched; the route itself is pinned by the golden route cases.
TEST(FindRoute, DefaultGalaxyThroughGeneratedStars) {
    GalaxyCatalogue catalogue;
    loadGalaxy(catalogue, STARVANE_SOURCE_DIR "/data", "MilkyWay", realTables());
    catalogue.densityimage = FileImageLoader{}.load(
        (galaxyFolder(STARVANE_SOURCE_DIR "/data", "MilkyWay") / "GrayScale.jpg").string());
    auto named = [&](const std::string& name) -> StarRecord* {
        for (const auto& star : catalogue.stars)
            if (star != nullptr && star->physical && star->physical->name == name) return star.get();
        return nullptr;
    };
    StarRecord* sol = named("Sol");
    StarRecord* rigel = named("Rigel");
    ASSERT_TRUE(sol != nullptr && rigel != nullptr && catalogue.densityimage != nullptr);
    GalaxyWindow window(catalogue);
    window.rebuild(static_cast<float>(sol->cube.x), static_cast<float>(sol->cube.y), static_cast<float>(sol->cube.z));
    std::vector<std::vector<StarRecord*>> before;
    for (int node = 0; node < GalaxyWindow::kCubeCount; ++node) before.push_back(window.cube(node).stars);

    JumpNetwork network = defaultNetwork(sol);
    ASSERT_TRUE(network.findRoute(*rigel, window));
    const std::vector<StarRecord>& route = network.waypoints();
    EXPECT_EQ(route.back().id, rigel->id);
    expectValidHops(network, route);
    for (int node = 0; node < GalaxyWindow::kCubeCount; ++node)
        EXPECT_EQ(window.cube(node).stars, before[static_cast<std::size_t>(node)]);
}

}  // namespace
