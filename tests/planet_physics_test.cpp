// Physical relations of a body and the generator's random source, checked at their thresholds
// and against values worked out by hand. Whole systems are pinned by the golden outputs.

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>

#include "generation/lcg_random.h"
#include "generation/physical_constants.h"
#include "generation/planet_physics.h"

namespace {

constexpr double kEarthMass = 1.0 / kEarthMassesPerSolarMass;  // in solar masses

// A random source whose first draw is `wanted`.
LcgRandom firstDrawing(int wanted) {
    for (std::uint32_t seed = 1;; ++seed)
        if (LcgRandom(seed).next() == wanted) return LcgRandom(seed);
}

}  // namespace

TEST(LcgRandom, SequenceAndDerivedDraws) {
    LcgRandom random(1);
    EXPECT_EQ(random.next(), 41);
    EXPECT_EQ(random.next(), 18467);
    EXPECT_DOUBLE_EQ(random.drawUniform(10.0, 20.0), 10.0 + 10.0 * 6334.0 / 32767.0);
    EXPECT_EQ(firstDrawing(32767).drawUniform(2.0, 5.0), 5.0);
    EXPECT_EQ(firstDrawing(0).drawUniform(2.0, 5.0), 2.0);
    EXPECT_EQ(firstDrawing(0).drawEccentricity(), 0.99);  // 1 - 0^0.077 = 1 is capped
    EXPECT_EQ(firstDrawing(32767).drawEccentricity(), 0.0);
    EXPECT_DOUBLE_EQ(LcgRandom(1).drawEccentricity(), 0.40228282865071996);
    // Seed 1 draws 41: 23.4 * (1 - 0.4 + 0.8 * 41 / 32767) = 14.06, whole degrees, modulo 360.
    EXPECT_EQ(axialTilt(1.0, random = LcgRandom(1)), 14.0);
    EXPECT_EQ(random.next(), 18467);
    EXPECT_EQ(axialTilt(32.0, random = LcgRandom(1)), 28.0);  // 32^0.2 = 2
    EXPECT_EQ(axialTilt(1e8, random = LcgRandom(1)), 199.0);   // 559.7
}

TEST(PlanetPhysics, ThresholdTables) {
    const double zones[][3] = {{1, 3.999, kInnerZone}, {1, 4, kMiddleZone}, {1, 14.999, kMiddleZone},
                               {1, 15, kOuterZone},    {4, 7.9, kInnerZone}, {4, 8, kMiddleZone}};
    for (const auto& z : zones) EXPECT_EQ(orbitZone(z[0], z[1]), z[2]) << z[0] << ' ' << z[1];
    // {molecular weight, pressure, opacity}: weight bands, then pressure steps.
    const double opacities[][3] = {{0, 0, 3},       {9.999, 0, 3},       {10, 0, 2.34},        {20, 0, 1},
                                   {30, 0, 0.15},   {45, 0, 0.05},       {99.999, 0, 0.05},    {100, 0, 0},
                                   {-1, 0, 0},      {25, 5066.24, 1},    {25, 5066.25, 1.5},   {25, 10132.5, 2},
                                   {25, 30397.5, 3.333}, {25, 50662.5, 6.666}, {25, 70927.4, 6.666}, {25, 70927.5, 8.333}};
    for (const auto& o : opacities) EXPECT_EQ(opacity(o[0], o[1]), o[2]) << o[0] << ' ' << o[1];
    const std::pair<double, PlanetType> sudarsky[] = {{169.99, sudarskyi},   {170, sudarskyii},  {249.99, sudarskyii},
                                                      {250, sudarskyiii},    {899.99, sudarskyiii}, {900, sudarskyiv},
                                                      {1399.99, sudarskyiv}, {1400, sudarskyv}};
    for (const auto& [t, type] : sudarsky) EXPECT_EQ(sudarskyClass(t), type) << t;
    // At albedo 0.2 the equilibrium temperature passes 273.15 K inside about 0.8955 R.
    EXPECT_TRUE(runawayGreenhouse(1.0, 0.89));
    EXPECT_FALSE(runawayGreenhouse(1.0, 0.9));
}

