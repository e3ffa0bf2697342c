#include "galaxy/star_completion.h"

#include <cmath>
#include <memory>
#include <string_view>
#include <utility>

#include "galaxy/mwc_random.h"
#include "generation/main_sequence.h"

namespace {

// The catalogue writes classes loosely; only these exact spellings are understood.
void normaliseClass(std::string& spectralclass) {
    static const std::pair<std::string_view, const char*> kSpellings[] = {
        {"o", "O"}, {"b", "B"}, {"a", "A"}, {"f", "F"},   {"g", "G"},   {"k", "K"},
        {"m", "M"}, {"r", "R"}, {"s", "S"}, {"wc", "WC"}, {"wn", "WN"}, {"c", "C"},
    };
    for (const auto& [written, normal] : kSpellings)
        if (spectralclass == written) {
            spectralclass = normal;
            return;
        }
}

bool isKnownCatalogueClass(const std::string& spectralclass) {
    static const char* const kKnown[] = {"O", "B", "A", "F", "G",  "K",  "M",
                                         "R", "S", "C", "WC", "WN", "DC"};
    for (const char* known : kKnown)
        if (spectralclass == known) return true;
    return false;
}

}  // namespace

void classifyFromTable(const StellarTables& tables, StellarData& data) {
    normaliseClass(data.spectralclass);
    const std::string& sc = data.spectralclass;
    if (sc == "d" || sc == "D" || sc == "DC" || sc == "dc") {
        data.spectralclass = "DC";
        data.lumclass.clear();
        data.typename_ = "White Dwarf";
    }
    if (!isKnownCatalogueClass(data.spectralclass)) data.spectralclass = "K";
    if (data.lumclass == "NIL") data.lumclass = "V";

    if (data.spectralclass == "DC") {
        // White dwarfs have a block of their own, one record per subtype; they stay white
        // dwarfs (and so get no planets).
        const StellarClassRecord& record = tables.whiteDwarf(data.subtype);
        data.mass = record.mass;
        data.luminosity = record.luminosity;
        data.surftemp = record.temperature;
        data.radius = record.radius;
        return;
    }
    const StellarClassRecord record =
        tables.lookupByClass(data.spectralclass, data.subtype, data.lumclass);
    data.typename_ = record.code;
    data.mass = record.mass;
    data.luminosity = record.luminosity;
    data.surftemp = record.temperature;
    data.radius = record.radius;
}

void startOnMainSequence(const StellarTables& tables, double mass, StellarData& data) {
    const StellarClassRecord record = tables.mainSequenceByMass(mass);
    data.lumclass = record.code;
    data.spectralclass = record.spectralclass;
    data.subtype = record.subtype;
    data.luminosity = record.luminosity;
    data.radius = record.radius;
    data.surftemp = record.temperature;
    data.mass = mass;
    data.initialmass = data.mass;
    data.initialluminosity = data.luminosity;
}

int catalogueRegion(const GalaxyParameters& catalogue, const CubeIndex& cube) {
    const double x = cube.x;
    const double y = cube.y;
    const double z = cube.z;
    if (std::sqrt(x * x + y * y + z * z) < catalogue.centreradius) return kCentralBar;
    if (std::fabs(z) >= catalogue.thindisc / 2.0) return kThickDiscOrHalo;
    return kThinDisc;
}

void ageByRegion(const GalaxyParameters& catalogue, double distance, int region, StellarData& data,
                 MwcRandom& random) {
    const double galaxyAge = catalogue.galaxyage;
    const double discAge = catalogue.discage - catalogue.agegradient * distance;
    const int p = static_cast<int>(std::trunc(random.uniform(0.0, 100.0)));
    if (region == kCentralBar) {
        data.age = p > 95 ? random.uniform(1.0, galaxyAge)
                          : random.uniform(0.8 * galaxyAge, galaxyAge);
    } else if (region == kThickDiscOrHalo) {
        data.age = p >= 90 ? random.uniform(1.0, galaxyAge)
                           : random.uniform(0.6 * galaxyAge, 0.8 * galaxyAge);
    } else if (p > 95) {
        data.age = random.uniform(1.0, discAge);
    } else if (p > 88) {
        data.age = random.uniform(0.1 * discAge, 0.4 * discAge);
    } else if (p > 80) {
        data.age = random.uniform(0.4 * discAge, 0.6 * discAge);
    } else if (p > 50) {
        data.age = random.uniform(0.6 * discAge, 0.8 * discAge);
    } else if (p > 2) {
        data.age = random.uniform(0.8 * discAge, discAge);
    } else {
        data.age = random.uniform(1.0, galaxyAge);
    }
    data.mslifetime = mainSequenceLifetime(data.mass);
}

void completeCatalogueStar(const GalaxyParameters& catalogue, const StellarTables& tables,
                           StarRecord& star, MwcRandom& random) {
    StellarData& data = *star.physical;
    classifyFromTable(tables, data);
    if (data.lumclass != "V") {
        tables.fitEvolved(data);
    } else {
        data.initialluminosity = data.luminosity;
        data.initialmass = data.mass;
        data.mslifetime = mainSequenceLifetime(data.mass);
        const double x = star.cube.x;
        const double y = star.cube.y;
        ageByRegion(catalogue, std::sqrt(x * x + y * y), catalogueRegion(catalogue, star.cube),
                    data, random);
        // A catalogue main-sequence star is never older than its main-sequence life.
        if (data.mslifetime < data.age) data.age = random.uniform(0.2, 0.9) * data.mslifetime;
    }
    star.alias.clear();
    star.systemfromfile = 0;
    for (float& angle : star.ecliptic) angle = static_cast<float>(random.uniform(0.0, 360.0));
}

void DeferredCompletions::complete(const GalaxyParameters& catalogue, const StellarTables& tables,
                                   StarRecord& star, MwcRandom& random) {
    Completed& entry = completed_.emplace_back();
    entry.record = &star;
    entry.copy.cube = star.cube;
    entry.copy.physical = std::make_unique<StellarData>(*star.physical);
    entry.copy.alias = star.alias;
    entry.copy.systemfromfile = star.systemfromfile;
    entry.copy.ecliptic = star.ecliptic;
    completeCatalogueStar(catalogue, tables, entry.copy, random);
}

void DeferredCompletions::commit() {
    for (Completed& entry : completed_) {
        StarRecord& star = *entry.record;
        *star.physical = std::move(*entry.copy.physical);
        star.alias = std::move(entry.copy.alias);
        star.systemfromfile = entry.copy.systemfromfile;
        star.ecliptic = entry.copy.ecliptic;
        star.classified = 1;
    }
    completed_.clear();
}
