#pragma once
// Completing catalogue stars: their loosely written classification is normalised and filled
// in from the stellar table, evolved stars find their history on the tracks, and main-sequence
// stars get an age from the population of the region they lie in.

#include <vector>

#include "galaxy/galaxy_parameters.h"
#include "galaxy/star_record.h"
#include "galaxy/mwc_random.h"
#include "galaxy/stellar_tables.h"

// Completes a catalogue star once; the caller sets `classified` first. Draws the ages and
// orientation from `random` in its present state.
void completeCatalogueStar(const GalaxyParameters& catalogue, const StellarTables& tables,
                           StarRecord& star, MwcRandom& random);

// Catalogue stars completed while the catalogue must stay as it is, by a population running
// off the frame thread: each is completed as a copy of what completion reads and writes
// (physical data, alias, system flag, orientation) and written over its record by `commit`.
class DeferredCompletions {
public:
    // Completes a copy of `star`, which is only read, and keeps it for `commit`.
    void complete(const GalaxyParameters& catalogue, const StellarTables& tables, StarRecord& star,
                  MwcRandom& random);

    // Writes the completed copies over their records, in the order they were made, and marks
    // those records classified.
    void commit();

private:
    struct Completed {
        StarRecord* record;
        StarRecord copy;
    };
    std::vector<Completed> completed_;
};

// Normalises a written classification the way catalogue completion does and fills mass,
// luminosity, radius, temperature and type name from the table (steps without random draws).
void classifyFromTable(const StellarTables& tables, StellarData& data);

// Puts a star of `mass` on the main sequence: class, luminosity, radius and temperature of the
// first main-sequence record lighter than it, its mass as drawn, and those as its initial values.
void startOnMainSequence(const StellarTables& tables, double mass, StellarData& data);

// The population region of a catalogue star's cube.
int catalogueRegion(const GalaxyParameters& catalogue, const CubeIndex& cube);

// Draws the age of a star from its region and sets its main-sequence lifetime; `distance` is
// the in-plane distance of its cube from the centre, in cubes.
void ageByRegion(const GalaxyParameters& catalogue, double distance, int region, StellarData& data,
                 MwcRandom& random);
