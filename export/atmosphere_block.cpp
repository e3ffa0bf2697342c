#include "export/atmosphere_block.h"

#include <cmath>
#include <string>

#include "export/habitability.h"

namespace {

// The next draw as a real number from 0 to 1.
double unit(LcgRandom& random) { return random.next() / 32767.0; }

int cloudAltitude(double pressure, LcgRandom& random) {
    const double r = unit(random);
    double height;
    if (pressure < 0.5) height = 10.0 + 90.0 * r;
    else if (pressure < 150.0) height = 100.0 + 900.0 * r;
    else if (pressure < 600.0) height = 1000.0 + 4000.0 * r;
    else if (pressure < 2000.0) height = 5000.0 + 5000.0 * r;
    else if (pressure < 10000.0) height = 10000.0 + 40000.0 * r;
    else height = 50000.0 + 50000.0 * r;
    return static_cast<int>(std::trunc(height));
}

void askColour(PlanetRecord& body, const TexturePlugin* plugin) {
    if (plugin == nullptr || !plugin->loaded()) return;
    TextureRequest request{};
    request.basename = kColourRequestTag;
    request.radius = 1000;
    request.style = 1;
    request.cloudclass = 3;
    request.atmosphereclass = atmosphereClass(body);
    request.cloudcover = 0.0;
    request.watercover = 0.0;
    request.icecover = 0.0;
    request.colour = 0;
    plugin->justInitialize(request);
    body.colour = {static_cast<float>(request.colour & 0xFFu), static_cast<float>((request.colour >> 8) & 0xFFu),
                   static_cast<float>((request.colour >> 16) & 0xFFu)};
    plugin->clearGen(request);
}

void writeClouds(ConfigFile& file, const PlanetRecord& body, LcgRandom& random) {
    file.blank();
    file.line("; === Cloud Parameters === ");
    const int height = cloudAltitude(body.surfpressure, random);
    file.line("CloudAlt = " + std::to_string(height));
    file.period("CloudRotPeriod", (body.mintemp / body.maxtemp) * 345600.0);
    file.line("CloudMicrotextureAlt = " + std::to_string(2 * height) + " " + std::to_string(5 * height));
}

}  // namespace

void writeAtmosphere(ConfigFile& file, PlanetRecord& body, const TexturePlugin* plugin, LcgRandom& random) {
    askColour(body, plugin);
    const double p = body.surfpressure;
    const double rho = body.atmdensity;
    file.blank();
    file.line("; === Atmospheric Parameters === ");
    file.number("AtmPressure0", p * 100.0);
    file.number("AtmDensity0", rho);
    file.number("AtmGasConstant", body.molconst);
    const float toUnit = 0.003921568859368563f;
    file.numbers("AtmColor0", {body.colour[0] * toUnit, body.colour[1] * toUnit, body.colour[2] * toUnit});
    const double p0 = p * 100.0;
    const double g = body.surfaccel * 0.01;
    const double limit = (p0 * (std::log(p0) - std::log(0.01))) / (rho * g);
    file.number("AtmAltLimit", limit);
    file.number("AtmHorizonAlt", 0.8 * limit);
    file.number("AtmHazeExtent", rho * 0.011111111111111112 + 0.1);
    const double haze = 0.0031372549019607846;
    file.numbers("AtmHazeColor", {body.colour[0] * haze, body.colour[1] * haze, body.colour[2] * haze});
    writeClouds(file, body, random);
}
