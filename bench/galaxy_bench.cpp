// The galaxy model at start-up and while flying: loading the default galaxy, building the
// window of 27 cubes around Sol (with the centre cube's planetary systems), moving it by one
// cube (in place, and what the frame thread spends when the work runs on a worker thread), and
// a route search that gives up on a target far outside the galaxy.

#include <benchmark/benchmark.h>

#include <chrono>
#include <memory>
#include <thread>

#include "files/galaxy_files.h"
#include "galaxy/galaxy_window.h"
#include "galaxy/jump_network.h"
#include "platform/file_image.h"

namespace {

const char* const kRoot = STARVANE_SOURCE_DIR "/data";

struct LoadedGalaxy {
    StellarTables tables;
    GalaxyCatalogue catalogue;

    LoadedGalaxy() {
        tables.load(kRoot, FileImageLoader{});
        loadGalaxy(catalogue, kRoot, "MilkyWay", tables);
        catalogue.densityimage =
            FileImageLoader{}.load(std::string(kRoot) + "/Starvane/Galaxy/MilkyWay/GrayScale.jpg");
    }
};

LoadedGalaxy& galaxy() {
    static LoadedGalaxy loaded;
    return loaded;
}

void BM_LoadGalaxy(benchmark::State& state) {
    StellarTables tables;
    tables.load(kRoot, FileImageLoader{});
    for (auto _ : state) {
        GalaxyCatalogue catalogue;
        loadGalaxy(catalogue, kRoot, "MilkyWay", tables);
        benchmark::DoNotOptimize(catalogue.count);
    }
}

void BM_RebuildWindowAtSol(benchmark::State& state) {
    LoadedGalaxy& loaded = galaxy();
    GalaxyWindow window(loaded.catalogue);
    for (auto _ : state) {
        window.rebuild(0.0f, -798.0f, 2.0f);
        benchmark::DoNotOptimize(window.centreCube().count);
    }
}

void BM_MoveWindowOneCube(benchmark::State& state) {
    LoadedGalaxy& loaded = galaxy();
    GalaxyWindow window(loaded.catalogue);
    window.rebuild(0.0f, -798.0f, 2.0f);
    int direction = 1;
    for (auto _ : state) {
        window.move(direction);
        direction = direction == 1 ? 2 : 1;  // back and forth along x
        benchmark::DoNotOptimize(window.centreCube().count);
    }
}

// The frame thread's share of a move worked out on a worker thread: beginning it and the calls,
// one a frame, that take it over once done. The frames between the calls are not counted.
void BM_MoveWindowOneCubeFrameCost(benchmark::State& state) {
    using Clock = std::chrono::steady_clock;
    LoadedGalaxy& loaded = galaxy();
    GalaxyWindow window(loaded.catalogue);
    window.rebuild(0.0f, -798.0f, 2.0f);
    int direction = 1;
    for (auto _ : state) {
        Clock::time_point start = Clock::now();
        window.beginMove(direction);
        Clock::duration frameThread = Clock::now() - start;
        for (bool taken = false; !taken;) {
            std::this_thread::sleep_for(std::chrono::milliseconds(1));  // the rest of a frame
            start = Clock::now();
            taken = window.finishMoveIfReady();
            frameThread += Clock::now() - start;
        }
        state.SetIterationTime(std::chrono::duration<double>(frameThread).count());
        direction = direction == 1 ? 2 : 1;
        benchmark::DoNotOptimize(window.centreCube().count);
    }
}

// A star 20 Mpc away (cube 2,000,000): the search must give up at once, not fill a corridor.
void BM_RouteToFarTarget(benchmark::State& state) {
    LoadedGalaxy& loaded = galaxy();
    GalaxyWindow window(loaded.catalogue);
    window.rebuild(0.0f, -798.0f, 2.0f);
    StarRecord* start = window.centreCube().stars.front();
    StarRecord target;
    target.cube = {2000000, 0, 0};
    target.physical = std::make_unique<StellarData>();
    target.physical->mass = 1.0;
    JumpNetwork network;
    network.load(std::string(kRoot) + "/Starvane/Data/DefaultJumpData.csv", start);
    for (auto _ : state) benchmark::DoNotOptimize(network.findRoute(target, window));
}

}  // namespace

BENCHMARK(BM_LoadGalaxy)->Unit(benchmark::kMillisecond)->Iterations(5);
BENCHMARK(BM_RebuildWindowAtSol)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_MoveWindowOneCube)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_MoveWindowOneCubeFrameCost)->UseManualTime()->Unit(benchmark::kMillisecond);
BENCHMARK(BM_RouteToFarTarget)->Unit(benchmark::kMicrosecond);
