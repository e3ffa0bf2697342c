// Any text read as the jump table must load without a crash into a table of consistent size,
// and the jump test on what was read must not crash either.

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>

#include "text/format_limits.h"
#include "galaxy/jump_network.h"

namespace {

StarRecord starOf(double mass, int cubeX) {
    StarRecord star;
    star.physical = std::make_unique<StellarData>();
    star.physical->mass = mass;
    star.cube = {cubeX, 0, 0};
    return star;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string text(reinterpret_cast<const char*>(data), size);
    JumpNetwork network;
    network.readJumpData(text);
    const auto count = static_cast<std::size_t>(network.categorycount);
    if (network.categorycount < 0 || network.categorycount > kMostJumpCategories) __builtin_trap();
    if (network.bounds.size() != 2 * count || network.lengths.size() != count * count) __builtin_trap();
    const StarRecord stars[] = {starOf(0.1, 0), starOf(1.0, 1), starOf(30.0, 5), starOf(100.0, 40)};
    for (const StarRecord& from : stars)
        for (const StarRecord& to : stars) (void)network.canJump(from, to);
    return 0;
}
