#include "cli/stats_run.h"

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <thread>

#include "cli/stats_stars.h"
#include "generation/generated_system.h"

namespace {

constexpr std::int64_t kChunkSystems = 64;

StatsTally runChunk(const StatsPlan& plan, const std::vector<StarSample>& samples, std::int64_t begin,
                    std::int64_t end) {
    StatsTally tally;
    GeneratedSystem system;
    for (std::int64_t i = begin; i < end; ++i) {
        const auto star = static_cast<std::size_t>(i / plan.perStar);
        system.generateFor(static_cast<double>(plan.firstSeed + i % plan.perStar), plan.stars[star]);
        tallySystem(tally, system, samples[star], plan.keepMarks);
    }
    return tally;
}

void drawProgress(std::int64_t done, std::int64_t total) {
    constexpr int kWidth = 40;
    const int filled = static_cast<int>(kWidth * done / std::max<std::int64_t>(total, 1));
    std::fprintf(stderr, "\r[%s%s] %3d%% %lld/%lld systems", std::string(static_cast<std::size_t>(filled), '#').c_str(),
                 std::string(static_cast<std::size_t>(kWidth - filled), ' ').c_str(),
                 static_cast<int>(100 * done / std::max<std::int64_t>(total, 1)), static_cast<long long>(done),
                 static_cast<long long>(total));
    std::fflush(stderr);
}

// Waits for the workers' count to reach `total`, drawing the bar once a second has passed.
void watch(const std::atomic<std::int64_t>& done, std::int64_t total, bool progress) {
    auto nextDraw = std::chrono::steady_clock::now() + std::chrono::seconds(1);
    bool drawn = false;
    while (done.load() < total) {
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
        if (progress && std::chrono::steady_clock::now() >= nextDraw) {
            drawProgress(done.load(), total);
            drawn = true;
            nextDraw += std::chrono::milliseconds(250);
        }
    }
    if (drawn) {
        drawProgress(total, total);
        std::fputc('\n', stderr);
    }
}

}  // namespace

StatsTally runStats(const StatsPlan& plan) {
    std::vector<StarSample> samples;
    for (const StellarData& star : plan.stars)
        samples.push_back(starSample(star.mass, star.luminosity, isRemnant(star)));
    const std::int64_t total = static_cast<std::int64_t>(plan.stars.size()) * plan.perStar;
    const std::int64_t chunks = (total + kChunkSystems - 1) / kChunkSystems;
    std::vector<StatsTally> slots(static_cast<std::size_t>(chunks));
    std::atomic<std::int64_t> next{0}, done{0};
    auto work = [&] {
        for (std::int64_t chunk = next++; chunk < chunks; chunk = next++) {
            const std::int64_t begin = chunk * kChunkSystems, end = std::min(total, begin + kChunkSystems);
            slots[static_cast<std::size_t>(chunk)] = runChunk(plan, samples, begin, end);
            done += end - begin;
        }
    };
    {
        std::vector<std::jthread> workers;
        for (int t = 0; t < std::max(plan.threads, 1); ++t) workers.emplace_back(work);
        watch(done, total, plan.progress);
    }
    StatsTally result;
    for (const StatsTally& slot : slots) mergeTally(result, slot);
    return result;
}
