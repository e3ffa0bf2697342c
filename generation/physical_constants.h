#pragma once
// Physical constants of the planetary generator, as the generator uses them.

constexpr double kEarthMassesPerSolarMass = 332775.64;
constexpr double kFiveEarthMasses = 1.5025138258317224e-05;  // solar masses
constexpr double kSolarMassInGrams = 1.989e33;
constexpr double kGravConstant = 6.672e-08;
constexpr double kTwiceGravConstant = 1.3344e-07;
constexpr double kCmPerKm = 100000.0;
constexpr double kEarthRadiusKm = 6378.0;
constexpr double kKmPerAu = 149597870.7;
constexpr double kAuPerKm = 6.6845871222684464e-09;
constexpr double kThreeTimesGasConstant = 24943.23;
constexpr double kOneSixth = 0.16666666666666666;  // share of escape velocity that retains a gas
constexpr double kEarthExosphereTemp = 1273.0;
constexpr double kNitrogenWeight = 28.0;
constexpr double kWaterVapourWeight = 18.0;
constexpr double kFreezingPoint = 273.15;
constexpr double kDaysPerYear = 365.256;
constexpr double kOneOverFourPi = 0.07957747154568913;
constexpr double kFourPi = 12.5663706144;
constexpr double kSecondsPerYearInverse = 3.168756727904285e-08;
constexpr double kGravityPerAccel = 0.0010196798205363514;  // Earth gravities per cm/s²
