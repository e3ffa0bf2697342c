#pragma once
// Generating the systems of a stats run on several threads. Workers take chunks of whole
// seeds and tally each chunk into its own slot; the slots are merged in seed order, so the
// result is the same for any number of threads.

#include <cstdint>
#include <vector>

#include "cli/stats_tally.h"
#include "generation/stellar_data.h"

struct StatsPlan {
    std::vector<StellarData> stars;
    std::int64_t perStar = 1;  // systems per star, seeds firstSeed .. firstSeed + perStar - 1
    std::int64_t firstSeed = 1;
    bool keepMarks = false;
    int threads = 1;
    bool progress = false;  // a progress bar on stderr once the run takes over a second
};

StatsTally runStats(const StatsPlan& plan);
