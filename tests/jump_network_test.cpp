// The jump network: reading the jump data, the mass categories, whether one jump joins two
// stars, the route with its waypoints and list rows, the marking of reachable stars, and the
// route search through the window (near targets) and along a corridor (far targets).

#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <memory>
#include <unordered_set>
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
    star->physical->subtype = 2;
    star->physical->lumclass = "V";
    star->classified = 1;
    star->systemfromfile = 1;
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

std::vector<std::string> namesOf(const std::vector<StarRecord>& stars) {
    std::vector<std::string> names;
    for (const StarRecord& star : stars) names.push_back(star.physical->name);
    return names;
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

// --- Jump data --------------------------------------------------------------------------------

TEST(JumpData, ReadsCountToleranceBoundsAndScaledLengths) {
    JumpNetwork network;
    network.readJumpData("2,15,2\n0.1,0.5,0.5,3.7\n1,2.5\n2.5,xyz\n");
    EXPECT_EQ(network.categorycount, 2);
    EXPECT_DOUBLE_EQ(network.tolerance, 15.0);
    // The last bound is read as a whole number.
    EXPECT_EQ(network.bounds, (std::vector<float>{0.1f, 0.5f, 0.5f, 3.0f}));
    // Lengths carry the scale; text without a number reads as 0.
    EXPECT_EQ(network.lengths, (std::vector<float>{2.0f, 5.0f, 5.0f, 0.0f}));
}

TEST(JumpData, DefaultFileLoadsAndStartsTheRouteAtHome) {
    auto home = makeStar("Sol", 1, 1, 1, 1.0);
    JumpNetwork network;
    network.maxcandidates = 3;
    ASSERT_TRUE(network.load(STARVANE_SOURCE_DIR "/data/Starvane/Data/DefaultJumpData.csv", home.get()));
    EXPECT_EQ(network.categorycount, 10);
    EXPECT_DOUBLE_EQ(network.tolerance, 15.0);
    ASSERT_EQ(network.bounds.size(), 20u);
    EXPECT_FLOAT_EQ(network.bounds[0], 0.08f);
    EXPECT_FLOAT_EQ(network.bounds[19], 150.0f);
    ASSERT_EQ(network.lengths.size(), 100u);
    EXPECT_FLOAT_EQ(network.lengths[0 * 10 + 3], 2.45f);
    EXPECT_FLOAT_EQ(network.lengths[3 * 10 + 0], 2.45f);
    EXPECT_FLOAT_EQ(network.lengths[9 * 10 + 9], 1000.0f);
    EXPECT_EQ(network.maxcandidates, 10);
    EXPECT_EQ(network.rows(), std::vector<std::string>{"Sol"});
}

TEST(JumpData, MissingFileMeansNoJumpAtAll) {
    auto home = makeStar("Sol", 1, 1, 1, 1.0);
    auto other = makeStar("Near", 4, 1, 1, 1.0);
    JumpNetwork network;
    EXPECT_FALSE(network.load("/nonexistent/jump/data.csv", home.get()));
    EXPECT_EQ(network.categorycount, 0);
    EXPECT_FALSE(network.canJump(*home, *other));
    EXPECT_EQ(network.rows(), std::vector<std::string>{"Sol"});
}

// --- Categories and single jumps ----------------------------------------------------------------

TEST(JumpCategories, BothEndsInclusiveAndOverlapping) {
    JumpNetwork network;
    ASSERT_TRUE(network.load(STARVANE_SOURCE_DIR "/data/Starvane/Data/DefaultJumpData.csv", nullptr));
    EXPECT_TRUE(network.inCategory(0.08, 0));
    EXPECT_FALSE(network.inCategory(0.0799, 0));
    EXPECT_TRUE(network.inCategory(0.25, 0));
    EXPECT_TRUE(network.inCategory(0.25, 1));
    EXPECT_TRUE(network.inCategory(0.5, 1));
    EXPECT_TRUE(network.inCategory(0.5, 2));
    EXPECT_TRUE(network.inCategory(150.0, 9));
    EXPECT_FALSE(network.inCategory(150.5, 9));

    // A star of mass 0.25 is in categories 0 and 1, and any pair of categories will do. Towards a
    // star of mass 1 (category 3) the bands are 2.45 and 2.78 pc, each +-15 %.
    auto sun = makeStar("Sun", 0, 0, 0, 1.0);
    auto both = makeStar("Both", 3.1, 0, 0, 0.25);    // only inside the 2.78 band
    auto onlyLow = makeStar("Low", 3.1, 0, 0, 0.2);   // category 0 only
    EXPECT_TRUE(network.canJump(*sun, *both));
    EXPECT_TRUE(network.canJump(*both, *sun));
    EXPECT_FALSE(network.canJump(*sun, *onlyLow));
    auto bothNear = makeStar("BothNear", 2.1, 0, 0, 0.25);  // only inside the 2.45 band
    auto onlyHigh = makeStar("High", 2.1, 0, 0, 0.3);       // category 1 only
    EXPECT_TRUE(network.canJump(*sun, *bothNear));
    EXPECT_FALSE(network.canJump(*sun, *onlyHigh));
}

TEST(JumpCategories, StarInNoCategoryNeitherJumpsNorIsReached) {
    JumpNetwork network;
    ASSERT_TRUE(network.load(STARVANE_SOURCE_DIR "/data/Starvane/Data/DefaultJumpData.csv", nullptr));
    auto sun = makeStar("Sun", 0, 0, 0, 1.0);
    auto twin = makeStar("Twin", 3.4, 0, 0, 1.0);
    auto dwarf = makeStar("Dwarf", 3.4, 0, 0, 0.05);
    auto giant = makeStar("Giant", 0, 0, 1000.0, 200.0);
    auto heavy = makeStar("Heavy", 0, 0, 0, 100.0);
    EXPECT_TRUE(network.canJump(*sun, *twin));
    EXPECT_FALSE(network.canJump(*sun, *dwarf));
    EXPECT_FALSE(network.canJump(*dwarf, *sun));
    EXPECT_FALSE(network.canJump(*heavy, *giant));
    EXPECT_FALSE(network.canJump(*giant, *heavy));
}

// The band is (1 - s) M < d < (1 + s) M with s = tolerance * 0.01f. With tolerance 50 and M = 2
// its ends are 1 + 3 * 2^-27 and 3 - 3 * 2^-27; offsets chosen as exact floats give distances that
// hit them exactly.
TEST(CanJump, StrictBoundsWithSinglePrecisionHundredth) {
    JumpNetwork network;
    network.readJumpData("1,50,1\n0.5,2\n2\n");
    const double s = 50.0 * static_cast<double>(0.01f);
    const double low = (1.0 - s) * 2.0;
    const double high = (1.0 + s) * 2.0;
    auto a = makeStar("A", 0, 0, 0, 1.0);
    auto b = makeStar("B", 0, 0, 0, 1.0);
    auto place = [&](float from, float to) {
        a->offset = {from, 0.0f, 0.0f};
        b->offset = {to, 0.0f, 0.0f};
    };

    place(-std::ldexp(3.0f, -27), 1.0f);
    ASSERT_EQ(starDistance(*a, *b), low);
    EXPECT_FALSE(network.canJump(*a, *b));
    EXPECT_FALSE(network.canJump(*b, *a));
    place(-std::ldexp(3.0f, -27), std::nextafter(1.0f, 2.0f));
    EXPECT_TRUE(network.canJump(*a, *b));
    // Inside the band an exact 0.01 would give (its low end is 1), outside this one.
    place(-std::ldexp(1.0f, -27), 1.0f);
    ASSERT_GT(starDistance(*a, *b), 1.0);
    EXPECT_FALSE(network.canJump(*a, *b));

    place(std::ldexp(3.0f, -27), 3.0f);
    ASSERT_EQ(starDistance(*a, *b), high);
    EXPECT_FALSE(network.canJump(*a, *b));
    EXPECT_FALSE(network.canJump(*b, *a));
    place(std::ldexp(3.0f, -27), std::nextafter(3.0f, 0.0f));
    EXPECT_TRUE(network.canJump(*a, *b));
    // Inside the band an exact 0.01 would give (its high end is 3), outside this one.
    place(std::ldexp(1.0f, -28), 3.0f);
    ASSERT_LT(starDistance(*a, *b), 3.0);
    EXPECT_FALSE(network.canJump(*a, *b));
}

TEST(CanJump, DistanceJoinsCubeIndexAndOffsetOnEachAxis) {
    JumpNetwork network;
    network.readJumpData("1,1,1\n0.5,2\n5\n");
    auto origin = makeStar("O", 0, 0, 0, 1.0);
    // Offsets are x, up, y: the height comes from cube.z and the second offset.
    auto star = std::make_unique<StarRecord>();
    star->physical = std::make_unique<StellarData>();
    star->physical->mass = 1.0;
    star->cube = {0, 0, 1};
    star->offset = {3.0f, -6.0f, 0.0f};  // (3, 0, 4)
    EXPECT_DOUBLE_EQ(starDistance(*origin, *star), 5.0);
    EXPECT_TRUE(network.canJump(*origin, *star));
    star->cube = {0, 1, 0};
    star->offset = {3.0f, 0.0f, -6.0f};  // (3, 4, 0)
    EXPECT_DOUBLE_EQ(starDistance(*origin, *star), 5.0);
    EXPECT_TRUE(network.canJump(*origin, *star));
    star->offset = {3.0f, -6.0f, 0.0f};  // (3, 10, -6): the height offset is not the y offset
    EXPECT_FALSE(network.canJump(*origin, *star));
}

// --- Waypoints ------------------------------------------------------------------------------------

TEST(Waypoints, RouteListAndTheHomeStar) {
    auto home = makeStar("Home", 0, 0, 0, 1.0);
    auto b = makeStar("B", 3, 0, 0, 1.0);
    auto c = makeStar("C", 6, 0, 0, 1.0);
    auto d = makeStar("D", 9, 0, 0, 1.0);
    int number = 0;
    for (StarRecord* star : {home.get(), b.get(), c.get(), d.get()}) star->id = StarId::catalogueStar(number++);
    JumpNetwork network;
    network.load("/nonexistent/jump/data.csv", home.get());

    // Only the home star on the route: removing does nothing.
    network.removeWaypoint();
    EXPECT_EQ(network.rows(), std::vector<std::string>{"Home"});
    EXPECT_TRUE(network.onRoute(home->id));

    network.addWaypoint(*b);
    network.addWaypoint(*c);
    EXPECT_TRUE(network.onRoute(b->id) && network.onRoute(c->id));
    EXPECT_EQ(network.lastWaypoint()->id, c->id);
    EXPECT_EQ(network.rows(), (std::vector<std::string>{"Home", "B", "C"}));

    // Not connected, or already on the route: ignored.
    network.addConnectedWaypoint(*d);
    EXPECT_EQ(network.waypoints().size(), 3u);
    EXPECT_FALSE(network.onRoute(d->id));
    b->connected = 1;
    network.addConnectedWaypoint(*b);
    EXPECT_EQ(network.waypoints().size(), 3u);
    d->connected = 1;
    network.addConnectedWaypoint(*d);
    EXPECT_EQ(network.lastWaypoint()->id, d->id);
    EXPECT_TRUE(network.onRoute(d->id));

    network.removeWaypoint();
    network.removeWaypoint();
    network.removeWaypoint();
    network.removeWaypoint();
    EXPECT_FALSE(network.onRoute(b->id) || network.onRoute(c->id) || network.onRoute(d->id));
    EXPECT_TRUE(network.onRoute(home->id));
    EXPECT_EQ(network.rows(), std::vector<std::string>{"Home"});
}

// --- Reachable stars --------------------------------------------------------------------------------

TEST(MarkConnected, EveryStarOfTheWindowAndNoOther) {
    HandGalaxy galaxy;
    StarRecord* from = galaxy.add("From", 8, 5, 5);
    StarRecord* reach = galaxy.add("Reach", 5, 5, 5);
    StarRecord* miss = galaxy.add("Miss", 8, 9, 5);
    StarRecord* nextReach = galaxy.add("NextReach", 11, 5, 5);  // the neighbouring cube
    StarRecord* outside = galaxy.add("Outside", 25, 5, 5);      // beyond the window
    galaxy.build(0, 0, 0);

    JumpNetwork network = threeParsecNetwork();
    miss->connected = 1;
    from->connected = 1;
    outside->connected = 1;
    network.markConnected(*galaxy.window, *from);
    EXPECT_EQ(reach->connected, 1);
    EXPECT_EQ(nextReach->connected, 1);
    EXPECT_EQ(miss->connected, 0);
    EXPECT_EQ(from->connected, 0);
    EXPECT_EQ(outside->connected, 1);  // not in the window: left alone
}

// --- Route search, near targets ------------------------------------------------------------------

// Near targets (cube indices less than two apart) are searched breadth-first through the
// window's stars; the route has the fewest jumps, each jump valid, and never the direct jump.
TEST(FindRouteNear, ChainThroughTheWindowWithFewestJumps) {
    HandGalaxy galaxy;
    StarRecord* start = galaxy.add("Start", 1, 5, 5);
    galaxy.add("DeadEnd", 1, 8, 5);  // reachable from the start, leads nowhere near the target
    StarRecord* b = galaxy.add("B", 4, 5, 5);
    StarRecord* c = galaxy.add("C", 7, 5, 5);
    StarRecord* d = galaxy.add("D", 10, 5, 5);  // cube x 1
    galaxy.add("Side", 4, 8, 5);
    StarRecord* target = galaxy.add("Target", 13, 5, 5);
    galaxy.build(0, 0, 0);

    JumpNetwork network = threeParsecNetwork();
    network.addWaypoint(*start);
    ASSERT_FALSE(network.canJump(*start, *target));

    ASSERT_TRUE(network.findRoute(*target, *galaxy.window));
    EXPECT_EQ(network.rows(), (std::vector<std::string>{"Start", "B", "C", "D", "Target"}));
    expectValidHops(network, network.waypoints());
    for (const StarRecord* star : {start, b, c, d, target}) EXPECT_TRUE(network.onRoute(star->id));
}

TEST(FindRouteNear, NeverTheDirectJumpAndWindowOrderDecides) {
    HandGalaxy galaxy;
    StarRecord* start = galaxy.add("Start", 1, 5, 1.5);
    StarRecord* target = galaxy.add("Target", 4, 5, 1.5);
    // Both reach the start and the target. The later one lies in an earlier cube of the
    // window (the cube below), so it is found first.
    StarRecord* upper = galaxy.add("Upper", 2.5, 5, 1.5 + 2.9);
    StarRecord* lower = galaxy.add("Lower", 2.5, 5, 1.5 - 2.9);
    ASSERT_EQ(lower->cube.z, -1);
    galaxy.build(0, 0, 0);

    JumpNetwork network = threeParsecNetwork();
    network.addWaypoint(*start);
    ASSERT_TRUE(network.canJump(*start, *target));
    ASSERT_TRUE(network.canJump(*start, *upper));
    ASSERT_TRUE(network.canJump(*upper, *target));
    ASSERT_TRUE(network.findRoute(*target, *galaxy.window));
    EXPECT_EQ(network.rows(), (std::vector<std::string>{"Start", "Lower", "Target"}));
}

TEST(FindRouteNear, DirectOnlyMeansNoRoute) {
    HandGalaxy galaxy;
    StarRecord* start = galaxy.add("Start", 1, 5, 5);
    StarRecord* target = galaxy.add("Target", 4, 5, 5);
    galaxy.build(0, 0, 0);
    JumpNetwork network = threeParsecNetwork();
    network.addWaypoint(*start);
    ASSERT_TRUE(network.canJump(*start, *target));
    EXPECT_FALSE(network.findRoute(*target, *galaxy.window));
    EXPECT_EQ(network.rows(), std::vector<std::string>{"Start"});
}

TEST(FindRouteNear, FailedSearchLeavesTheRouteUnchanged) {
    HandGalaxy galaxy;
    StarRecord* home = galaxy.add("Home", 1, 1, 5);
    StarRecord* start = galaxy.add("Start", 4, 1, 5);
    galaxy.add("B", 4, 4, 5);
    galaxy.add("C", 7, 4, 5);
    StarRecord* target = galaxy.add("Target", 15, 15, 5);  // nothing within reach
    galaxy.build(0, 0, 0);
    JumpNetwork network = threeParsecNetwork();
    network.addWaypoint(*home);
    network.addWaypoint(*start);
    EXPECT_FALSE(network.findRoute(*target, *galaxy.window));
    EXPECT_EQ(network.rows(), (std::vector<std::string>{"Home", "Start"}));
}

TEST(FindRouteNear, StartOutsideTheWindowFindsNothing) {
    HandGalaxy galaxy;
    galaxy.add("B", 4, 5, 5);
    galaxy.add("C", 7, 5, 5);
    StarRecord* target = galaxy.add("Target", 10, 5, 5);
    galaxy.build(0, 0, 0);
    // Same place as a window star could be, but not one of the window's stars.
    auto stranger = makeStar("Stranger", 1, 5, 5, 1.0);
    JumpNetwork network = threeParsecNetwork();
    network.addWaypoint(*stranger);
    EXPECT_FALSE(network.findRoute(*target, *galaxy.window));
    EXPECT_EQ(network.rows(), std::vector<std::string>{"Stranger"});
}

// --- Route search, far targets --------------------------------------------------------------------
//
// Our far search builds the full 27-cube windows around the start and around the target, and
// the corridor of bright-only cubes from the target's side back towards the start. Its nodes
// are all stars of the two windows and, from the corridor, only the long-hop stars (a
// category above half of the category whose own jump best fits the distance). A breadth-first
// search from the start then runs as for near targets; the first level that reaches the target
// gives up to maxcandidates candidates, the one with the fewest entries wins. The route keeps
// copies of its stars; the search cubes are released afterwards.

TEST(FindRouteFar, HandPlacedChainNeedsNoViewWindowAtEitherEnd) {
    HandGalaxy galaxy;
    StarRecord* start = galaxy.add("Start", 1, 5, 5);
    StarRecord* b = galaxy.add("B", 4, 5, 5);
    StarRecord* c = galaxy.add("C", 7, 5, 5);
    StarRecord* d = galaxy.add("D", 10, 5, 5);
    StarRecord* e = galaxy.add("E", 13, 5, 5);
    StarRecord* f = galaxy.add("F", 16, 5, 5);
    StarRecord* g = galaxy.add("G", 19, 5, 5);
    StarRecord* target = galaxy.add("Target", 22, 5, 5);  // cube x 2: the far case
    galaxy.build(50, 50, 0);  // the view is elsewhere
    JumpNetwork network = threeParsecNetwork();
    network.addWaypoint(*start);
    ASSERT_TRUE(network.findRoute(*target, *galaxy.window));
    std::vector<std::string> names;
    for (const StarRecord* star : {start, b, c, d, e, f, g, target}) names.push_back(star->physical->name);
    EXPECT_EQ(network.rows(), names);
    expectValidHops(network, network.waypoints());
}

// A corridor longer than any line across the galaxy is not searched, even where hops would
// reach: 62 kpc through a star beside the start.
TEST(FindRouteFar, GivesUpBeyondTheGalaxy) {
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

TEST(FindRouteFar, FailedSearchLeavesTheRouteUnchanged) {
    HandGalaxy galaxy;
    StarRecord* start = galaxy.add("Start", 1, 5, 5);
    galaxy.add("B", 4, 5, 5);
    StarRecord* target = galaxy.add("Target", 35, 5, 5);
    galaxy.build(0, 0, 0);
    JumpNetwork network = threeParsecNetwork();
    network.addWaypoint(*start);
    EXPECT_FALSE(network.findRoute(*target, *galaxy.window));
    EXPECT_EQ(network.rows(), std::vector<std::string>{"Start"});
}

const char* const kJumpData = STARVANE_SOURCE_DIR "/data/Starvane/Data/DefaultJumpData.csv";

// The default galaxy with its catalogue, density picture and the default jump data.
class DefaultGalaxyRoute : public ::testing::Test {
protected:
    GalaxyCatalogue catalogue;
    std::unique_ptr<GalaxyWindow> window;
    JumpNetwork network;

    void SetUp() override {
        loadGalaxy(catalogue, STARVANE_SOURCE_DIR "/data", "MilkyWay", realTables());
        catalogue.densityimage = FileImageLoader{}.load(
            (galaxyFolder(STARVANE_SOURCE_DIR "/data", "MilkyWay") / "GrayScale.jpg").string());
        ASSERT_NE(catalogue.densityimage, nullptr);
        const StarRecord* sol = named("Sol");
        ASSERT_NE(sol, nullptr);
        window = std::make_unique<GalaxyWindow>(catalogue);
        window->rebuild(static_cast<float>(sol->cube.x), static_cast<float>(sol->cube.y),
                        static_cast<float>(sol->cube.z));
    }

    StarRecord* named(const std::string& name) {
        for (const auto& star : catalogue.stars)
            if (star != nullptr && star->physical && star->physical->name == name) return star.get();
        return nullptr;
    }

    // Routes between far catalogue stars (the start in Sol's cube): valid hops between distinct
    // stars ending at the target, the view's window untouched and agreeing with the route on
    // the stars it holds. The route outlives the search cubes; a generated star of it far from
    // the view is found again, the same, once the window is rebuilt around its cube.
    void routeTo(const std::string& from, const std::string& name, double minimum, double maximum,
                 bool throughGeneratedStars) {
        StarRecord* start = named(from);
        StarRecord* target = named(name);
        ASSERT_TRUE(start != nullptr && target != nullptr && network.load(kJumpData, start));
        const double distance = starDistance(*start, *target);
        ASSERT_GT(distance, minimum);
        ASSERT_LT(distance, maximum);

        std::vector<std::vector<StarRecord*>> before;
        for (int node = 0; node < GalaxyWindow::kCubeCount; ++node) before.push_back(window->cube(node).stars);

        ASSERT_TRUE(network.findRoute(*target, *window)) << name;
        const std::vector<StarRecord>& route = network.waypoints();
        ASSERT_GE(route.size(), 3u);
        EXPECT_EQ(route.front().id, start->id);
        EXPECT_EQ(route.back().id, target->id);
        expectValidHops(network, route);
        std::unordered_set<StarId, StarIdHash> distinct;
        for (const StarRecord& star : route) distinct.insert(star.id);
        EXPECT_EQ(distinct.size(), route.size());
        for (int node = 0; node < GalaxyWindow::kCubeCount; ++node)
            EXPECT_EQ(window->cube(node).stars, before[static_cast<std::size_t>(node)]);

        const StarRecord* far = nullptr;
        for (const StarRecord& star : route) {
            const StarRecord* shown = window->find(star.id);
            if (shown != nullptr)
                EXPECT_EQ(shown->physical->mass, star.physical->mass) << starIdText(star.id);
            else if (far == nullptr)
                far = &star;
        }
        if (!throughGeneratedStars) return;
        ASSERT_NE(far, nullptr);
        window->rebuild(static_cast<float>(far->cube.x), static_cast<float>(far->cube.y),
                        static_cast<float>(far->cube.z));
        const StarRecord* again = window->find(far->id);
        ASSERT_NE(again, nullptr) << starIdText(far->id);
        EXPECT_EQ(again->physical->name, far->physical->name);
        EXPECT_EQ(again->physical->mass, far->physical->mass);
        EXPECT_EQ(again->offset, far->offset);
    }
};

TEST_F(DefaultGalaxyRoute, FiftyParsecs) { routeTo("Sol", "Ain", 35.0, 70.0, false); }

TEST_F(DefaultGalaxyRoute, TwoHundredSixtyFiveParsecs) { routeTo("Sol", "Rigel", 240.0, 290.0, true); }

// Long hops by massive remnants: the search and the view's window must agree on what they are.
TEST_F(DefaultGalaxyRoute, ToPolaris) { routeTo("Sol", "Polaris", 120.0, 145.0, false); }

TEST_F(DefaultGalaxyRoute, FromSiriusToPolaris) { routeTo("Sirius", "Polaris", 120.0, 145.0, false); }

}  // namespace
