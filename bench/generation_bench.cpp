// Time to generate one planetary system for stars of several masses. Each iteration uses a
// new seed so that the figure is a median over many different systems, not one.

#include <benchmark/benchmark.h>

#include <cmath>

#include "galaxy/star_record.h"
#include "generation/generated_system.h"

namespace {

void BM_GenerateFor(benchmark::State& state) {
    const double solarMasses = static_cast<double>(state.range(0)) / 10.0;
    StellarData stellar;
    stellar.initialmass = solarMasses;
    stellar.mass = solarMasses;
    stellar.luminosity = std::pow(solarMasses, 3.5);
    stellar.radius = 1.0;
    stellar.name = "Bench";
    stellar.typename_ = "Main Sequence Star";
    GeneratedSystem system;
    double seed = 1.0;
    for (auto _ : state) {
        system.generateFor(seed, stellar);
        benchmark::DoNotOptimize(system.planetcount);
        seed += 1.0;
    }
    state.SetLabel(std::to_string(solarMasses).substr(0, 4) + " solar masses");
}

}  // namespace

// Masses in tenths of a solar mass: 0.3, 1, 3 and 20.
BENCHMARK(BM_GenerateFor)->Arg(3)->Arg(10)->Arg(30)->Arg(200)->Unit(benchmark::kMillisecond)
    ->Repetitions(5)->ReportAggregatesOnly(true);
