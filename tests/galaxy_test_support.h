#pragma once
// What the galaxy tests share: the default stellar tables, loaded once, a small galaxy and its
// catalogue stars.

#include <memory>

#include "galaxy/galaxy_catalogue.h"
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

// A galaxy without a bar or a density picture: a thin disc 20 cubes thick, a thick disc 60.
inline std::unique_ptr<GalaxyCatalogue> smallGalaxy() {
    auto catalogue = std::make_unique<GalaxyCatalogue>();
    catalogue->stellartables = &realTables();
    catalogue->thindisc = 20.0;
    catalogue->thickdisc = 60.0;
    catalogue->galaxyage = 12000.0;
    catalogue->discage = 8000.0;
    catalogue->agegradient = 5.0;
    catalogue->starseed = 4711.0;
    catalogue->systemseed = 2024.0;
    return catalogue;
}

// A catalogue star of class G2 V in cube `at`, not completed yet.
inline StarRecord* addCatalogueStar(GalaxyCatalogue& catalogue, const CubeIndex& at) {
    auto star = std::make_unique<StarRecord>();
    star->physical = std::make_unique<StellarData>();
    star->cube = at;
    star->physical->name = "Listed";
    star->physical->spectralclass = "G";
    star->physical->subtype = 2;
    star->physical->lumclass = "V";
    catalogue.stars.push_back(std::move(star));
    return catalogue.stars.back().get();
}
