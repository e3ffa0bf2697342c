// Filling cubes of space with stars: seeding per cube, the density model, the population
// regions and the central bar, the bright stage and its binomial counts, the fill-up stage,
// and the catalogue stars that lead a cube's list.

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <map>
#include <ostream>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "galaxy/cube_population.h"
#include "galaxy/galaxy_catalogue.h"
#include "galaxy/mwc_random.h"
#include "galaxy/population_model.h"
#include "galaxy/stellar_tables.h"
#include "platform/file_image.h"

#include "tests/galaxy_test_support.h"

namespace {

// A density picture of 41 x 41 pixels, all of brightness `fill` except the given columns.
std::unique_ptr<PixelImage> densityPicture(int fill, const std::map<std::pair<int, int>, int>& columns = {}) {
    const int size = 41;
    std::vector<PixelColour> pixels(size * size);
    for (int row = 0; row < size; ++row)
        for (int column = 0; column < size; ++column) {
            int b = fill;
            const auto found = columns.find({column - size / 2, size / 2 - row});
            if (found != columns.end()) b = found->second;
            const auto v = static_cast<std::uint8_t>(b);
            pixels[static_cast<std::size_t>(row * size + column)] = {v, v, v};
        }
    return std::make_unique<MemoryImage>(size, size, std::move(pixels));
}

// A galaxy with no bar, a thin disc 20 cubes thick and a thick disc 60 cubes thick.
std::unique_ptr<GalaxyCatalogue> galaxy() {
    auto catalogue = std::make_unique<GalaxyCatalogue>();
    catalogue->stellartables = &realTables();
    catalogue->thindisc = 20.0;
    catalogue->thickdisc = 60.0;
    catalogue->centreradius = 0.0;
    catalogue->galaxyage = 12000.0;
    catalogue->discage = 8000.0;
    catalogue->agegradient = 5.0;
    catalogue->starseed = 4711.0;
    catalogue->systemseed = 99.0;
    return catalogue;
}

std::unique_ptr<StarRecord> catalogueStar(int x, int y, int z, const std::string& name, const std::string& sc,
                                          int subtype, const std::string& lum) {
    auto star = std::make_unique<StarRecord>();
    star->physical = std::make_unique<StellarData>();
    star->cube = {x, y, z};
    star->physical->name = name;
    star->physical->spectralclass = sc;
    star->physical->subtype = subtype;
    star->physical->lumclass = lum;
    return star;
}

// What a generated star is, for comparing two populations of the same cube.
struct StarSnapshot {
    std::string name, spectralclass, lumclass, typename_;
    int subtype;
    double mass, age, luminosity, initialmass;
    std::array<float, 3> offset, ecliptic;
    bool operator==(const StarSnapshot&) const = default;
};

void PrintTo(const StarSnapshot& s, std::ostream* out) {
    *out << s.name << " " << s.spectralclass << s.subtype << s.lumclass << " mass " << s.mass
         << " age " << s.age;
}

std::vector<StarSnapshot> snapshot(const GalaxyCube& cube) {
    std::vector<StarSnapshot> result;
    for (const StarRecord& star : cube.generated) {
        const StellarData& d = *star.physical;
        result.push_back({d.name, d.spectralclass, d.lumclass, d.typename_, d.subtype, d.mass,
                          d.age, d.luminosity, d.initialmass, star.offset, star.ecliptic});
    }
    return result;
}

std::vector<StarSnapshot> populated(GalaxyCatalogue& catalogue, int x, int y, int z,
                                    bool brightonly = false) {
    GalaxyCube cube;
    populateCube(catalogue, cube, x, y, z, densityBrightness(catalogue.densityimage.get(), x, y),
                 brightonly);
    return snapshot(cube);
}

// The density a cube gets: the polynomial of the brightness worked out in double precision,
// times the height factor, the result held as a float.
// The density as the population model was fitted: every step in single precision.
float densityReference(int brightness, int z) {
    const float b = static_cast<float>(brightness);
    const float polynomial = 4.492048e-5f * (b * b * b) - 7.1924765e-8f * (b * b * b * b) -
                             0.0067277409f * (b * b) + 0.39918088f * b - 1.6055759f;
    return polynomial * (1.0f - static_cast<float>(z) * 0.0071428571827709675f);
}

int expectedCount(float density) {
    return static_cast<int>(std::trunc(density * static_cast<double>(0.01f) * static_cast<double>(1000.0f)));
}

class CubePopulation : public ::testing::Test {
protected:
    MwcRandom random;
};

// ---------------------------------------------------------------------------------------------
// Reproducibility and seeding

TEST_F(CubePopulation, ACubeGetsTheSameStarsWhateverTheOrderOfVisits) {
    auto catalogue = galaxy();
    catalogue->densityimage = densityPicture(40, {{{1, 0}, 60}});
    const auto firstA = populated(*catalogue, 0, 0, 3);
    const auto b = populated(*catalogue, 1, 0, 3);
    catalogue->starRandom.seed(777, 888);  // whatever state the source is left in
    const auto secondA = populated(*catalogue, 0, 0, 3);
    ASSERT_FALSE(firstA.empty());
    EXPECT_EQ(firstA, secondA);
    EXPECT_NE(firstA, b);
    EXPECT_EQ(static_cast<int>(firstA.size()), expectedCount(cubeDensity(40, 3)));
    EXPECT_EQ(static_cast<int>(b.size()), expectedCount(cubeDensity(60, 3)));
    for (const StarSnapshot& star : firstA) {
        EXPECT_GT(star.initialmass, 0.09);
        EXPECT_TRUE(std::isfinite(star.age));
        for (float v : star.offset) {
            EXPECT_GE(v, -5.0f);
            EXPECT_LE(v, 5.0f);
        }
        for (float v : star.ecliptic) {
            EXPECT_GE(v, 0.0f);
            EXPECT_LE(v, 360.0f);
        }
        EXPECT_FALSE(star.name.empty());
        EXPECT_NE(star.name[0], '!');
    }
}

TEST_F(CubePopulation, EachCubeReseedsFromItsIndicesAndTheStarSeed) {
    // A black cube in the thin disc draws nothing but the ten class thresholds, so the source
    // is left ten draws after the cube's seed.
    struct Case {
        int x, y, z;
        double starseed;
    };
    for (const Case c : {Case{0, 0, 0, 0.0}, Case{3, -2, 1, 4711.9}, Case{-7, 5, -4, 5e9},
                         Case{12, 9, -9, -3.5e9}}) {
        auto catalogue = galaxy();
        catalogue->starseed = c.starseed;
        GalaxyCube cube;
        populateCube(*catalogue, cube, c.x, c.y, c.z, 0, false);
        EXPECT_EQ(cube.count, 0);

        const std::uint32_t a = static_cast<std::uint32_t>(c.y * 4165 + c.x + 8677778);
        const double sum = std::trunc(static_cast<double>((c.z + 2083) * 1000) + c.starseed);
        const auto b = static_cast<std::uint32_t>(static_cast<std::int64_t>(sum));
        ReferenceMwc reference{a, b};
        for (int i = 0; i < 10; ++i) reference.next();
        EXPECT_EQ(catalogue->starRandom.next(), reference.next())
            << "cube " << c.x << "," << c.y << "," << c.z << " starseed " << c.starseed;
    }
}

TEST_F(CubePopulation, ABrightOnlyCubeHoldsTheFirstStarsOfTheFullOne) {
    auto catalogue = galaxy();
    catalogue->densityimage = densityPicture(200);
    const auto full = populated(*catalogue, 1, 2, 0);
    const auto bright = populated(*catalogue, 1, 2, 0, true);
    ASSERT_LE(bright.size(), full.size());
    for (std::size_t i = 0; i < bright.size(); ++i) EXPECT_EQ(bright[i], full[i]) << i;
    // Bright stars start at two solar masses at least; fill-up stars at most about two.
    for (const StarSnapshot& star : bright) EXPECT_GE(star.initialmass, 2.0);
    for (std::size_t i = bright.size(); i < full.size(); ++i) EXPECT_LT(full[i].initialmass, 2.1);
    // One of them, of 44 solar masses, is a black hole.
    EXPECT_EQ(std::count_if(bright.begin(), bright.end(),
                            [](const StarSnapshot& s) { return s.typename_ == "Black Hole" && s.initialmass < 80; }), 1);
}

// ---------------------------------------------------------------------------------------------
// Density and expected count

TEST_F(CubePopulation, DensityPolynomialOfTheBrightness) {
    EXPECT_EQ(cubeDensity(0, 0), -1.6055759f);
    EXPECT_EQ(cubeDensity(0, 0), densityReference(0, 0));
    EXPECT_FLOAT_EQ(cubeDensity(10, 0), 1.75766f);
    EXPECT_FLOAT_EQ(cubeDensity(255, 0), 103.44159f);
    EXPECT_FLOAT_EQ(cubeDensity(100, 0), 8.763106f);
    // The polynomial is worked out in single precision throughout; a double evaluation is a
    // few units off in the last place, which moves whole stars at the edges, e.g. brightness
    // 58 at height 36 gives 51 stars here and 50 in double precision.
    EXPECT_EQ(expectedCount(cubeDensity(58, 36)), 51);
    EXPECT_EQ(expectedCount(cubeDensity(58, -68)), 102);
    EXPECT_EQ(expectedCount(cubeDensity(231, -89)), 1316);
    std::string mismatches;
    for (int b : {10, 50, 58, 100, 146, 200, 231, 255})
        for (int z : {-89, 0, 36})
            if (cubeDensity(b, z) != densityReference(b, z))
                mismatches += " (" + std::to_string(b) + "," + std::to_string(z) + ")";
    EXPECT_EQ(mismatches, "") << "brightness and height whose density differs from the single-precision evaluation";
    // Below the plane the factor exceeds 1.
    EXPECT_GT(cubeDensity(100, -10), cubeDensity(100, 0));
    EXPECT_LT(cubeDensity(100, 10), cubeDensity(100, 0));
}

TEST_F(CubePopulation, DensityPixelOfACubeColumn) {
    // 41 x 41 picture: cube column (x, y) reads column 20 + x, row 20 - y.
    const auto picture = densityPicture(7, {{{3, 5}, 90}, {{-20, 20}, 33}});
    EXPECT_EQ(densityBrightness(picture.get(), 3, 5), 90);
    EXPECT_EQ(densityBrightness(picture.get(), -20, 20), 33);
    EXPECT_EQ(densityBrightness(picture.get(), 0, 0), 7);
    // Outside the picture, or no picture: black.
    EXPECT_EQ(densityBrightness(picture.get(), 21, 0), 0);
    EXPECT_EQ(densityBrightness(picture.get(), 0, -21), 0);
    EXPECT_EQ(densityBrightness(picture.get(), -21, 0), 0);
    EXPECT_EQ(densityBrightness(nullptr, 0, 0), 0);
    // The brightness is the integer mean of the three channels.
    MemoryImage colour(1, 1, {PixelColour{10, 20, 32}});
    EXPECT_EQ(densityBrightness(&colour, 0, 0), 20);
}

TEST_F(CubePopulation, ABlackPixelGivesNoGeneratedStars) {
    auto catalogue = galaxy();
    catalogue->densityimage = densityPicture(0);
    catalogue->stars.push_back(catalogueStar(0, 0, 0, "Sol", "G", 2, "V"));
    catalogue->buildCubeIndex();
    GalaxyCube cube;
    populateCube(*catalogue, cube, 0, 0, 0, 0, false);
    ASSERT_EQ(cube.count, 1);
    EXPECT_EQ(cube.stars[0]->physical->name, "Sol");
    EXPECT_EQ(populated(*catalogue, 30, 30, 0).size(), 0u);  // outside the picture
}

TEST_F(CubePopulation, TheCountUsesTheSinglePrecisionFactor) {
    // Find a cube whose density times 10 reaches a whole number that the factor 9.9999998
    // misses: its count is the lower one.
    int brightness = -1, height = 0;
    for (int b = 1; b < 256 && brightness < 0; ++b)
        for (int z = -1000; z <= 1000; ++z) {
            const float d = cubeDensity(b, z);
            if (d > 0.0f && std::trunc(d * 10.0) != std::trunc(d * static_cast<double>(0.01f) * 1000.0)) {
                brightness = b;
                height = z;
                break;
            }
        }
    ASSERT_GE(brightness, 0) << "no cube at the edge";
    auto catalogue = galaxy();
    catalogue->thindisc = 5000.0;
    GalaxyCube cube;
    populateCube(*catalogue, cube, 0, 0, height, brightness, false);
    EXPECT_EQ(cube.count, expectedCount(cubeDensity(brightness, height)));
    EXPECT_EQ(cube.count + 1, static_cast<int>(std::trunc(cubeDensity(brightness, height) * 10.0)));
}

TEST_F(CubePopulation, CatalogueStarsLeadTheListAndCountAgainstTheExpected) {
    auto catalogue = galaxy();
    catalogue->densityimage = densityPicture(30);
    catalogue->stars.push_back(catalogueStar(1, 1, 1, "First", "G", 2, "V"));
    catalogue->stars.push_back(catalogueStar(5, 5, 5, "Elsewhere", "K", 1, "V"));
    catalogue->stars.push_back(catalogueStar(1, 1, 1, "Second", "m", 3, "NIL"));
    catalogue->buildCubeIndex();
    const int n = expectedCount(cubeDensity(30, 1));

    GalaxyCube cube;
    populateCube(*catalogue, cube, 1, 1, 1, 30, false);
    ASSERT_EQ(cube.count, 2 + (n - 2));
    EXPECT_EQ(cube.stars[0], catalogue->stars[0].get());
    EXPECT_EQ(cube.stars[1], catalogue->stars[2].get());
    EXPECT_TRUE(cube.stars[0]->classified);
    EXPECT_EQ(cube.stars[1]->physical->spectralclass, "M");
    EXPECT_EQ(cube.stars[1]->physical->lumclass, "V");
    EXPECT_FALSE(catalogue->stars[1]->classified);
    const double age = cube.stars[0]->physical->age;

    // Completed once: a second visit draws no new age.
    populateCube(*catalogue, cube, 1, 1, 1, 30, false);
    EXPECT_EQ(cube.stars[0]->physical->age, age);

    // More catalogue stars than expected: they all stay, nothing is generated.
    for (int i = 0; i < n + 3; ++i)
        catalogue->stars.push_back(catalogueStar(2, 2, 2, "Crowd" + std::to_string(i), "K", 5, "V"));
    catalogue->buildCubeIndex();
    populateCube(*catalogue, cube, 2, 2, 2, 30, false);
    EXPECT_EQ(cube.count, n + 3);
    EXPECT_TRUE(cube.generated.empty());

    // A freshly populated cube has no systems.
    cube.systemsgenerated = 1;
    populateCube(*catalogue, cube, 9, 9, 0, 30, false);
    EXPECT_EQ(cube.systemsgenerated, 0);
}

// ---------------------------------------------------------------------------------------------
// Regions and the bar

TEST_F(CubePopulation, RegionsByHeight) {
    auto catalogue = galaxy();
    catalogue->thindisc = 10.0;   // half: 5
    catalogue->thickdisc = 30.0;  // half: 15
    const float density = 40.0f;

    // Thin disc: no draw.
    random.seed(11, 22);
    CubeExpectation e = expectStars(*catalogue, 30, 30, 4, density, random);
    EXPECT_EQ(e.region, kThinDisc);
    EXPECT_EQ(e.expected, 40.0);
    ReferenceMwc untouched{11, 22};
    EXPECT_EQ(random.next(), untouched.next());

    // Exactly half the thin disc: the last branch, q = U(0, 100) then U(0.2, 0.7).
    for (int z : {5, -5}) {
        random.seed(11, 22);
        e = expectStars(*catalogue, 30, 30, z, density, random);
        ReferenceMwc r{11, 22};
        const double q = r.uniform(0.0, 100.0);
        ASSERT_LT((5.0 - 15.0) * 20.0, q);
        EXPECT_EQ(e.region, kThickDiscOrHalo) << z;
        EXPECT_DOUBLE_EQ(e.expected, r.uniform(0.2, 0.7) * density) << z;
    }

    // Between the halves, outside the centre: q decides between the thin disc and the thick one.
    int thin = 0, thick = 0;
    for (std::uint32_t seed = 1; seed <= 60; ++seed) {
        random.seed(seed, 5);
        e = expectStars(*catalogue, 30, 30, 8, density, random);
        ReferenceMwc r{seed, 5};
        const double q = r.uniform(0.0, 100.0);
        if ((8.0 - 5.0) * 20.0 < q) {
            ++thin;
            EXPECT_EQ(e.region, kThinDisc);
            EXPECT_EQ(e.expected, 40.0);
        } else {
            ++thick;
            EXPECT_EQ(e.region, kThickDiscOrHalo);
            EXPECT_DOUBLE_EQ(e.expected, r.uniform(0.4, 0.7) * density);
        }
    }
    EXPECT_GT(thin, 0);
    EXPECT_GT(thick, 0);

    // Between the halves near the centre: thick disc, U(0.1, 0.5).
    catalogue->centreradius = 50.0;
    random.seed(3, 4);
    e = expectStars(*catalogue, 30, 30, 8, density, random);
    ReferenceMwc r{3, 4};
    EXPECT_EQ(e.region, kThickDiscOrHalo);
    EXPECT_DOUBLE_EQ(e.expected, r.uniform(0.1, 0.5) * density);

    // Far above the thick disc: (|z| - 15) * 20 >= 100 > q, so no stars.
    random.seed(3, 4);
    e = expectStars(*catalogue, 30, 30, 21, density, random);
    EXPECT_EQ(e.expected, 0.0);
}

TEST_F(CubePopulation, TheBarIsATurnedEllipsoid) {
    auto catalogue = galaxy();
    catalogue->bulgewidth = 30.0;
    catalogue->bulgelength = 12.0;
    catalogue->bulgeheight = 8.0;
    catalogue->bulgeangle = 0.0;
    // Half-axes: 15 cubes along x, 6 along y, 4 in height.
    EXPECT_TRUE(insideBar(*catalogue, 0, 0, 0));
    EXPECT_TRUE(insideBar(*catalogue, 14, 0, 0));
    EXPECT_FALSE(insideBar(*catalogue, 15, 0, 0));
    EXPECT_TRUE(insideBar(*catalogue, -14, 0, 0));
    EXPECT_TRUE(insideBar(*catalogue, 0, 5, 0));
    EXPECT_FALSE(insideBar(*catalogue, 0, 7, 0));
    EXPECT_TRUE(insideBar(*catalogue, 0, 0, 3));
    EXPECT_FALSE(insideBar(*catalogue, 0, 0, 4));
    catalogue->bulgeangle = 90.0;
    EXPECT_FALSE(insideBar(*catalogue, 14, 0, 0));
    EXPECT_TRUE(insideBar(*catalogue, 0, 14, 0));
    EXPECT_TRUE(insideBar(*catalogue, 5, 0, 0));

    // Inside the bar: region 0 with the full density and no draw, whatever the height rules say.
    catalogue->thindisc = 0.0;
    catalogue->thickdisc = 0.0;
    random.seed(8, 9);
    const CubeExpectation e = expectStars(*catalogue, 0, 10, 1, 12.5f, random);
    EXPECT_EQ(e.region, kCentralBar);
    EXPECT_EQ(e.expected, 12.5);
    ReferenceMwc untouched{8, 9};
    EXPECT_EQ(random.next(), untouched.next());

    // A galaxy without bar dimensions has no bar.
    auto flat = galaxy();
    EXPECT_FALSE(insideBar(*flat, 0, 0, 0));
}

// ---------------------------------------------------------------------------------------------
// Bright stage

double chanceOfAnyReference(int n, double p) { return 1.0 - std::pow(1.0 - p, n); }

TEST_F(CubePopulation, BrightClassCountsStayWithinTheStarsLeft) {
    for (int n : {0, 1, 2, 7, 40, 300, 999, 1000, 1001, 2500}) {
        for (const BrightClass& bc : kBrightClasses) {
            for (int generated : {0, n / 2, n}) {
                for (int i = 0; i <= 40; ++i) {
                    const double t = 1e-14 + (0.99999999999999 - 1e-14) * i / 40.0;
                    const int count = brightClassCount(n, generated, bc.probability, t);
                    EXPECT_GE(count, 0);
                    EXPECT_LE(count, n - generated) << n << " " << generated << " " << t;
                    EXPECT_LT(count, 2.0 * (n * bc.probability + 1.0));
                    // A class that is drawn gets at least one star while stars are left.
                    if (chanceOfAnyReference(n, bc.probability) > t + 1e-9 && generated < n)
                        EXPECT_GE(count, 1) << n << " " << t;
                    if (chanceOfAnyReference(n, bc.probability) < t - 1e-9) EXPECT_EQ(count, 0);
                }
            }
        }
    }
    // The very smallest threshold takes every star the count allows.
    EXPECT_EQ(brightClassCount(3, 0, 0.5, 1e-14), 3);
    EXPECT_EQ(brightClassCount(3, 1, 0.5, 1e-14), 2);
}

TEST_F(CubePopulation, BinomialTermsBeyondAThousandStarsComeFromLogarithms) {
    const double p = 0.058386420486635324;
    // n = 1001: compare with the running product, which still fits a double.
    {
        const int n = 1001;
        double coefficient = 1.0;
        for (int j = 1; j <= n; ++j) {
            coefficient = coefficient * (n - j + 1) / j;
            const double direct = coefficient * std::pow(1.0 - p, n - j) * std::pow(p, j);
            const double term = binomialTerm(n, j, p, std::nan(""));
            ASSERT_TRUE(std::isfinite(term)) << j;
            if (std::pow(p, j) > 1e-290 && direct > 1e-280) EXPECT_NEAR(term / direct, 1.0, 1e-9) << j;
        }
    }
    // Far beyond: the terms sum to the chance of at least one star, and stay finite.
    for (int n : {1500, 5000, 20000}) {
        for (const BrightClass& bc : kBrightClasses) {
            double sum = 0.0;
            for (int j = 1; j <= n; ++j) {
                const double term = binomialTerm(n, j, bc.probability, 0.0);
                ASSERT_TRUE(std::isfinite(term)) << n << " " << j;
                ASSERT_GE(term, 0.0);
                sum += term;
            }
            EXPECT_NEAR(sum, chanceOfAnyReference(n, bc.probability), 1e-9) << n;
        }
        for (const BrightClass& bc : kBrightClasses) {
            const int count = brightClassCount(n, 0, bc.probability, 0.5);
            if (chanceOfAnyReference(n, bc.probability) > 0.5) EXPECT_GE(count, 1);
            EXPECT_LE(count, n);
            EXPECT_LT(count, 2.0 * (n * bc.probability + 1.0));
        }
    }
}

TEST_F(CubePopulation, ACrowdedCubeBeyondAThousandStars) {
    auto catalogue = galaxy();
    catalogue->thindisc = 400.0;  // |z| = 100 still in the thin disc
    const float density = cubeDensity(255, -100);
    const int n = expectedCount(density);
    ASSERT_GT(n, 1000);
    GalaxyCube cube;
    populateCube(*catalogue, cube, 0, 0, -100, 255, false);
    EXPECT_EQ(cube.count, n);
    int massive = 0;
    for (const StarRecord* star : cube.stars) {
        EXPECT_TRUE(std::isfinite(star->physical->mass));
        EXPECT_TRUE(std::isfinite(star->physical->age));
        if (star->physical->initialmass >= 2.0) ++massive;
    }
    // About 9 percent of stars belong to the bright classes; a thousand-odd stars get some.
    EXPECT_GT(massive, 0);
    EXPECT_LT(massive, n / 2);

    GalaxyCube bright;
    populateCube(*catalogue, bright, 0, 0, -100, 255, true);
    EXPECT_GT(bright.count, 0);
    EXPECT_LE(bright.count, n);
}

// ---------------------------------------------------------------------------------------------
// Star rules

TEST_F(CubePopulation, BrightStarDrawOrder) {
    auto catalogue = galaxy();
    random.seed(1234, 5678);
    const StarRecord star = makeBrightStar(*catalogue, 20.0, kThinDisc, 3.0, 4, 5, 6, 7, random);
    ReferenceMwc r{1234, 5678};
    std::array<float, 3> offset;
    for (float& v : offset) v = static_cast<float>(r.uniform(-5.0, 5.0));
    EXPECT_EQ(star.offset, offset);
    const MassBin& bin = massBinFor(20.0);
    EXPECT_EQ(bin.startmass, 20.0);
    const double target = r.uniform(bin.countstart, bin.countend);
    EXPECT_EQ(star.physical->initialmass, growMass(bin, 20.0, target));
    EXPECT_GE(star.physical->initialmass, 20.0);
    EXPECT_LE(star.physical->initialmass, 35.0 + 1.0);
    EXPECT_EQ(star.cube.x, 4);
    EXPECT_EQ(star.cube.y, 5);
    EXPECT_EQ(star.cube.z, 6);
    EXPECT_EQ(star.id, StarId::generatedStar({4, 5, 6}, 7));
    EXPECT_FALSE(star.systemready);
    EXPECT_FALSE(star.systemfromfile);
    EXPECT_EQ(star.system, nullptr);
}

TEST_F(CubePopulation, FillUpStarsDrawTheirTargetFirst) {
    auto catalogue = galaxy();
    for (std::uint32_t seed = 1; seed < 40; ++seed) {
        random.seed(seed, 99);
        const StarRecord star = makeFillUpStar(*catalogue, kThinDisc, 3.0, 0, 0, 0, 0, random);
        ReferenceMwc r{seed, 99};
        const double target = r.uniform(0.0, 370.2635905792612);
        std::array<float, 3> offset;
        for (float& v : offset) v = static_cast<float>(r.uniform(-5.0, 5.0));
        EXPECT_EQ(star.offset, offset);
        const double start = target > 319.8871322782174 ? 1.0 : target > 243.51116602795884 ? 0.5 : 0.1;
        EXPECT_EQ(star.physical->initialmass, growMass(massBinFor(start), start, target));
        EXPECT_GE(star.physical->initialmass, start);
        EXPECT_LT(star.physical->initialmass, 2.1);
    }
}

TEST_F(CubePopulation, MassTableRowsAndGrowth) {
    EXPECT_EQ(massBinFor(90.0).startmass, 90.0);
    EXPECT_EQ(massBinFor(89.99).startmass, 60.0);
    EXPECT_EQ(massBinFor(2.0).startmass, 2.0);
    EXPECT_EQ(massBinFor(0.5).startmass, 0.5);
    EXPECT_EQ(massBinFor(0.05).startmass, 0.1);
    // The count starts at the bin start: a target at the start leaves the mass alone.
    const MassBin& one = massBinFor(1.0);
    EXPECT_EQ(growMass(one, 1.0, one.countstart), 1.0);
    // One step: 319.887 + 1 * 1^-2 = 320.887 reaches a target of 320.
    EXPECT_DOUBLE_EQ(growMass(one, 1.0, 320.0), 1.01);
    // The whole bin of 1..2 solar masses is crossed by its end count.
    EXPECT_NEAR(growMass(one, 1.0, one.countend), 2.0, 0.05);
}

}  // namespace
