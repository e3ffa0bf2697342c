#include "generation/planet_physics.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "generation/lcg_random.h"
#include "generation/physical_constants.h"

namespace {
constexpr double kInfinity = std::numeric_limits<double>::infinity();
constexpr double kAlbedoNormalisation = 1.4285714285714286;  // 1 / 0.7
}  // namespace

OrbitZone orbitZone(double luminosity, double a) {
    if (a < 4.0 * std::sqrt(luminosity)) return kInnerZone;
    if (a < 15.0 * std::sqrt(luminosity)) return kMiddleZone;
    return kOuterZone;
}

double orbitalPeriod(double a, double m, double starMass) {
    return std::sqrt(std::pow(a, 3.0) / (m + starMass)) * kDaysPerYear;
}

double axialTilt(double a, LcgRandom& random) {
    const double tilt = std::trunc(std::pow(a, 0.2) * random.drawAround(23.4, 0.4));
    return std::fmod(tilt, 360.0);
}

double exosphereTemp(double a, double ecosphere) {
    const double ratio = a / ecosphere;
    return kEarthExosphereTemp / (ratio * ratio);
}

double rmsVelocity(double weight, double temperature) {
    return std::sqrt(kThreeTimesGasConstant * temperature / weight) * 100.0;
}

double escapeVelocity(double mass, double radius) {
    return std::sqrt(mass * kSolarMassInGrams / (radius * kCmPerKm) * kTwiceGravConstant);
}

double surfaceAcceleration(double mass, double radius) {
    const double cm = radius * kCmPerKm;
    return mass * kSolarMassInGrams * kGravConstant / (cm * cm);
}

double surfaceGravity(double acceleration) { return acceleration * kGravityPerAccel; }

double volumeRadius(double mass, double density) {
    return std::pow(mass * kSolarMassInGrams / density * 3.0 * kOneOverFourPi, 1.0 / 3.0) * 1e-05;
}

double volumeDensity(double mass, double radius) {
    const double cm = radius * kCmPerKm;
    return mass * kSolarMassInGrams / ((kFourPi / 3.0) * (cm * cm * cm));
}

double empiricalDensity(double mass, double a, double ecosphere) {
    return std::pow(mass * kEarthMassesPerSolarMass, 0.125) * std::pow(ecosphere / a, 0.25) * 1.2;
}

namespace {

// The atomic weight and number of a zone's matter, with the powers of them the radius needs;
// the powers have constant arguments, so the compiler works them out.
struct ZoneMatter {
    double weight;
    double number;
    double cubeRootOfProduct;     // (weight * number)^(1/3)
    double weightToFourThirds;    // weight^(4/3)
};

ZoneMatter zoneMatter(OrbitZone zone) {
    if (zone == kInnerZone) return {15.0, 8.0, std::pow(15.0 * 8.0, 1.0 / 3.0), std::pow(15.0, 4.0 / 3.0)};
    return {10.0, 5.0, std::pow(10.0 * 5.0, 1.0 / 3.0), std::pow(10.0, 4.0 / 3.0)};
}

}  // namespace

double kothariRadius(double mass, OrbitZone zone) {
    const ZoneMatter matter = zoneMatter(zone);
    const double number = matter.number;
    const double t1 = std::pow(kSolarMassInGrams, 1.0 / 3.0) * 11420000000000.0 /
                      (matter.cubeRootOfProduct * 6485000000000.0);
    const double t2 = std::pow(kSolarMassInGrams, 2.0 / 3.0) * matter.weightToFourThirds *
                      4.0032e-08 * std::pow(mass, 2.0 / 3.0) / (number * number * 6485000000000.0);
    return t1 / (t2 + 1.0) * std::pow(mass, 1.0 / 3.0) * 1e-05 * 0.9960159362549801;
}

double moleculeLimit(double mass, double radius, double exotemp) {
    const double retaining = escapeVelocity(mass, radius) * kOneSixth * 0.01;
    return kThreeTimesGasConstant * exotemp / (retaining * retaining);
}

double gasLife(double weight, const BodyNode& body) {
    const double v = rmsVelocity(weight, body.exotemp);
    const double g = body.surfgrav * 980.7;
    const double r = body.radius * kCmPerKm;
    const double years = v * v * v / (2.0 * (g * g) * r) * std::exp(3.0 * g * r / (v * v)) *
                         kSecondsPerYearInverse;
    return years > 2e10 ? kInfinity : years;
}

