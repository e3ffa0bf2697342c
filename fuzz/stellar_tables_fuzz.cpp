// The stellar table or the evolution tracks, any text: loads, and lookups on it do not crash.

#include "fuzz/fuzz_text.h"
#include "galaxy/star_record.h"
#include "galaxy/stellar_tables.h"

void fuzzText(std::string text) {
    // Split at the first form feed: table before it, tracks after it; without one, both
    // readers get the whole text.
    const std::size_t split = text.find('\f');
    StellarTables tables;
    tables.readStellarTable(split == std::string::npos ? text : text.substr(0, split));
    tables.readTracks(split == std::string::npos ? text : text.substr(split + 1));
    for (double mass : {0.1, 0.5, 1.0, 2.0, 9.0, 60.0, 150.0}) {
        (void)tables.mainSequenceByMass(mass);
        StellarData star{.mass = mass, .age = 20000.0, .luminosity = 1.0, .surftemp = 5000.0, .initialmass = mass};
        tables.evolve(star, {});
        StellarData evolved{.luminosity = mass * 10.0, .surftemp = 4000.0};
        tables.fitEvolved(evolved);
    }
    (void)tables.lookupByClass("G", 2, "V");
    (void)tables.lookupByClass("K", 12, "III");
}
