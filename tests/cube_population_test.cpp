// Filling cubes of space with stars: seeding per cube, the density model, the population
// regions and the central bar, the binomial counts of the bright stage, and the catalogue stars
// that lead a cube's list. Whole cubes are pinned by the golden cube outputs.

#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

#include "galaxy/cube_population.h"
#include "galaxy/galaxy_catalogue.h"
#include "galaxy/mwc_random.h"
#include "galaxy/population_model.h"

#include "tests/galaxy_test_support.h"

namespace {

// A density picture of 41 x 41 pixels, all of brightness `fill` except the given columns.
std::unique_ptr<PixelImage> densityPicture(int fill, const std::map<std::pair<int, int>, int>& columns = {}) {
    std::vector<PixelColour> pixels(41 * 41);
    for (int row = 0; row < 41; ++row)
        for (int column = 0; column < 41; ++column) {
            const auto found = columns.find({column - 20, 20 - row});
            const auto v = static_cast<std::uint8_t>(found != columns.end() ? found->second : fill);
            pixels[static_cast<std::size_t>(row * 41 + column)] = {v, v, v};
        }
    return std::make_unique<MemoryImage>(41, 41, std::move(pixels));
}

// Initial mass and first offset of each generated star: enough to tell two populations apart.
std::vector<std::pair<double, float>> populated(GalaxyCatalogue& catalogue, int x, int y, int z,
                                                bool brightonly = false) {
    GalaxyCube cube;
    populateCube(catalogue, cube, x, y, z, densityBrightness(catalogue.densityimage.get(), x, y), brightonly);
    std::vector<std::pair<double, float>> out;
    for (const StarRecord& star : cube.generated) out.emplace_back(star.physical->initialmass, star.offset[0]);
    return out;
}

// Stars of a cube in the thin disc.
int countOf(int brightness, int z) {
    GalaxyCube cube;
    auto catalogue = smallGalaxy();
    catalogue->thindisc = 5000.0;
    populateCube(*catalogue, cube, 0, 0, z, brightness, false);
    return cube.count;
}

}  // namespace

TEST(CubePopulation, ACubeGetsTheSameStarsWhateverTheOrderOfVisits) {
    auto catalogue = smallGalaxy();
    catalogue->densityimage = densityPicture(40, {{{1, 0}, 60}});
    const auto first = populated(*catalogue, 0, 0, 3);
    const auto neighbour = populated(*catalogue, 1, 0, 3);
    catalogue->starRandom.seed(777, 888);
    EXPECT_EQ(populated(*catalogue, 0, 0, 3), first);
    EXPECT_EQ(first.size(), 61u);
    EXPECT_EQ(neighbour.size(), 67u);

    // A bright-only cube holds the first stars of the full one: those of two solar masses up.
    catalogue->densityimage = densityPicture(200);
    const auto full = populated(*catalogue, 1, 2, 0);
    const auto bright = populated(*catalogue, 1, 2, 0, true);
    ASSERT_LT(bright.size(), full.size());
    EXPECT_EQ(bright, decltype(full)(full.begin(), full.begin() + static_cast<long>(bright.size())));
    for (const auto& [mass, offset] : bright) EXPECT_GE(mass, 2.0);
    EXPECT_LT(full[bright.size()].first, 2.1);
}

// A black cube in the thin disc draws only the ten class thresholds after its seed, so the next
// draw tells the seed.
TEST(CubePopulation, EachCubeReseedsFromItsIndicesAndTheStarSeed) {
    struct Case { int x, y, z; double starseed; std::uint32_t next; };
    for (const Case c : {Case{0, 0, 0, 0.0, 1639539551u}, Case{3, -2, 1, 4711.9, 3484185799u},
                         Case{-7, 5, -4, 5e9, 2419128943u}, Case{12, 9, -9, -3.5e9, 236308575u}}) {
        auto catalogue = smallGalaxy();
        catalogue->starseed = c.starseed;
        GalaxyCube cube;
        populateCube(*catalogue, cube, c.x, c.y, c.z, 0, false);
        EXPECT_EQ(cube.count, 0);
        EXPECT_EQ(catalogue->starRandom.next(), c.next) << c.x << "," << c.y << "," << c.z;
    }
    // The source itself: the first two draws after two seeds, and a uniform draw.
    MwcRandom random(0xFFFFFFFFu, 0xFFFFFFFFu);
    EXPECT_EQ(random.next(), 3051796911u);
    EXPECT_EQ(random.next(), 3891209984u);
    random.seed(1, 2);
    EXPECT_EQ(random.next(), 2422836384u);
    EXPECT_DOUBLE_EQ(random.uniform(-5.0, 5.0), -0.55897593394829315);
}

