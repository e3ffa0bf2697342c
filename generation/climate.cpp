#include "generation/climate.h"

#include <cmath>

#include "generation/physical_constants.h"
#include "generation/planet_physics.h"

namespace {

// Whether the body always shows its star the same face or turns in resonance with its orbit.
bool spinLocked(const BodyNode& body) {
    return std::trunc(body.period * 24.0) == std::trunc(body.day) || body.resonant != 0;
}

void updateSurfaceTemp(BodyNode& body, ClimateMemos& memos) {
    const double ecosphere = body.star->ecosphereradius;
    const double effective = equilibriumTemp(ecosphere, body.sma, body.albedo);
    body.medsurftemp = effective + greenhouseRise(opacity(body.minmolweight, body.surfpressure),
                                                  effective, body.surfpressure, memos.opacity,
                                                  memos.pressure);
}

}  // namespace

void climateStep(BodyNode& body, bool first, double lastWater, double lastClouds, double lastIce,
                 double lastTemp, double lastAlbedo, ClimateMemos& memos) {
    if (first) {
        body.albedo = 0.3;
        updateSurfaceTemp(body, memos);
        setHighTemperatures(body, memos.day);
    }

    if (body.greenhouse && body.maxtemp < body.boilpoint) {
        body.greenhouse = 0;
        body.volinventory =
            volatileInventory(body.mass, body.escvelocity, body.rmsvelocity, body.star->mass,
                              static_cast<OrbitZone>(body.orbitzone), false, body.gasmass / body.mass > 1e-06);
        body.surfpressure = surfacePressure(body.volinventory, body.radius, body.surfgrav);
        body.boilpoint = boilingPoint(body.surfpressure);
    }

    double water = waterFraction(body.volinventory, body.radius);
    double clouds = cloudFraction(body.medsurftemp, body.minmolweight, body.radius, water);
    const double ice = iceFraction(water, body.medsurftemp);
    body.hydrofraction = water;
    body.cloudfraction = clouds;
    body.icefraction = ice;

    if (body.greenhouse && body.surfpressure > 0.0) clouds = 1.0;

    bool boiledOff = false;
    if (body.boilpoint <= body.hightemp && !first && !spinLocked(body)) {
        water = 0.0;
        boiledOff = true;
        clouds = body.minmolweight <= kWaterVapourWeight ? 1.0 : 0.0;
    }

    if (body.medsurftemp < kFreezingPoint - 3.0) water = 0.0;

    body.albedo = planetAlbedo(water, clouds, ice, body.surfpressure);
    updateSurfaceTemp(body, memos);
    body.hydrofraction = water;
    body.cloudfraction = clouds;
    body.icefraction = ice;

    if (!first) {
        if (!boiledOff) body.hydrofraction = (2.0 * lastWater + body.hydrofraction) / 3.0;
        body.cloudfraction = (2.0 * lastClouds + body.cloudfraction) / 3.0;
        body.icefraction = (2.0 * lastIce + body.icefraction) / 3.0;
        body.albedo = (2.0 * lastAlbedo + body.albedo) / 3.0;
        body.medsurftemp = (2.0 * lastTemp + body.medsurftemp) / 3.0;
    }

    setHighTemperatures(body, memos.day);
}

void iterateClimate(BodyNode& body) {
    const double initial = estimatedTemp(body.star->ecosphereradius, body.sma, body.albedo);
    ClimateMemos memos;
    climateStep(body, true, 0.0, 0.0, 0.0, 0.0, 0.0, memos);
    for (int step = 0; step < 26; ++step) {
        const double lastWater = body.hydrofraction;
        const double lastClouds = body.cloudfraction;
        const double lastIce = body.icefraction;
        const double lastTemp = body.medsurftemp;
        const double lastAlbedo = body.albedo;
        climateStep(body, false, lastWater, lastClouds, lastIce, lastTemp, lastAlbedo, memos);
        if (std::fabs(body.medsurftemp - lastTemp) < 0.25) break;
    }
    setTemperatureRange(body);
    body.greenhouserise = body.medsurftemp - initial;
}
