#include "galaxy/cube_population.h"

#include <cmath>
#include <numbers>

#include "galaxy/mwc_random.h"
#include "generation/lcg_random.h"
#include "galaxy/population_model.h"
#include "galaxy/star_completion.h"
#include "galaxy/star_naming.h"

namespace {

// Above this many stars the binomial coefficient as a running product overflows a double;
// the terms are then worked out through logarithms.
constexpr int kRunningProductLimit = 1000;

// Sum over j = 1..n of binom(n, j) (1-p)^(n-j) p^j: the chance that at least one of n stars
// is of the class.
double chanceOfAny(int n, double p) {
    double sum = 0.0;
    double coefficient = 1.0;
    for (int j = 1; j <= n; ++j) {
        coefficient = coefficient * (n - j + 1) / j;
        sum += binomialTerm(n, j, p, coefficient);
    }
    return sum;
}

void finishStar(const GalaxyParameters& catalogue, StarRecord& star, int region, double distance,
                const StarIdentity& identity, double mass, MwcRandom& random) {
    StellarData& data = *star.physical;
    startOnMainSequence(*catalogue.stellartables, mass, data);
    ageByRegion(catalogue, distance, region, data, random);
    if (data.mslifetime < data.age) {
        if (data.mass >= 0.5)
            catalogue.stellartables->evolve(data, identity);
        else
            data.typename_ = "Main Sequence Star";
    }
    star.cube = {identity.x, identity.y, identity.z};
    star.id = StarId::generatedStar(star.cube, identity.index);
    star.systemfromfile = 0;
    for (float& angle : star.ecliptic) angle = static_cast<float>(random.uniform(0.0, 360.0));
    star.connected = 0;
}

StarRecord newStar() {
    StarRecord star;
    star.physical = std::make_unique<StellarData>();
    return star;
}

void drawOffset(StarRecord& star, MwcRandom& random) {
    for (float& value : star.offset) value = static_cast<float>(random.uniform(-5.0, 5.0));
}

}  // namespace

double binomialTerm(int n, int j, double p, double coefficient) {
    if (n > kRunningProductLimit)
        return std::exp(std::lgamma(n + 1.0) - std::lgamma(j + 1.0) - std::lgamma(n - j + 1.0) +
                        (n - j) * std::log(1.0 - p) + j * std::log(p));
    return coefficient * std::pow(1.0 - p, n - j) * std::pow(p, j);
}

int brightClassCount(int expected, int generated, double probability, double threshold) {
    const double chance = chanceOfAny(expected, probability);
    if (chance <= threshold) return 0;
    const int left = expected - generated;
    double remaining = chance;
    double coefficient = 1.0;
    int count = 0;
    for (int j = 1;; ++j) {
        if (j > left) break;
        if (j >= 2.0 * (expected * probability + 1.0)) break;
        coefficient = coefficient * (left - j + 1) / j;
        remaining -= binomialTerm(left, j, probability, coefficient);
        ++count;
        if (remaining < threshold) break;
    }
    return count;
}

bool insideBar(const GalaxyParameters& catalogue, int x, int y, int z) {
    const double theta = -catalogue.bulgeangle * std::numbers::pi / 180.0;
    const double u = x * std::sin(theta) + y * std::cos(theta);
    const double v = x * std::cos(theta) - y * std::sin(theta);
    const double across = v * catalogue.bulgeheight / catalogue.bulgewidth;
    const double along = u * catalogue.bulgeheight / catalogue.bulgelength;
    return std::sqrt(across * across + along * along + static_cast<double>(z) * z) <
           catalogue.bulgeheight / 2.0;
}

CubeExpectation expectStars(const GalaxyParameters& catalogue, int x, int y, int z, float density,
                            MwcRandom& random) {
    CubeExpectation result;
    const double height = std::abs(static_cast<double>(z));
    const double thin = catalogue.thindisc / 2.0;
    const double thick = catalogue.thickdisc / 2.0;
    const double inPlane = std::sqrt(static_cast<double>(x) * x + static_cast<double>(y) * y);
    if (insideBar(catalogue, x, y, z)) {
        result.region = kCentralBar;
        result.expected = density;
    } else if (height < thin) {
        result.region = kThinDisc;
        result.expected = density;
    } else if (height > thin && height < thick) {
        if (inPlane < catalogue.centreradius) {
            result.region = kThickDiscOrHalo;
            result.expected = random.uniform(0.1, 0.5) * density;
        } else if ((height - thin) * 20.0 < random.uniform(0.0, 100.0)) {
            result.region = kThinDisc;
            result.expected = density;
        } else {
            result.region = kThickDiscOrHalo;
            result.expected = random.uniform(0.4, 0.7) * density;
        }
    } else if ((height - thick) * 20.0 < random.uniform(0.0, 100.0)) {
        result.region = kThickDiscOrHalo;
        result.expected = random.uniform(0.2, 0.7) * density;
    } else {
        result.region = kThickDiscOrHalo;
        result.expected = 0.0;
    }
    return result;
}