// The polynomial and the count's factor (0.01f * 1000) are single precision: worked out in
// double the last count would be one star more. The pixel of a column is the integer mean of
// its channels, black outside the picture.
TEST(CubePopulation, DensityFromThePixelAndTheHeight) {
    const std::tuple<int, int, float> densities[] = {{0, 0, -1.6055759f}, {10, 0, 1.75766f}, {255, 0, 103.44159f},
                                                     {100, -10, 9.389043f}, {255, 70, 51.72078f}};
    for (const auto& [brightness, z, density] : densities) EXPECT_FLOAT_EQ(cubeDensity(brightness, z), density) << brightness;
    const std::array<int, 3> counts[] = {{58, 36, 51}, {231, -89, 1316}, {117, -275, 339}};
    for (const auto& [brightness, z, count] : counts) EXPECT_EQ(countOf(brightness, z), count) << brightness << " " << z;

    const auto picture = densityPicture(7, {{{3, 5}, 90}, {{-20, 20}, 33}});
    const std::array<int, 3> pixels[] = {{3, 5, 90}, {-20, 20, 33}, {0, 0, 7}, {21, 0, 0}, {0, -21, 0}, {-21, 0, 0}};
    for (const auto& [x, y, brightness] : pixels) EXPECT_EQ(densityBrightness(picture.get(), x, y), brightness) << x << "," << y;
    EXPECT_EQ(densityBrightness(nullptr, 0, 0), 0);
    MemoryImage colour(1, 1, {PixelColour{10, 20, 32}});
    EXPECT_EQ(densityBrightness(&colour, 0, 0), 20);
}

TEST(CubePopulation, CatalogueStarsLeadTheListAndCountAgainstTheExpected) {
    auto catalogue = smallGalaxy();
    for (const CubeIndex& at : {CubeIndex{1, 1, 1}, CubeIndex{5, 5, 5}, CubeIndex{1, 1, 1}}) addCatalogueStar(*catalogue, at);
    catalogue->buildCubeIndex();
    const int n = countOf(30, 1);
    GalaxyCube cube;
    populateCube(*catalogue, cube, 1, 1, 1, 30, false);
    ASSERT_EQ(cube.count, n);
    EXPECT_EQ(cube.stars[0], catalogue->stars[0].get());
    EXPECT_EQ(cube.stars[1], catalogue->stars[2].get());
    EXPECT_FALSE(catalogue->stars[1]->classified);
    const double age = cube.stars[0]->physical->age;
    populateCube(*catalogue, cube, 1, 1, 1, 30, false);  // completed once: no new age
    EXPECT_EQ(cube.stars[0]->physical->age, age);

    // More catalogue stars than expected: they all stay, nothing is generated.
    for (int i = 0; i < n + 3; ++i) addCatalogueStar(*catalogue, {2, 2, 2});
    catalogue->buildCubeIndex();
    cube.systemsgenerated = 1;
    populateCube(*catalogue, cube, 2, 2, 2, 30, false);
    EXPECT_EQ(cube.count, n + 3);
    EXPECT_TRUE(cube.generated.empty());
    EXPECT_EQ(cube.systemsgenerated, 0);
    populateCube(*catalogue, cube, 1, 1, 1, 0, false);  // a black pixel keeps the catalogue stars
    EXPECT_EQ(cube.count, 2);
}