double minMolecularWeight(const BodyNode& body) {
    const double target = body.star != nullptr ? body.star->age : 5e9;
    double lighter = moleculeLimit(body.mass, body.radius, body.exotemp);
    double heavier = lighter;
    double life = gasLife(lighter, body);
    if (life > target) {
        for (int i = 0; i < 25 && life > target; ++i) {
            lighter = lighter / 2.0;
            life = gasLife(lighter, body);
        }
    } else if (life < target) {
        for (int i = 0; i < 25 && life < target; ++i) {
            heavier = heavier * 2.0;
            life = gasLife(heavier, body);
        }
    }
    for (int i = 0; i < 25 && heavier - lighter > 0.1; ++i) {
        const double guess = (lighter + heavier) / 2.0;
        if (gasLife(guess, body) < target)
            lighter = guess;
        else
            heavier = guess;
    }
    return heavier;
}

double volatileInventory(double mass, double escVelocity, double rmsVel, double starMass,
                         OrbitZone zone, bool greenhouse, bool accretedGas) {
    if (escVelocity / rmsVel < 6.0) return 0.0;
    const double k = zone == kInnerZone ? 140000.0 : zone == kMiddleZone ? 75000.0 : 250.0;
    const double inventory = k * mass * kEarthMassesPerSolarMass / starMass;
    if (greenhouse || accretedGas) return inventory;
    return inventory * 0.007142857142857143;
}

double surfacePressure(double volInventory, double radius, double surfGrav) {
    const double ratio = kEarthRadiusKm / radius;
    return volInventory * surfGrav * 1.01325 / (ratio * ratio);
}

double boilingPoint(double surfPressure) {
    if (surfPressure <= 0.0) return 0.0;
    return 1.0 / (std::log(surfPressure / 1000.0) * -0.000198000198000198 + 0.002680965147453083);
}

double estimatedTemp(double ecosphere, double a, double albedo) {
    return 287.15 * std::sqrt(ecosphere / a) *
           std::pow((1.0 - albedo) * kAlbedoNormalisation, 0.25);
}

double equilibriumTemp(double ecosphere, double a, double albedo) {
    return 250.0 * std::sqrt(ecosphere / a) *
           std::pow((1.0 - albedo) * kAlbedoNormalisation, 0.25);
}

bool runawayGreenhouse(double ecosphere, double a) {
    return equilibriumTemp(ecosphere, a, 0.2) > kFreezingPoint;
}

double opacity(double molWeight, double surfPressure) {
    double tau = 0.0;
    if (molWeight >= 0.0 && molWeight < 10.0)
        tau = 3.0;
    else if (molWeight >= 10.0 && molWeight < 20.0)
        tau = 2.34;
    else if (molWeight >= 20.0 && molWeight < 30.0)
        tau = 1.0;
    else if (molWeight >= 30.0 && molWeight < 45.0)
        tau = 0.15;
    else if (molWeight >= 45.0 && molWeight < 100.0)
        tau = 0.05;

    if (surfPressure >= 70927.5)
        tau *= 8.333;
    else if (surfPressure >= 50662.5)
        tau *= 6.666;
    else if (surfPressure >= 30397.5)
        tau *= 3.333;
    else if (surfPressure >= 10132.5)
        tau *= 2.0;
    else if (surfPressure >= 5066.25)
        tau *= 1.5;
    return tau;
}

double greenhouseRise(double opacity, double effectiveTemp, double surfPressure) {
    PowerMemo opacityPower;
    PowerMemo pressurePower;
    return greenhouseRise(opacity, effectiveTemp, surfPressure, opacityPower, pressurePower);
}

double greenhouseRise(double opacity, double effectiveTemp, double surfPressure,
                      PowerMemo& opacityPower, PowerMemo& pressurePower) {
    const double rise = (opacityPower(1.0 + 0.75 * opacity, 0.25) - 1.0) * effectiveTemp * 0.43 *
                        pressurePower(surfPressure * 0.0009869232667160128, 0.4);
    return rise < 0.0 ? 0.0 : rise;
}

double waterFraction(double volInventory, double radius) {
    const double ratio = kEarthRadiusKm / radius;
    const double water = volInventory * 0.00071 * (ratio * ratio);
    return water > 1.0 ? 1.0 : water;
}

double cloudFraction(double surfTemp, double minMolWeight, double radius, double water) {
    if (minMolWeight > kWaterVapourWeight) return 0.0;
    const double area = kFourPi * (radius * radius);
    const double clouds = water * area * 3830000000000000.0 * 1e-08 *
                          std::exp(0.0698 * (surfTemp - 287.15)) / area * 1.839e-08;
    return clouds > 1.0 ? 1.0 : clouds;
}

double iceFraction(double water, double surfTemp) {
    const double t = std::min(surfTemp, 328.0);
    double ice = std::pow((328.0 - t) * 0.011111111111111112, 5.0);
    if (ice > 1.5 * water) ice = 1.5 * water;
    return ice > 1.0 ? 1.0 : ice;
}

