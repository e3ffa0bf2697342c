#include "generation/atmosphere.h"

#include <algorithm>
#include <cmath>
#include <cstring>

#include "generation/gas_table.h"
#include "generation/planet_physics.h"

namespace {

bool isSymbol(const GasProperties& gas, const char* symbol) {
    return std::strcmp(gas.symbol, symbol) == 0;
}

// Relative amount of one gas before the shares are normalised; 0 when the body cannot hold it.
double gasAmount(const GasProperties& gas, const GeneratorStar& star, const BodyNode& body,
                 double bars, double boilFactor) {
    const double condensesAt = gas.boil * boilFactor;
    if (!(condensesAt >= 0.0 && condensesAt < body.lowtemp && gas.weight >= body.minmolweight))
        return 0.0;

    const double age = star.age;
    const double velocity = rmsVelocity(gas.weight, body.exotemp);
    const double retention = std::pow(1.0 / (1.0 + velocity / body.escvelocity), age * 1e-09);
    double abundance = gas.solarabundance;
    const double base = 1.0 / (1.0 + gas.reactivity);
    const bool lifeFriendly =
        age > 2000000000.0 && body.medsurftemp > 270.0 && body.medsurftemp < 400.0;
    double reaction;
    if (isSymbol(gas, "Ar")) {
        reaction = age * 3.75e-11;
    } else if (isSymbol(gas, "He")) {
        abundance = abundance * (0.001 + body.gasmass / body.mass);
        const double q = 0.75 + bars;
        reaction = std::pow(base, age * 5e-10 * q);
    } else if ((isSymbol(gas, "O") || isSymbol(gas, "O2")) && lifeFriendly) {
        const double q = 0.89 + bars * 0.25;
        reaction = std::pow(base, std::pow(age * 5e-10, 0.25) * q);
    } else if (isSymbol(gas, "CO2") && lifeFriendly) {
        const double q = 0.75 + bars;
        reaction = std::pow(base, std::pow(age * 5e-10, 0.5) * q) * 1.5;
    } else {
        const double q = 0.75 + bars;
        reaction = std::pow(base, age * 5e-10 * q);
    }
    return abundance * retention * reaction * (1.0 - body.minmolweight / gas.weight);
}

}  // namespace

void composeAtmosphere(const GeneratorStar& star, BodyNode& body) {
    if (body.surfpressure <= 0.1) {
        body.atmdensity = 0.0;
        return;
    }
    const double bars = body.surfpressure / 1000.0;
    const double boilFactor =
        1.0 / (373.0 * (std::log(bars + 0.001) * -0.000198000198000198 + 0.002680965147453083));

    double amounts[kGasCount];
    double total = 0.0;
    int present = 0;
    for (int i = 0; i < kGasCount; ++i) {
        amounts[i] = gasAmount(kGasTable[i], star, body, bars, boilFactor);
        total += amounts[i];
        if (amounts[i] > 0.0) ++present;
    }

    if (present > 0) {
        body.atmcompounds.clear();
        for (int i = 0; i < kGasCount; ++i) {
            if (!(amounts[i] > 0.0)) continue;
            AtmosphereGas gas;
            gas.gasnumber = kGasTable[i].gasnumber;
            gas.partialpressure = body.surfpressure * amounts[i] / total;
            gas.percentage = gas.partialpressure / body.surfpressure * 100.0;
            body.atmcompounds.push_back(gas);
        }
        std::stable_sort(body.atmcompounds.begin(), body.atmcompounds.end(),
                         [](const AtmosphereGas& a, const AtmosphereGas& b) {
                             return a.partialpressure > b.partialpressure;
                         });
        body.gascount = static_cast<std::int32_t>(body.atmcompounds.size());
    }
    atmosphereDensity(body);
}

double meanMolarMass(const std::vector<AtmosphereGas>& gases) {
    double molarMass = 0.0;
    for (const AtmosphereGas& gas : gases) {
        const GasProperties* row = findGas(gas.gasnumber);
        if (row != nullptr) molarMass += gas.percentage * 0.01 * row->weight;
    }
    return 0.001 * molarMass;
}

double surfaceAtmosphereDensity(double molarMass, double surfpressure, double maxtemp, double mintemp) {
    return molarMass * surfpressure * 100.0 / ((maxtemp + mintemp) * 4.155);
}

void atmosphereDensity(BodyNode& body) {
    if (body.surfpressure <= 0.1) return;
    const double molarMass = meanMolarMass(body.atmcompounds);
    body.molconst = 8.31441 / molarMass;
    body.atmdensity = surfaceAtmosphereDensity(molarMass, body.surfpressure, body.maxtemp, body.mintemp);
}
