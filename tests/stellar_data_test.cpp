// Stars evolved on the default stellar data files end as they should. The files themselves are
// checked by the data_check_stellar_data test.

#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "galaxy/star_record.h"
#include "galaxy/stellar_tables.h"
#include "platform/file_image.h"

#include "tests/galaxy_test_support.h"

namespace {

const StellarTables& tables() { return realTables(); }

// A star set on the main sequence at its mass and evolved to an age, as generated stars are.
std::pair<bool, StellarData> evolved(double mass, double ageMyr) {
    const StellarClassRecord record = tables().mainSequenceByMass(mass);
    StellarData star;
    star.spectralclass = record.spectralclass;
    star.subtype = record.subtype;
    star.lumclass = record.code;
    star.luminosity = record.luminosity;
    star.radius = record.radius;
    star.surftemp = record.temperature;
    star.mass = mass;
    star.initialmass = mass;
    star.initialluminosity = record.luminosity;
    star.age = ageMyr;
    star.mslifetime = 10000.0 * std::pow(mass, -2.5);
    const bool stillAStar = tables().evolve(star, {});
    return {stillAStar, star};
}

}  // namespace

TEST(StellarData, SunLikeStarLeavesTheMainSequenceAndBecomesAGiant) {
    // Its track leaves the main sequence after ten billion years: a subgiant at 11000 million
    // years, a red giant two hundred million years later.
    const auto [starAt11000, at11000] = evolved(1.0, 11000.0);
    ASSERT_TRUE(starAt11000);
    EXPECT_TRUE(at11000.lumclass == "IV" || at11000.lumclass == "III") << at11000.lumclass;
    EXPECT_GT(at11000.luminosity, 5.0);
    EXPECT_GT(at11000.radius, 3.0);
    EXPECT_LT(at11000.surftemp, 5200.0);

    const auto [starAt11200, at11200] = evolved(1.0, 11200.0);
    ASSERT_TRUE(starAt11200);
    EXPECT_EQ(at11200.lumclass, "III");
    EXPECT_GT(at11200.luminosity, 100.0);
    EXPECT_GT(at11200.radius, 20.0);
    EXPECT_EQ(at11200.spectralclass, "M");
    EXPECT_GT(at11200.mass, 0.6);
    EXPECT_LT(at11200.mass, 1.0);
}

TEST(StellarData, IntermediateMassStarsEndAsWhiteDwarfs) {
    for (double mass : {1.0, 2.0, 3.0, 6.0}) {
        const auto [stillAStar, star] = evolved(mass, 1e6);
        EXPECT_FALSE(stillAStar) << mass;
        EXPECT_EQ(star.typename_, "White Dwarf") << mass;
        EXPECT_EQ(star.spectralclass, "DC") << mass;
        EXPECT_GT(star.mass, 0.0) << mass;
        EXPECT_LT(star.mass, 1.44) << mass;
    }
}
