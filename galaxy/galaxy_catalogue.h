#pragma once
// The galaxy catalogue: it owns every catalogue star and every custom system read from the
// galaxy folder, and holds the galaxy's parameters, density picture and stellar tables. The
// cubes of the window take their catalogue stars from it through an index by cube, which keeps
// the catalogue's order.

#include <cstdint>
#include <memory>
#include <tuple>
#include <unordered_map>
#include <vector>

#include "galaxy/galaxy_parameters.h"
#include "galaxy/mwc_random.h"
#include "galaxy/star_record.h"
#include "generation/lcg_random.h"

struct GalaxyCatalogue : GalaxyParameters {
    GalaxyCatalogue() = default;
    GalaxyCatalogue(const GalaxyCatalogue&) = delete;
    GalaxyCatalogue& operator=(const GalaxyCatalogue&) = delete;

    // The catalogue stars; star i has the id StarId::catalogueStar(i) once numbered.
    std::vector<std::unique_ptr<StarRecord>> stars;
    std::int32_t count = 0;  // always stars.size()

    // Custom systems read from the galaxy folder, in listing order. Those placed into `stars`
    // are handed over to it (their slot here becomes null).
    std::vector<std::unique_ptr<StarRecord>> customstars;
    std::int32_t customcount = 0;   // custom systems read
    std::int32_t noaliascount = 0;  // custom systems without an alias (added as extra stars)

    // The galaxy's random source. Loading seeds it from the star seed, and every cube and every
    // drawing of system seeds reseeds it from the cube's place; a catalogue star completed on
    // its cube's first visit draws from where the visit before left it, so one source serves
    // every view of the galaxy.
    MwcRandom starRandom;

    // The planetary generator's random source. Each generated system reseeds it; an export
    // continues from where the last generation left it.
    LcgRandom systemRandom;

    // Numbers the stars by their place and rebuilds the index of stars by cube; call after
    // `stars` changed.
    void buildCubeIndex();

    // The catalogue stars of a cube, in catalogue order (empty when there are none).
    const std::vector<StarRecord*>& starsInCube(int x, int y, int z) const;

    // Catalogue star `index`, or null outside the catalogue.
    StarRecord* star(std::int32_t index) const;

    // Deletes every star and custom system and empties the index.
    void clearStars();

private:
    struct CubeHash {
        std::size_t operator()(const std::tuple<int, int, int>& cube) const;
    };
    std::unordered_map<std::tuple<int, int, int>, std::vector<StarRecord*>, CubeHash> cubeindex_;
};
