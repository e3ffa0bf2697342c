#pragma once
// What the galaxy tests share: the default stellar tables, loaded once.

#include <memory>

#include "galaxy/stellar_tables.h"
#include "platform/file_image.h"

inline const StellarTables& realTables() {
    static const std::unique_ptr<StellarTables> tables = [] {
        auto loaded = std::make_unique<StellarTables>();
        loaded->load(STARVANE_SOURCE_DIR "/data", FileImageLoader{});
        return loaded;
    }();
    return *tables;
}