TEST(PlanetPhysics, VolatilesAndSurfaces) {
    // {escape/rms ratio, zone, greenhouse or accreted gas, inventory}
    const double inventories[][4] = {{6, kInnerZone, 0, 1000}, {7, kInnerZone, 1, 140000},
                                     {7, kMiddleZone, 0, 75000.0 / 140.0}, {7, kOuterZone, 0, 250.0 / 140.0},
                                     {5.999, kInnerZone, 1, 0}};
    for (const auto& v : inventories)
        EXPECT_NEAR(volatileInventory(kEarthMass, v[0], 1.0, 1.0, static_cast<OrbitZone>(v[1]), v[2] > 0, false),
                    v[3], 1e-7) << v[0] << ' ' << v[1];
    EXPECT_NEAR(volatileInventory(kEarthMass, 7.0, 1.0, 1.0, kInnerZone, false, true), 140000.0, 1e-7);
    EXPECT_EQ(boilingPoint(0.0), 0.0);
    EXPECT_EQ(greenhouseRise(3.0, 250.0, 0.0), 0.0);
    EXPECT_EQ(waterFraction(100000.0, 6378.0), 1.0);
    EXPECT_NEAR(cloudFraction(287.15, 18.0, 6378.0, 0.5), 0.35216850000000005, 1e-12);
    EXPECT_EQ(cloudFraction(287.15, 18.01, 6378.0, 0.5), 0.0);
    EXPECT_EQ(cloudFraction(350.0, 5.0, 6378.0, 1.0), 1.0);
    const double ice[][3] = {{1, 328, 0}, {1, 283, 0.03125}, {0.5, 238, 0.75}, {1, 100, 1}, {0, 100, 0}};
    for (const auto& i : ice) EXPECT_NEAR(iceFraction(i[0], i[1]), i[2], 1e-12) << i[0] << ' ' << i[1];
    // {water, clouds, ice, pressure, albedo}: a surface not above its share of the clouds is 0.
    const double albedos[][5] = {{0.5, 0.3, 0.2, 1000, 0.272}, {0.5, 0.3, 0.2, 0, 0.22},
                                 {0, 0.4, 0, 1000, 0.298},     {0.05, 0.2, 0, 1000, 0.2315}, {0, 0, 0, 0, 0.07}};
    for (const auto& a : albedos) EXPECT_NEAR(planetAlbedo(a[0], a[1], a[2], a[3]), a[4], 1e-12) << a[0] << a[3];
}

TEST(PlanetPhysics, DayLengthAndSpinLock) {
    GeneratorStar star;
    star.mass = 1.0;
    star.age = 4.5e9;
    const double rows[][6] = {  // type, distance, year in days, eccentricity, day in hours, resonant
        {unknown, 1, 365.256, 0, 16.131484967049403, 0}, {jovian, 1, 365.256, 0, 13.6487414292794, 0},
        {sudarskyii, 1, 365.256, 0, 16.131484967049403, 0},
        // Close to the star the tides stop the spin: the day becomes the year, or on an
        // eccentric orbit a resonant fraction of it; a spin slower than the year locks as well.
        {unknown, 0.05, 4.08, 0.1, 4.08 * 24.0, 0}, {unknown, 0.05, 4.08, 0.2, 4.08 * 24.0 * 0.8 / 1.2, 1},
        {unknown, 1, 0.5, 0, 12.0, 0}};
    for (const auto& [type, sma, period, ecc, day, resonant] : rows) {
        BodyNode body;
        body.star = &star;
        body.mass = kEarthMass;
        body.radius = 6378.0;
        body.density = 5.5;
        body.type = static_cast<PlanetType>(type);
        body.sma = sma;
        body.period = period;
        body.ecc = ecc;
        body.resonant = 1;
        setDayLength(body);
        EXPECT_NEAR(body.day, day, 1e-9) << sma << ' ' << ecc;
        EXPECT_EQ(body.resonant, resonant) << sma << ' ' << ecc;
    }
}
