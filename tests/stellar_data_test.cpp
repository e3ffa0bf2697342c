// The default stellar data files as the program reads them: complete records, a main sequence
// that runs the right way with the Sun in its place, tracks that start on it, a reference
// image that names the classes of the table, and stars that end as they should.

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <fstream>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "galaxy/star_record.h"
#include "galaxy/stellar_tables.h"
#include "platform/file_image.h"

namespace {

const StellarTables& tables() {
    static const std::unique_ptr<StellarTables> loaded = [] {
        auto t = std::make_unique<StellarTables>();
        EXPECT_TRUE(t->load(STARVANE_SOURCE_DIR "/data", FileImageLoader{}));
        return t;
    }();
    return *loaded;
}

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

TEST(StellarData, TableHas1050CompleteRecords) {
    std::ifstream in(STARVANE_SOURCE_DIR "/data/Starvane/Data/StellarTable.csv");
    int lines = 0;
    for (std::string line; std::getline(in, line);) ++lines;
    EXPECT_EQ(lines, 1050);

    int records = 0;
    for (int block = 0; block <= 13; ++block)
        for (int subtype = 0; subtype < 10; ++subtype)
            for (int lum = 0; lum < (block == 13 ? 1 : 8); ++lum) {
                const StellarClassRecord& r = tables().record(block, subtype, lum);
                EXPECT_GT(r.mass, 0.0) << r.spectralclass << subtype << r.code;
                EXPECT_GT(r.luminosity, 0.0) << r.spectralclass << subtype << r.code;
                EXPECT_GT(r.radius, 0.0) << r.spectralclass << subtype << r.code;
                EXPECT_GT(r.temperature, 0.0) << r.spectralclass << subtype << r.code;
                ++records;
            }
    EXPECT_EQ(records, 1050);
}

TEST(StellarData, MainSequenceFallsFromO0ToM9) {
    for (int i = 1; i < 70; ++i) {
        const StellarClassRecord& hotter = tables().record((i - 1) / 10, (i - 1) % 10, 6);
        const StellarClassRecord& cooler = tables().record(i / 10, i % 10, 6);
        EXPECT_LT(cooler.temperature, hotter.temperature) << cooler.spectralclass << cooler.subtype;
        EXPECT_LT(cooler.luminosity, hotter.luminosity) << cooler.spectralclass << cooler.subtype;
        EXPECT_LT(cooler.mass, hotter.mass) << cooler.spectralclass << cooler.subtype;
    }
}

TEST(StellarData, ReferenceImageNamesTheClassesOfTheTable) {
    ASSERT_NE(tables().referenceImage(), nullptr);
    int total = 0;
    int agreeing = 0;
    for (int block = 0; block <= 6; ++block)
        for (int subtype = 0; subtype < 10; ++subtype)
            for (int lum = 0; lum <= 6; ++lum) {
                const StellarClassRecord& r = tables().record(block, subtype, lum);
                ++total;
                if (tables().classAt(r.temperature, r.luminosity) == r.code) ++agreeing;
            }
    EXPECT_EQ(total, 490);
    EXPECT_GE(agreeing, 0.9 * total) << agreeing << " of " << total;

    // The white dwarfs lie where the image says "DC".
    int dwarfs = 0;
    for (int subtype = 0; subtype < 10; ++subtype) {
        const StellarClassRecord& r = tables().record(13, subtype, 0);
        if (tables().classAt(r.temperature, r.luminosity) == "DC") ++dwarfs;
    }
    EXPECT_GE(dwarfs, 9);
}

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
