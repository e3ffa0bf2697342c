// The reasons given against a body's habitability, one row per class boundary: each row moves
// one value of an Earth-like body just past a limit.

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "export/habitability_reasons.h"

namespace {

struct Row {
    double temperature, pressure, gravity, oxygen, carbonDioxide;
    const char* verdict;
    const char* reasons;
};

PlanetRecord body(const Row& row) {
    PlanetRecord b;
    b.medsurftemp = row.temperature;
    b.surfpressure = row.pressure;
    b.surfgrav = row.gravity;
    if (row.pressure > 0.0 && std::isfinite(row.pressure)) {
        b.atmcompounds.push_back({7, 791.0, 78.0});
        b.atmcompounds.push_back({8, row.oxygen, 21.0});
        if (row.carbonDioxide > 0.0) b.atmcompounds.push_back({902, row.carbonDioxide, 1.0});
    }
    return b;
}

const double kInf = std::numeric_limits<double>::infinity();

}  // namespace

TEST(HabitabilityReasons, NameEachLimitPassedWithTheValueAndTheNeed) {
    const Row rows[] = {
        {288, 1013, 1.0, 212, 0, "habitable", ""},
        {288, 1013, 0.59, 212, 0, "habitable", ""},  // low gravity is bearable
        {252.9, 1013, 1.0, 212, 0, "hostile", "too cold: 252.9 K, needs 253-323 K"},
        {323.1, 1013, 1.0, 212, 0, "hostile", "too hot: 323.1 K, needs 253-323 K"},
        {288, 299, 1.0, 212, 0, "hostile", "air too thin: 299 mbar, needs 300-6000 mbar"},
        {288, 6001, 1.0, 212, 0, "hostile", "air too dense: 6001 mbar, needs 300-6000 mbar"},
        {288, 1013, 1.51, 212, 0, "marginal", "gravity 1.51 g, above 1.5 g"},
        {288, 1013, 1.0, 50, 0, "marginal", "air not breathable: O2 at 46.91 mbar inspired, needs 95.99-533.3 mbar"},
        {288, 1013, 1.0, 212, 30, "marginal", "air not breathable: CO2 at 28.14 mbar inspired, at most 9.333 mbar"},
        {250, 0, 2.0, 0, 0, "hostile", "too cold: 250 K, needs 253-323 K; gravity 2 g, above 1.5 g; no air"},
        {288, kInf, 1.0, 0, 0, "hostile", "no surface"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.reasons);
        const PlanetRecord b = body(row);
        const HabitabilityRating rating = rateHabitability(b);
        EXPECT_STREQ(verdictName(rating.verdict), row.verdict);
        EXPECT_EQ(joinedReasons(habitabilityReasons(b, rating)), row.reasons);
    }
    const HabitabilityClassNames names = classNames(rateHabitability(body(rows[8])));
    EXPECT_STREQ(names.air, "toxic");
    EXPECT_STREQ(names.temperature, "fine");
}
