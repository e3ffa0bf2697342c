// The jump table, any text: a table of consistent size, and jump tests on it do not crash.

#include <memory>
#include <utility>

#include "fuzz/fuzz_text.h"
#include "galaxy/jump_network.h"
#include "text/format_limits.h"

void fuzzText(std::string text) {
    JumpNetwork network;
    network.readJumpData(text);
    const auto count = static_cast<std::size_t>(network.categorycount);
    require(network.categorycount >= 0 && network.categorycount <= kMostJumpCategories);
    require(network.bounds.size() == 2 * count && network.lengths.size() == count * count);
    StarRecord stars[4];
    const std::pair<double, int> massAndCube[] = {{0.1, 0}, {1.0, 1}, {30.0, 5}, {100.0, 40}};
    for (int i = 0; i < 4; ++i) {
        stars[i].physical = std::make_unique<StellarData>(StellarData{.mass = massAndCube[i].first});
        stars[i].cube = {massAndCube[i].second, 0, 0};
    }
    for (const StarRecord& from : stars)
        for (const StarRecord& to : stars) (void)network.canJump(from, to);
}