StarRecord makeBrightStar(const GalaxyParameters& catalogue, double startmass, int region,
                          double distance, int x, int y, int z, int index, MwcRandom& random) {
    StarRecord star = newStar();
    drawOffset(star, random);
    const MassBin& bin = massBinFor(startmass);
    const double target = random.uniform(bin.countstart, bin.countend);
    const double mass = growMass(bin, startmass, target);
    finishStar(catalogue, star, region, distance, {x, y, z, index}, mass, random);
    return star;
}

StarRecord makeFillUpStar(const GalaxyParameters& catalogue, int region, double distance, int x, int y,
                          int z, int index, MwcRandom& random) {
    const double target = random.uniform(0.0, 370.2635905792612);
    double startmass = 0.1;
    if (target > 319.8871322782174)
        startmass = 1.0;
    else if (target > 243.51116602795884)
        startmass = 0.5;
    StarRecord star = newStar();
    drawOffset(star, random);
    const double mass = growMass(massBinFor(startmass), startmass, target);
    finishStar(catalogue, star, region, distance, {x, y, z, index}, mass, random);
    return star;
}

namespace {

// The catalogue stars of the cube, completed the first time their cube is visited: before the
// source is reseeded for the cube, so they draw from where the visit before left it.
std::vector<StarRecord*> catalogueStarsOf(const GalaxyCatalogue& catalogue, const CubeIndex& at,
                                          int limit, MwcRandom& random,
                                          DeferredCompletions& completions) {
    std::vector<StarRecord*> list;
    for (StarRecord* star : catalogue.starsInCube(at.x, at.y, at.z)) {
        if (limit >= 0 && static_cast<int>(list.size()) >= limit) break;
        if (!star->classified) completions.complete(catalogue, *catalogue.stellartables, *star, random);
        list.push_back(star);
    }
    return list;
}

// How many stars the cube generates besides its `catalogueCount` catalogue stars.
int starsToGenerate(const CubeExpectation& expectation, int catalogueCount) {
    const double expectedCount =
        expectation.expected * static_cast<double>(0.01f) * static_cast<double>(1000.0f) -
        catalogueCount;
    // More than this many stars in one cube means a broken density picture, not a galaxy.
    constexpr double kMostStarsPerCube = 1000000.0;
    const double wanted = std::trunc(expectedCount);
    return wanted > 0.0 ? static_cast<int>(std::fmin(wanted, kMostStarsPerCube)) : 0;
}

}  // namespace

void populateCube(GalaxyCatalogue& catalogue, GalaxyCube& cube, int x, int y, int z,
                  int brightness, bool brightonly, int catalogueLimit) {
    DeferredCompletions completions;
    populateCube(catalogue, cube, {{x, y, z}, brightness, brightonly, catalogueLimit},
                 catalogue.starRandom, completions);
    completions.commit();
}

void populateCube(const GalaxyCatalogue& catalogue, GalaxyCube& cube, const CubeRequest& request,
                  MwcRandom& random, DeferredCompletions& completions) {
    const int x = request.at.x;
    const int y = request.at.y;
    const int z = request.at.z;
    cube = GalaxyCube{};
    cube.index = request.at;
    std::vector<StarRecord*> list =
        catalogueStarsOf(catalogue, request.at, request.catalogueLimit, random, completions);

    const std::uint32_t seedA =
        static_cast<std::uint32_t>(y) * 4165u + static_cast<std::uint32_t>(x) + 8677778u;
    const double heightSeed = static_cast<double>(static_cast<std::int32_t>(
        (static_cast<std::uint32_t>(z) + 2083u) * 1000u));
    random.seed(seedA, low32Bits(heightSeed + catalogue.starseed));

    const float density = cubeDensity(request.brightness, z);
    const CubeExpectation expectation = expectStars(catalogue, x, y, z, density, random);
    const double distance = std::sqrt(static_cast<double>(x) * x + static_cast<double>(y) * y);
    const int toGenerate = starsToGenerate(expectation, static_cast<int>(list.size()));

    std::vector<StarRecord>& made = cube.generated;
    int generated = 0;
    for (const BrightClass& brightClass : kBrightClasses) {
        const double threshold = random.uniform(1e-14, 0.99999999999999);
        const int stars =
            brightClassCount(toGenerate, generated, brightClass.probability, threshold);
        for (int i = 0; i < stars; ++i) {
            made.push_back(makeBrightStar(catalogue, brightClass.startmass, expectation.region,
                                          distance, x, y, z, generated + i, random));
            nameStar(catalogue, made.back(), x, y, z);
        }
        generated += stars;
    }
    if (!request.brightonly) {
        for (int i = generated; i < toGenerate; ++i) {
            made.push_back(makeFillUpStar(catalogue, expectation.region, distance, x, y, z, i, random));
            nameStar(catalogue, made.back(), x, y, z);
        }
    }

    for (StarRecord& star : made) list.push_back(&star);
    cube.stars = std::move(list);
    cube.count = static_cast<std::int32_t>(cube.stars.size());
}
