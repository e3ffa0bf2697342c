#pragma once
// The physical relations of a body: orbit, size, gravity, gas retention, spin, pressure,
// temperatures and surface fractions. Plain functions of their inputs; those that need the
// body's state take the BodyNode (and its star) and read only what the relation names.

#include "generation/body_node.h"
#include "generation/power_memo.h"

class LcgRandom;

// Orbital zone of a distance `a` (AU) around a star of luminosity `luminosity`.
OrbitZone orbitZone(double luminosity, double a);

// Orbital period in days of a body of mass `m` around a star of mass `starMass`.
double orbitalPeriod(double a, double m, double starMass);

// Axial tilt in degrees (draws once from `random`).
double axialTilt(double a, LcgRandom& random);

// Exospheric temperature at distance `a` from a star of ecosphere radius `ecosphere`.
double exosphereTemp(double a, double ecosphere);

// Root-mean-square velocity (cm/s) of molecules of `weight` at `temperature`.
double rmsVelocity(double weight, double temperature);

double escapeVelocity(double mass, double radius);
double surfaceAcceleration(double mass, double radius);
double surfaceGravity(double acceleration);

// Radius (km) of a body of `mass` and `density` (g/cm³), and the density of `mass` in `radius`.
double volumeRadius(double mass, double density);
double volumeDensity(double mass, double radius);

// Density a body would have by the empirical rule for its mass and distance.
double empiricalDensity(double mass, double a, double ecosphere);

// Radius (km) of a cold body of `mass` made of the material of orbital `zone`.
double kothariRadius(double mass, OrbitZone zone);

// Smallest molecular weight a body of `mass` and `radius` keeps at `exotemp`.
double moleculeLimit(double mass, double radius, double exotemp);

// Years a gas of `weight` stays on `body`; above 2e10 years it is infinite.
double gasLife(double weight, const BodyNode& body);

// Smallest molecular weight that `body` retains over its star's age.
double minMolecularWeight(const BodyNode& body);

double volatileInventory(double mass, double escVelocity, double rmsVel, double starMass,
                         OrbitZone zone, bool greenhouse, bool accretedGas);
double surfacePressure(double volInventory, double radius, double surfGrav);
double boilingPoint(double surfPressure);

// Temperatures from a star of ecosphere radius `ecosphere` at distance `a` for an albedo.
double estimatedTemp(double ecosphere, double a, double albedo);
double equilibriumTemp(double ecosphere, double a, double albedo);

// Whether the body runs away into a greenhouse at distance `a`.
bool runawayGreenhouse(double ecosphere, double a);

double opacity(double molWeight, double surfPressure);
double greenhouseRise(double opacity, double effectiveTemp, double surfPressure);
// The same, keeping its two powers in memos for the next step of a loop.
double greenhouseRise(double opacity, double effectiveTemp, double surfPressure,
                      PowerMemo& opacityPower, PowerMemo& pressurePower);

double waterFraction(double volInventory, double radius);
double cloudFraction(double surfTemp, double minMolWeight, double radius, double water);
double iceFraction(double water, double surfTemp);
double planetAlbedo(double water, double clouds, double ice, double surfPressure);

// Day length in hours; sets `resonant` when the spin locks into a resonance.
void setDayLength(BodyNode& body);

// High, low, extreme maximum and minimum temperatures from the mean surface temperature.
void setTemperatureRange(BodyNode& body);

// What the climate model's steps read of the range, as setTemperatureRange() sets it: the high
// temperature, and the extreme maximum while the body is in a runaway greenhouse.
// `dayPower` keeps the power of the day's swing.
void setHighTemperatures(BodyNode& body, PowerMemo& dayPower);

// The Sudarsky class of a jovian planet from its estimated temperature.
PlanetType sudarskyClass(double temperature);

// Squeezes `value` smoothly into [lower, upper].
double softLimit(double value, double upper, double lower);
