#pragma once
// What the galaxy tests share: the default stellar tables, loaded once, and the galaxy's
// random source written out once more, to know what a seed draws.

#include <cstdint>
#include <memory>

#include "galaxy/stellar_tables.h"
#include "platform/file_image.h"

struct ReferenceMwc {
    std::uint32_t z;
    std::uint32_t w;
    std::uint32_t next() {
        z = 36969u * (z & 0xFFFFu) + (z >> 16);
        w = 18000u * (w & 0xFFFFu) + (w >> 16);
        return (z << 16) + w;
    }
    double uniform(double a, double b) { return a + (b - a) * next() / 4294967295.0; }
};

inline const StellarTables& realTables() {
    static const std::unique_ptr<StellarTables> tables = [] {
        auto loaded = std::make_unique<StellarTables>();
        loaded->load(STARVANE_SOURCE_DIR "/data", FileImageLoader{});
        return loaded;
    }();
    return *tables;
}