// Inside the bar and inside half the thin disc a cube has the full density and draws nothing;
// above, draws decide between the discs and the halo and how much of the density is left.
TEST(CubePopulation, RegionsByHeightAndTheBar) {
    auto catalogue = smallGalaxy();
    EXPECT_FALSE(insideBar(*catalogue, 0, 0, 0));  // no bar dimensions, no bar
    catalogue->bulgewidth = 30.0;  // half-axes: 15 cubes along x, 6 along y, 4 in height
    catalogue->bulgelength = 12.0;
    catalogue->bulgeheight = 8.0;
    const std::pair<std::array<int, 3>, bool> bar[] = {
        {{0, 0, 0}, true},  {{14, 0, 0}, true}, {{15, 0, 0}, false}, {{-14, 0, 0}, true},
        {{0, 5, 0}, true},  {{0, 7, 0}, false}, {{0, 0, 3}, true},   {{0, 0, 4}, false}};
    for (const auto& [p, inside] : bar) EXPECT_EQ(insideBar(*catalogue, p[0], p[1], p[2]), inside) << p[0] << p[1] << p[2];
    catalogue->bulgeangle = 90.0;
    EXPECT_FALSE(insideBar(*catalogue, 14, 0, 0));
    EXPECT_TRUE(insideBar(*catalogue, 0, 14, 0));
    catalogue->thindisc = catalogue->thickdisc = 0.0;  // whatever the height rules say
    MwcRandom random(8, 9);
    const CubeExpectation inBar = expectStars(*catalogue, 0, 10, 1, 12.5f, random);
    EXPECT_EQ(inBar.region, kCentralBar);
    EXPECT_EQ(inBar.expected, 12.5);
    EXPECT_EQ(random.next(), MwcRandom(8, 9).next());  // no draw taken

    catalogue->thindisc = 10.0;   // half: 5
    catalogue->thickdisc = 30.0;  // half: 15
    struct Case { int z; double centreradius; std::uint32_t seed; int region; double expected; };
    const Case cases[] = {
        {4, 0, 11, kThinDisc, 40.0},                        // inside half the thin disc
        {5, 0, 11, kThickDiscOrHalo, 12.745376139121451},   // exactly half: U(0.2, 0.7)
        {-5, 0, 11, kThickDiscOrHalo, 12.745376139121451},
        {8, 0, 3, kThinDisc, 40.0},                         // between the halves the draw decides
        {8, 0, 1, kThickDiscOrHalo, 19.658749121161819},    // ... U(0.4, 0.7)
        {8, 50, 3, kThickDiscOrHalo, 15.078379514412577},   // near the centre: U(0.1, 0.5)
        {21, 0, 3, kThickDiscOrHalo, 0.0},                  // far above the thick disc
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.z) + " seed " + std::to_string(c.seed));
        catalogue->centreradius = c.centreradius;
        random.seed(c.seed, 22);
        const CubeExpectation e = expectStars(*catalogue, 30, 30, c.z, 40.0f, random);
        EXPECT_EQ(e.region, c.region);
        EXPECT_DOUBLE_EQ(e.expected, c.expected);
    }
    random.seed(11, 22);
    expectStars(*catalogue, 30, 30, 4, 40.0f, random);
    EXPECT_EQ(random.next(), 881396448u);  // the first draw of (11, 22): none was taken
}

TEST(CubePopulation, BinomialCountsBeyondAThousandStars) {
    // The terms of j >= 1 stars add up to the chance of at least one, also where the running
    // coefficient no longer fits a double and logarithms take over.
    for (int n : {1001, 20000})
        for (const BrightClass& bc : kBrightClasses) {
            double sum = 0.0;
            for (int j = 1; j <= n; ++j) sum += binomialTerm(n, j, bc.probability, 0.0);
            EXPECT_NEAR(sum, 1.0 - std::pow(1.0 - bc.probability, n), 1e-9) << n;
        }
    struct Case { int expected, generated; double probability, threshold; int count; };
    for (const Case& c : {Case{3, 0, 0.5, 1e-14, 3}, Case{3, 1, 0.5, 1e-14, 2}, Case{40, 0, 0.05, 0.5, 2},
                          Case{40, 0, 0.05, 0.9, 0}, Case{2500, 0, 0.05, 0.5, 125}})
        EXPECT_EQ(brightClassCount(c.expected, c.generated, c.probability, c.threshold), c.count) << c.expected;

    // A crowded cube of more than a thousand stars fills up with finite stars.
    GalaxyCube cube;
    auto catalogue = smallGalaxy();
    catalogue->thindisc = 400.0;
    populateCube(*catalogue, cube, 0, 0, -100, 255, false);
    EXPECT_EQ(cube.count, 1773);
    for (const StarRecord* star : cube.stars) ASSERT_TRUE(std::isfinite(star->physical->mass));
}
