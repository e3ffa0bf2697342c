// The window of 27 cubes around the viewer: node order, rebuilding, moving by one cube (which
// cubes keep their stars, which are populated afresh), the planetary systems of the centre
// cube, the catalogue stars that outlive their cube, the ids that find a star again, and moves
// worked out on a worker thread.

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <memory>
#include <ostream>
#include <string>
#include <thread>
#include <tuple>
#include <vector>

#include "galaxy/cube_population.h"
#include "galaxy/galaxy_window.h"
#include "galaxy/population_model.h"
#include "galaxy/stellar_tables.h"
#include "platform/file_image.h"

#include "tests/galaxy_test_support.h"

namespace {

// Brightness varies from column to column so that neighbouring cubes differ.
std::unique_ptr<PixelImage> densityPicture() {
    const int size = 41;
    std::vector<PixelColour> pixels(size * size);
    for (int row = 0; row < size; ++row)
        for (int column = 0; column < size; ++column) {
            const auto v = static_cast<std::uint8_t>(18 + (column * 7 + row * 3) % 12);
            pixels[static_cast<std::size_t>(row * size + column)] = {v, v, v};
        }
    return std::make_unique<MemoryImage>(size, size, std::move(pixels));
}

std::unique_ptr<GalaxyCatalogue> galaxy() {
    auto catalogue = std::make_unique<GalaxyCatalogue>();
    catalogue->stellartables = &realTables();
    catalogue->densityimage = densityPicture();
    catalogue->thindisc = 20.0;
    catalogue->thickdisc = 60.0;
    catalogue->galaxyage = 12000.0;
    catalogue->discage = 8000.0;
    catalogue->agegradient = 5.0;
    catalogue->starseed = 31337.0;
    catalogue->systemseed = 2024.0;
    return catalogue;
}

std::unique_ptr<StarRecord> catalogueStar(int x, int y, int z, const std::string& name) {
    auto star = std::make_unique<StarRecord>();
    star->physical = std::make_unique<StellarData>();
    star->cube = {x, y, z};
    star->physical->name = name;
    star->physical->spectralclass = "G";
    star->physical->subtype = 2;
    star->physical->lumclass = "V";
    return star;
}

struct StarSnapshot {
    StarId id;
    std::string name;
    double mass, age;
    std::array<float, 3> offset;
    bool operator==(const StarSnapshot&) const = default;
};

void PrintTo(const StarSnapshot& s, std::ostream* out) {
    *out << starIdText(s.id) << " " << s.name << " mass " << s.mass << " age " << s.age;
}

// initialmass rather than mass: whether a star of 40 to 80 solar masses ends as a neutron star
// or a black hole is drawn from the generator's shared source.
StarSnapshot snapshotOf(const StarRecord& star) {
    return {star.id, star.physical->name, star.physical->initialmass, star.physical->age, star.offset};
}

std::vector<StarSnapshot> generatedStars(const GalaxyCube& cube) {
    std::vector<StarSnapshot> result;
    for (const StarRecord& star : cube.generated) result.push_back(snapshotOf(star));
    return result;
}

std::vector<StarSnapshot> directPopulate(GalaxyCatalogue& catalogue, int x, int y, int z) {
    GalaxyCube cube;
    populateCube(catalogue, cube, x, y, z, densityBrightness(catalogue.densityimage.get(), x, y), false);
    return generatedStars(cube);
}

TEST(GalaxyWindow, NodeIndexOfEachOffset) {
    EXPECT_EQ(GalaxyWindow::nodeIndex(-1, -1, -1), 0);
    EXPECT_EQ(GalaxyWindow::nodeIndex(0, 0, 0), 13);
    EXPECT_EQ(GalaxyWindow::nodeIndex(1, 1, 1), 26);
    EXPECT_EQ(GalaxyWindow::nodeIndex(1, -1, 0), 11);
    EXPECT_EQ(GalaxyWindow::nodeIndex(0, 0, 1), 22);
}

TEST(GalaxyWindow, RebuildPopulatesTwentySevenCubesAndTheCentreSystems) {
    auto catalogue = galaxy();
    GalaxyWindow window(*catalogue);
    EXPECT_FALSE(window.built());
    window.rebuild(3.0f, -2.0f, 1.0f);
    ASSERT_TRUE(window.built());
    EXPECT_EQ(window.centre()[1], -2.0f);
    for (int dz = -1; dz <= 1; ++dz)
        for (int dy = -1; dy <= 1; ++dy)
            for (int dx = -1; dx <= 1; ++dx) {
                const GalaxyCube& cube = window.cube(GalaxyWindow::nodeIndex(dx, dy, dz));
                const auto expected = directPopulate(*catalogue, 3 + dx, -2 + dy, 1 + dz);
                ASSERT_FALSE(expected.empty());
                EXPECT_EQ(generatedStars(cube), expected) << dx << dy << dz;
                const bool centre = dx == 0 && dy == 0 && dz == 0;
                EXPECT_EQ(cube.systemsgenerated != 0, centre);
                for (const StarRecord* star : cube.stars) {
                    EXPECT_EQ(star->system != nullptr, centre);
                    EXPECT_EQ(star->systemready != 0, centre);
                }
            }
}

TEST(GalaxyWindow, CentreSystemsAreSeededFromTheCubeAndTheSystemSeed) {
    auto catalogue = galaxy();
    // A custom star with a system of its own in the centre cube keeps it and takes no seed.
    catalogue->stars.push_back(catalogueStar(0, 0, 0, "Custom"));
    StarRecord* custom = catalogue->stars.back().get();
    custom->classified = 1;
    custom->systemfromfile = 1;
    custom->system = std::make_unique<GeneratedSystem>();
    custom->system->name = "From file";
    GeneratedSystem* own = custom->system.get();
    catalogue->buildCubeIndex();

    GalaxyWindow window(*catalogue);
    window.rebuild(0.0f, 0.0f, 0.0f);
    GalaxyCube& centre = window.centreCube();
    ASSERT_GE(centre.count, 3);
    EXPECT_EQ(centre.stars[0], custom);
    EXPECT_EQ(custom->system.get(), own);
    EXPECT_EQ(custom->system->name, "From file");

    // Systems of generated stars are pinned by the cube outputs of the golden cases.
    GalaxyCube cube;
    populateCube(*catalogue, cube, -3, -4, -5, 25, false);
    generateSystems(cube, -3, -4, -5, 2024.0, catalogue->starRandom, catalogue->systemRandom);
    ASSERT_TRUE(cube.systemsgenerated);
    releaseSystems(cube);
    EXPECT_FALSE(cube.systemsgenerated);
    for (const StarRecord* star : cube.stars) {
        EXPECT_EQ(star->system, nullptr);
        EXPECT_FALSE(star->systemready);
    }
}

TEST(GalaxyWindow, MovingKeepsEighteenCubesAndPopulatesNine) {
    auto catalogue = galaxy();
    GalaxyWindow window(*catalogue);
    window.rebuild(0.0f, 0.0f, 0.0f);
    std::vector<std::vector<StarRecord*>> before(GalaxyWindow::kCubeCount);
    for (int node = 0; node < GalaxyWindow::kCubeCount; ++node) before[node] = window.cube(node).stars;
    const std::vector<StarRecord*> oldCentre = window.centreCube().stars;

    window.move(1);  // +x
    EXPECT_EQ(window.centre()[0], 1.0f);
    EXPECT_EQ(window.centre()[1], 0.0f);
    for (int dz = -1; dz <= 1; ++dz)
        for (int dy = -1; dy <= 1; ++dy)
            for (int dx = -1; dx <= 1; ++dx) {
                const GalaxyCube& cube = window.cube(GalaxyWindow::nodeIndex(dx, dy, dz));
                if (dx < 1) {
                    // The same records, one place further back.
                    EXPECT_EQ(cube.stars, before[GalaxyWindow::nodeIndex(dx + 1, dy, dz)]) << dx << dy << dz;
                } else {
                    EXPECT_EQ(generatedStars(cube), directPopulate(*catalogue, 2, dy, dz)) << dy << dz;
                }
            }
    // The old centre lost its systems; the new centre has them.
    for (const StarRecord* star : oldCentre) {
        EXPECT_EQ(star->system, nullptr);
        EXPECT_FALSE(star->systemready);
    }
    EXPECT_FALSE(window.cube(GalaxyWindow::nodeIndex(-1, 0, 0)).systemsgenerated);
    EXPECT_TRUE(window.centreCube().systemsgenerated);
    for (const StarRecord* star : window.centreCube().stars) EXPECT_NE(star->system, nullptr);
}

// A generated star is named by its cube and place: the name finds nothing while its cube is out
// of the window, and the same star once the cube is back.
TEST(GalaxyWindow, MovingThereAndBackGivesTheSameStars) {
    auto catalogue = galaxy();
    GalaxyWindow window(*catalogue);
    window.rebuild(0.0f, 0.0f, 0.0f);
    std::vector<std::vector<StarSnapshot>> before;
    for (int node = 0; node < GalaxyWindow::kCubeCount; ++node) before.push_back(generatedStars(window.cube(node)));
    for (const auto& [there, back, trailing] : {std::tuple{1, 2, 12}, std::tuple{4, 3, 16}, std::tuple{5, 6, 4}}) {
        const StarSnapshot leaving = before[static_cast<std::size_t>(trailing)].at(1);
        EXPECT_EQ(leaving.id, StarId::generatedStar(window.cube(trailing).index, 1));
        window.move(there);
        EXPECT_EQ(window.find(leaving.id), nullptr) << starIdText(leaving.id);
        window.move(back);
        ASSERT_NE(window.find(leaving.id), nullptr);
        EXPECT_EQ(snapshotOf(*window.find(leaving.id)), leaving);
        for (int node = 0; node < GalaxyWindow::kCubeCount; ++node)
            EXPECT_EQ(generatedStars(window.cube(node)), before[node]) << there << " node " << node;
        EXPECT_EQ(window.centre()[0], 0.0f);
    }
    // Directions outside 1..6 do nothing.
    const std::vector<StarRecord*> centre = window.centreCube().stars;
    window.move(0);
    window.move(7);
    EXPECT_EQ(window.centreCube().stars, centre);
}

TEST(GalaxyWindow, CatalogueStarsSurviveTheirCube) {
    auto catalogue = galaxy();
    catalogue->stars.push_back(catalogueStar(-1, 0, 0, "Leaving"));
    StarRecord* star = catalogue->stars.back().get();
    catalogue->buildCubeIndex();
    GalaxyWindow window(*catalogue);
    window.rebuild(0.0f, 0.0f, 0.0f);
    EXPECT_EQ(window.cube(GalaxyWindow::nodeIndex(-1, 0, 0)).stars[0], star);
    EXPECT_TRUE(star->classified);
    const double age = star->physical->age;

    window.move(1);  // the cube of x = -1 leaves the window
    window.move(2);  // and comes back
    ASSERT_EQ(catalogue->stars[0].get(), star);
    EXPECT_EQ(window.find(StarId::catalogueStar(0)), star);
    EXPECT_EQ(window.cube(GalaxyWindow::nodeIndex(-1, 0, 0)).stars[0], star);
    EXPECT_EQ(star->physical->age, age);  // completed once only
}

TEST(GalaxyWindow, AMovingWindowTakesAtMostAThousandCatalogueStarsPerCube) {
    auto catalogue = galaxy();
    for (int i = 0; i < 1005; ++i) {
        catalogue->stars.push_back(catalogueStar(2, 0, 0, "Crowd " + std::to_string(i)));
        catalogue->stars.back()->classified = 1;  // no completion needed
    }
    catalogue->buildCubeIndex();
    GalaxyWindow window(*catalogue);
    window.rebuild(0.0f, 0.0f, 0.0f);
    window.move(1);
    const GalaxyCube& crowded = window.cube(GalaxyWindow::nodeIndex(1, 0, 0));
    ASSERT_EQ(crowded.count, 1000);
    for (int i = 0; i < 1000; ++i) EXPECT_EQ(crowded.stars[static_cast<std::size_t>(i)], catalogue->stars[static_cast<std::size_t>(i)].get());
    // A rebuilt window takes them all.
    window.rebuild(1.0f, 0.0f, 0.0f);
    EXPECT_EQ(window.cube(GalaxyWindow::nodeIndex(1, 0, 0)).count, 1005);
}

// What a cube's systems come to: name, planet count and the first planet's semi-major axis;
// "none" for a star without one.
std::vector<std::string> systemsOf(const GalaxyCube& cube) {
    std::vector<std::string> result;
    for (const StarRecord* star : cube.stars) {
        const GeneratedSystem* system = star->system.get();
        if (system == nullptr) {
            result.push_back("none");
            continue;
        }
        const double sma = system->planets.empty() ? 0.0 : system->planets[0].bodies[0].sma;
        result.push_back(system->name + " " + std::to_string(system->planetcount) + " " + std::to_string(sma));
    }
    return result;
}

std::vector<StarSnapshot> starsOf(const GalaxyCube& cube) {
    std::vector<StarSnapshot> result;
    for (const StarRecord* star : cube.stars) result.push_back(snapshotOf(*star));
    return result;
}

void expectSameWindow(GalaxyWindow& expected, GalaxyWindow& actual, int step) {
    EXPECT_EQ(actual.centre(), expected.centre()) << "step " << step;
    for (int node = 0; node < GalaxyWindow::kCubeCount; ++node) {
        EXPECT_EQ(starsOf(actual.cube(node)), starsOf(expected.cube(node))) << "step " << step << " node " << node;
        EXPECT_EQ(systemsOf(actual.cube(node)), systemsOf(expected.cube(node))) << "step " << step << " node " << node;
    }
    MwcRandom actualNext = actual.catalogue().starRandom;
    MwcRandom expectedNext = expected.catalogue().starRandom;
    EXPECT_EQ(actualNext.next(), expectedNext.next()) << "step " << step;
    EXPECT_EQ(actual.catalogue().systemRandom.state(), expected.catalogue().systemRandom.state()) << "step " << step;
}

// Moves worked out on a worker thread and taken over later, some begun while the one before was
// still running, leave the window and the catalogue as the same moves made in place. A catalogue
// star is completed when its cube enters the window, before the cube reseeds the source: in the
// first cube a move populates it draws from the source as the move before left it, in a later
// cube as the cube before left it. So a population out of order shows in those stars' ages.
TEST(GalaxyWindow, MovesOnAWorkerThreadMatchTheSameMovesInPlace) {
    const CubeIndex firstOfTheirMove[] = {{2, -1, -1}, {3, -1, -1}, {1, 2, -1}, {1, 0, 2}, {0, -1, -2}, {3, -1, -2}};
    const CubeIndex laterInTheirMove[] = {{2, 1, -1}, {3, 2, 1}, {2, 1, 2}, {0, 2, 2}, {2, -1, 2}};
    std::vector<CubeIndex> visited(std::begin(firstOfTheirMove), std::end(firstOfTheirMove));
    visited.insert(visited.end(), std::begin(laterInTheirMove), std::end(laterInTheirMove));
    std::unique_ptr<GalaxyCatalogue> catalogues[2] = {galaxy(), galaxy()};
    for (auto& catalogue : catalogues) {
        for (const CubeIndex& at : visited) catalogue->stars.push_back(catalogueStar(at.x, at.y, at.z, "Visited"));
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
    for (int group = 0; group < static_cast<int>(groups.size()); ++group) {
        for (int direction : groups[static_cast<std::size_t>(group)]) {
            inPlace.move(direction);
            EXPECT_TRUE(worked.beginMove(direction));
        }
        bool taken = false;
        if (group % 2 == 1) taken = worked.settle();
        while (!taken && worked.moving()) {
            taken = worked.finishMoveIfReady();
            if (!taken) std::this_thread::yield();
        }
        EXPECT_TRUE(taken) << "group " << group;
        EXPECT_FALSE(worked.moving());
        EXPECT_FALSE(worked.settle());
        expectSameWindow(inPlace, worked, group);
    }
    for (std::size_t i = 0; i < visited.size(); ++i) {
        EXPECT_TRUE(catalogues[1]->stars[i]->classified) << i;
        EXPECT_EQ(snapshotOf(*catalogues[1]->stars[i]), snapshotOf(*catalogues[0]->stars[i])) << i;
        EXPECT_EQ(catalogues[1]->stars[i]->ecliptic, catalogues[0]->stars[i]->ecliptic) << i;
    }
}

}  // namespace
