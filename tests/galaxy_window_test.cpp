// The window of 27 cubes around the viewer: rebuilding, moving by one cube (which cubes keep
// their stars, which are populated afresh), the planetary systems of the centre cube, the
// catalogue stars that outlive their cube, the ids that find a star again, and moves worked out
// on a worker thread.

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cstdint>
#include <memory>
#include <ostream>
#include <string>
#include <thread>
#include <vector>

#include "galaxy/cube_population.h"
#include "galaxy/galaxy_window.h"
#include "galaxy/population_model.h"

#include "tests/galaxy_test_support.h"

namespace {

// Brightness varies from column to column and row to row so that neighbouring cubes differ.
std::unique_ptr<GalaxyCatalogue> galaxy() {
    std::vector<PixelColour> pixels(41 * 41);
    for (std::size_t i = 0; i < pixels.size(); ++i) {
        const auto v = static_cast<std::uint8_t>(18 + (i % 41 * 7 + i / 41 * 3) % 12);
        pixels[i] = {v, v, v};
    }
    auto catalogue = smallGalaxy();
    catalogue->densityimage = std::make_unique<MemoryImage>(41, 41, std::move(pixels));
    return catalogue;
}

struct StarSnapshot {
    StarId id;
    std::string name;
    double mass, age;
    std::array<float, 3> offset;
    bool operator==(const StarSnapshot&) const = default;
};

void PrintTo(const StarSnapshot& s, std::ostream* out) { *out << starIdText(s.id) << " " << s.name << " age " << s.age; }

// initialmass rather than mass: whether a star of 40 to 80 solar masses ends as a neutron star
// or a black hole is drawn from the generator's shared source.
StarSnapshot snapshotOf(const StarRecord& star) {
    return {star.id, star.physical->name, star.physical->initialmass, star.physical->age, star.offset};
}

std::vector<StarSnapshot> starsOf(const GalaxyCube& cube) {
    std::vector<StarSnapshot> result;
    for (const StarRecord* star : cube.stars) result.push_back(snapshotOf(*star));
    return result;
}

std::vector<StarSnapshot> directPopulate(GalaxyCatalogue& catalogue, int x, int y, int z) {
    GalaxyCube cube;
    populateCube(catalogue, cube, x, y, z, densityBrightness(catalogue.densityimage.get(), x, y), false);
    return starsOf(cube);
}

std::vector<std::vector<StarSnapshot>> windowStars(const GalaxyWindow& window) {
    std::vector<std::vector<StarSnapshot>> result;
    for (int node = 0; node < GalaxyWindow::kCubeCount; ++node) result.push_back(starsOf(window.cube(node)));
    return result;
}

using NodeRecords = std::vector<std::vector<StarRecord*>>;

NodeRecords windowRecords(const GalaxyWindow& window) {
    NodeRecords result;
    for (int node = 0; node < GalaxyWindow::kCubeCount; ++node) result.push_back(window.cube(node).stars);
    return result;
}

// The window centred on `at` after a step (none for a rebuild): a cube that was in the window
// keeps its records (`before`, by node), one place further back; any other holds the stars of
// its place. Only the centre cube's stars have systems.
void expectWindow(GalaxyWindow& window, GalaxyCatalogue& catalogue, const std::array<int, 3>& at,
                  const std::array<int, 3>& step = {}, const NodeRecords& before = {}) {
    EXPECT_EQ(window.centre(), (std::array<float, 3>{float(at[0]), float(at[1]), float(at[2])}));
    for (int node = 0; node < GalaxyWindow::kCubeCount; ++node) {
        const std::array<int, 3> o = nodeOffset(node), from{o[0] + step[0], o[1] + step[1], o[2] + step[2]};
        const GalaxyCube& cube = window.cube(node);
        ASSERT_FALSE(cube.stars.empty());
        if (!before.empty() && std::max({from[0], from[1], from[2]}) <= 1 && std::min({from[0], from[1], from[2]}) >= -1)
            EXPECT_EQ(cube.stars, before[GalaxyWindow::nodeIndex(from[0], from[1], from[2])]) << "node " << node;
        else
            EXPECT_EQ(starsOf(cube), directPopulate(catalogue, at[0] + o[0], at[1] + o[1], at[2] + o[2])) << "node " << node;
        EXPECT_EQ(cube.systemsgenerated != 0, node == GalaxyWindow::kCentreNode) << "node " << node;
        for (const StarRecord* star : cube.stars) EXPECT_EQ(star->system != nullptr, node == GalaxyWindow::kCentreNode);
    }
}

// Each move keeps the stars of the eighteen cubes that stay, populates the nine of the new
// leading face and hands the systems to the new centre. A generated star is named by its cube
// and place: the name finds nothing while its cube is out of the window, and the same star once
// the opposite move brings the cube back.
TEST(GalaxyWindow, MovesKeepEighteenCubesPopulateNineAndComeBack) {
    const std::array<int, 3> steps[] = {{1, 0, 0}, {-1, 0, 0}, {0, 1, 0}, {0, -1, 0}, {0, 0, 1}, {0, 0, -1}};
    auto catalogue = galaxy();
    GalaxyWindow window(*catalogue);
    window.move(1);  // nothing to move yet
    EXPECT_FALSE(window.built());
    std::array<int, 3> at{3, -2, 1};
    window.rebuild(3.0f, -2.0f, 1.0f);
    expectWindow(window, *catalogue, at);
    std::vector<std::vector<StarSnapshot>> home;
    StarSnapshot leaving{};
    for (int direction = 1; direction <= 6; ++direction) {
        SCOPED_TRACE("direction " + std::to_string(direction));
        const std::array<int, 3>& step = steps[direction - 1];
        const NodeRecords records = windowRecords(window);
        if (direction % 2 == 1) {
            home = windowStars(window);
            const GalaxyCube& trailing = window.cube(GalaxyWindow::nodeIndex(-step[0], -step[1], -step[2]));
            leaving = snapshotOf(*trailing.stars.at(1));
            ASSERT_EQ(leaving.id, StarId::generatedStar(trailing.index, 1));
        }
        window.move(direction);
        for (int a = 0; a < 3; ++a) at[a] += step[a];
        expectWindow(window, *catalogue, at, step, records);
        if (direction % 2 == 1) {
            EXPECT_EQ(window.find(leaving.id), nullptr);
        } else {  // back where the move before started
            EXPECT_EQ(windowStars(window), home);
            ASSERT_NE(window.find(leaving.id), nullptr);
            EXPECT_EQ(snapshotOf(*window.find(leaving.id)), leaving);
        }
    }
    const auto stars = windowStars(window);
    window.move(0);  // directions outside 1..6 do nothing
    window.move(7);
    EXPECT_EQ(windowStars(window), stars);
}

// A catalogue star outlives its cube, completed once only; one with a system read from its file
// keeps it when its cube stops being the centre. A moving window takes at most a thousand
// catalogue stars into a cube, a rebuilt one all.
TEST(GalaxyWindow, CatalogueStarsSurviveTheirCube) {
    auto catalogue = galaxy();
    StarRecord* leaving = addCatalogueStar(*catalogue, {-1, 0, 0});
    StarRecord* custom = addCatalogueStar(*catalogue, {0, 0, 0});
    custom->classified = custom->systemfromfile = 1;
    custom->system = std::make_unique<GeneratedSystem>();
    const GeneratedSystem* own = custom->system.get();
    for (int i = 0; i < 1005; ++i) addCatalogueStar(*catalogue, {2, 0, 0})->classified = 1;
    catalogue->buildCubeIndex();
    GalaxyWindow window(*catalogue);
    window.rebuild(0.0f, 0.0f, 0.0f);
    EXPECT_EQ(window.centreCube().stars[0], custom);
    EXPECT_EQ(window.cube(GalaxyWindow::nodeIndex(-1, 0, 0)).stars[0], leaving);
    EXPECT_TRUE(leaving->classified);
    const double age = leaving->physical->age;

    window.move(1);  // the cube of x = -1 leaves the window, the custom star's cube the centre
    EXPECT_EQ(custom->system.get(), own);
    const GalaxyCube& crowded = window.cube(GalaxyWindow::nodeIndex(1, 0, 0));
    ASSERT_EQ(crowded.count, 1000);
    EXPECT_EQ(crowded.stars[999], catalogue->stars[1001].get());
    window.move(2);  // and comes back
    EXPECT_EQ(window.find(StarId::catalogueStar(0)), leaving);
    EXPECT_EQ(window.cube(GalaxyWindow::nodeIndex(-1, 0, 0)).stars[0], leaving);
    EXPECT_EQ(leaving->physical->age, age);
    EXPECT_EQ(custom->system.get(), own);
    window.rebuild(1.0f, 0.0f, 0.0f);
    EXPECT_EQ(window.cube(GalaxyWindow::nodeIndex(1, 0, 0)).count, 1005);
}

// What a cube's systems come to: name, planet count and the first planet's semi-major axis.
std::vector<std::string> systemsOf(const GalaxyCube& cube) {
    std::vector<std::string> result;
    for (const StarRecord* star : cube.stars) {
        const GeneratedSystem* system = star->system.get();
        const double sma = system == nullptr || system->planets.empty() ? 0.0 : system->planets[0].bodies[0].sma;
        result.push_back(system == nullptr ? "none" : system->name + " " + std::to_string(system->planetcount) + " " + std::to_string(sma));
    }
    return result;
}

// Moves worked out on a worker thread and taken over later, some begun while the one before was
// still running, leave the window and the catalogue as the same moves made in place. A catalogue
// star is completed when its cube enters the window, before the cube reseeds the source: in the
// first cube a move populates it draws from the source as the move before left it, in a later
// cube as the cube before left it. So a population out of order shows in those stars' ages.
TEST(GalaxyWindow, MovesOnAWorkerThreadMatchTheSameMovesInPlace) {
    const CubeIndex visited[] = {{2, -1, -1}, {3, -1, -1}, {1, 2, -1}, {1, 0, 2}, {0, -1, -2}, {3, -1, -2},  // first
                                 {2, 1, -1},  {3, 2, 1},   {2, 1, 2},  {0, 2, 2}, {2, -1, 2}};  // later in their move
    std::unique_ptr<GalaxyCatalogue> catalogues[2] = {galaxy(), galaxy()};
    for (auto& catalogue : catalogues) {
        for (const CubeIndex& at : visited) addCatalogueStar(*catalogue, at);
        catalogue->buildCubeIndex();
    }
    GalaxyWindow inPlace(*catalogues[0]);
    GalaxyWindow worked(*catalogues[1]);
    inPlace.rebuild(0.0f, 0.0f, 0.0f);
    worked.rebuild(0.0f, 0.0f, 0.0f);
    EXPECT_FALSE(worked.beginMove(7));
    EXPECT_FALSE(worked.moving());

    // Moves of one group are begun one after the other; the group is then taken over by polling
    // (even groups) or by settling (odd groups).
    const std::vector<std::vector<int>> groups = {{1}, {1, 3}, {5}, {2, 4, 6}, {6, 1}};
    for (std::size_t group = 0; group < groups.size(); ++group) {
        SCOPED_TRACE("group " + std::to_string(group));
        for (int direction : groups[group]) {
            inPlace.move(direction);
            EXPECT_TRUE(worked.beginMove(direction));
        }
        bool taken = group % 2 == 1 && worked.settle();
        while (!taken && worked.moving())
            if (!(taken = worked.finishMoveIfReady())) std::this_thread::yield();
        EXPECT_TRUE(taken);
        EXPECT_FALSE(worked.moving() || worked.settle());
        EXPECT_EQ(worked.centre(), inPlace.centre());
        EXPECT_EQ(windowStars(worked), windowStars(inPlace));
        for (int node = 0; node < GalaxyWindow::kCubeCount; ++node)
            EXPECT_EQ(systemsOf(worked.cube(node)), systemsOf(inPlace.cube(node))) << "node " << node;
        MwcRandom workedNext = catalogues[1]->starRandom, inPlaceNext = catalogues[0]->starRandom;
        EXPECT_EQ(workedNext.next(), inPlaceNext.next());
        EXPECT_EQ(catalogues[1]->systemRandom.state(), catalogues[0]->systemRandom.state());
    }
    for (std::size_t i = 0; i < std::size(visited); ++i) {
        EXPECT_TRUE(catalogues[1]->stars[i]->classified) << i;
        EXPECT_EQ(snapshotOf(*catalogues[1]->stars[i]), snapshotOf(*catalogues[0]->stars[i])) << i;
        EXPECT_EQ(catalogues[1]->stars[i]->ecliptic, catalogues[0]->stars[i]->ecliptic) << i;
    }
}

}  // namespace