double planetAlbedo(double water, double clouds, double ice, double surfPressure) {
    double rock = 1.0 - water - ice;
    int surfaces = 0;
    if (water > 0.0) ++surfaces;
    if (ice > 0.0) ++surfaces;
    if (rock > 0.0) ++surfaces;
    const double share = clouds / surfaces;
    water = water > share ? water - share : 0.0;
    ice = ice > share ? ice - share : 0.0;
    rock = rock > share ? rock - share : 0.0;
    if (surfPressure != 0.0)
        return water * 0.04 + ice * 0.7 + rock * 0.15 + clouds * 0.52;
    return ice * 0.5 + rock * 0.07 + clouds * 0.52;
}

void setDayLength(BodyNode& body) {
    body.resonant = 0;
    const double year = body.period * 24.0;
    const bool giant = body.type == jovian || body.type == icegiant || body.type == gasdwarf;
    const double k2 = giant ? 0.24 : 0.33;
    const double grams = body.mass * kSolarMassInGrams;
    const double cm = body.radius * kCmPerKm;
    const double starMass = body.star->mass;
    const double baseSpin = std::sqrt(grams * 2.92e-19 / ((cm * cm) * k2));
    const double change = -1.3e-15 * (body.density * 0.1811594202898551) *
                          (cm * 1.5678896205707118e-09) * (5.977e+27 / grams) *
                          (starMass * starMass) / std::pow(body.sma, 6.0) * body.star->age;
    const double spin = baseSpin + change;
    const bool stopped = spin <= 0.0;
    const double day = stopped ? kInfinity : 6.2831853072 / (spin * 3600.0);
    if (day < year && !stopped) {
        body.day = day;
    } else if (body.ecc > 0.1) {
        body.resonant = 1;
        body.day = year * (1.0 - body.ecc) / (1.0 + body.ecc);
    } else {
        body.day = year;
    }
}

double softLimit(double value, double upper, double lower) {
    const double span = upper - lower;
    const double x = 2.0 * (value - lower) / span - 1.0;
    return (x / std::pow(1.0 + x * x * x * x, 0.25) + 1.0) / 2.0 * span + lower;
}

namespace {

// What the temperature range is worked out from.
struct RangeInputs {
    double mean;
    double pressureFactor;
    double partialRoot;  // the square root of the partial pressure factor
    double tiltFactor;
    double dayFactor;
    double upper;
    double lower;
};

RangeInputs rangeInputs(const BodyNode& body) {
    const double s = body.medsurftemp;
    const double p = body.surfpressure;
    RangeInputs in;
    in.mean = s;
    in.pressureFactor = 1.0 / std::sqrt(1.0 + 0.02 * p);
    const double partialFactor = 1.0 / std::sqrt(10.0 + 0.005 * p);
    in.partialRoot = std::sqrt(partialFactor);
    in.tiltFactor = std::fabs(std::cos(body.axtilt * 0.01745329252) *
                              ((1.0 + body.ecc) * (1.0 + body.ecc)));
    in.dayFactor = 1.0 / (200.0 / body.day + 1.0);
    in.upper = s + 10.0 * std::sqrt(s);
    in.lower = s / std::sqrt(body.day + 24.0);
    return in;
}

}  // namespace

void setHighTemperatures(BodyNode& body, PowerMemo& dayPower) {
    const RangeInputs in = rangeInputs(body);
    const double hi = dayPower(1.0 + in.dayFactor, in.pressureFactor) * in.mean;
    body.hightemp = softLimit(hi, in.upper, in.lower);
    if (!body.greenhouse) return;
    const double sh = hi + std::pow((100.0 + hi) * in.tiltFactor, in.partialRoot);
    body.maxtemp = softLimit(sh, in.upper, in.lower);
}

void setTemperatureRange(BodyNode& body) {
    const RangeInputs in = rangeInputs(body);
    const double hi = std::pow(1.0 + in.dayFactor, in.pressureFactor) * in.mean;
    const double sh = hi + std::pow((100.0 + hi) * in.tiltFactor, in.partialRoot);
    body.hightemp = softLimit(hi, in.upper, in.lower);
    body.maxtemp = softLimit(sh, in.upper, in.lower);
    double lo = std::pow(1.0 - in.dayFactor, in.pressureFactor) * in.mean;
    double wl = lo - std::pow((150.0 + lo) * in.tiltFactor, in.partialRoot);
    if (lo < in.lower) lo = in.lower;
    if (wl < 0.0) wl = 0.0;
    body.lowtemp = softLimit(lo, in.upper, in.lower);
    body.mintemp = softLimit(wl, in.upper, in.lower);
}

PlanetType sudarskyClass(double temperature) {
    if (temperature < 170.0) return sudarskyi;
    if (temperature < 250.0) return sudarskyii;
    if (temperature < 900.0) return sudarskyiii;
    if (temperature < 1400.0) return sudarskyiv;
    return sudarskyv;
}
