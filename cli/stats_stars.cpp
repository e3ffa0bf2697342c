#include "cli/stats_stars.h"

#include <cmath>
#include <cstdio>

#include "cli/data_root.h"
#include "cli/galaxy_session.h"
#include "galaxy/cube_population.h"
#include "galaxy/population_model.h"
#include "galaxy/star_completion.h"

namespace {

// Enough digits that the system command reads back the same double.
std::string exact(double value) {
    char text[32];
    std::snprintf(text, sizeof text, "%.17g", value);
    return text;
}

std::string reproduceLine(const StellarData& star) {
    return "starvane-cli system --seed SEED --initial-mass " + exact(star.initialmass) + " --mass " +
           exact(star.mass) + " --luminosity " + exact(star.luminosity) + " --radius " + exact(star.radius) +
           " --type \"" + star.typename_ + "\"";
}

}  // namespace

bool isRemnant(const StellarData& star) {
    return star.typename_ == "White Dwarf" || star.typename_ == "Neutron Star" || star.typename_ == "Black Hole" ||
           star.typename_ == "VI";
}

StatsStars starOfMass(double mass) {
    StellarData star;
    star.initialmass = star.mass = mass;
    star.luminosity = std::pow(mass, 3.5);
    star.radius = 1.0;
    star.name = "Star";
    star.typename_ = "Main Sequence Star";
    char text[96];
    std::snprintf(text, sizeof text, "a star of mass %g (solar masses), luminosity %.4g, radius 1", mass, star.luminosity);
    return {{star}, text, "starvane-cli system --seed SEED --initial-mass " + exact(mass)};
}

std::optional<StatsStars> starOfClass(const StellarData& parsed, const std::optional<std::string>& root) {
    StellarTables tables;
    if (!loadStellarTables(chooseDataRoot(root), tables)) return std::nullopt;
    StellarData star = parsed;
    classifyFromTable(tables, star);
    // Completed as a catalogue star is, without the drawn age: main-sequence stars formed at
    // their present mass, evolved ones find their initial mass on the tracks.
    if (star.spectralclass != "DC" && star.lumclass != "V") {
        tables.fitEvolved(star);
    } else {
        star.initialmass = star.mass;
        star.initialluminosity = star.luminosity;
    }
    star.name = "Star";
    char text[128];
    std::snprintf(text, sizeof text, "%s%d%s: %.4g solar masses (initial %.4g), luminosity %.4g, radius %.4g",
                  star.spectralclass.c_str(), star.subtype, star.lumclass.c_str(), star.mass, star.initialmass,
                  star.luminosity, star.radius);
    return StatsStars{{star}, text, reproduceLine(star)};
}

std::optional<StatsStars> starsOfCube(const std::array<int, 3>& at, const std::optional<std::string>& root,
                                      const std::string& galaxy) {
    auto session = openGalaxy(chooseDataRoot(root), galaxy);
    if (!session) return std::nullopt;
    GalaxyCatalogue& catalogue = session->catalogue;
    GalaxyCube cube;
    const int brightness = densityBrightness(catalogue.densityimage.get(), at[0], at[1]);
    populateCube(catalogue, cube, at[0], at[1], at[2], brightness, false);
    StatsStars result;
    for (const StarRecord* star : cube.stars) result.stars.push_back(*star->physical);
    result.description = "the " + std::to_string(result.stars.size()) + " stars of cube (" + std::to_string(at[0]) +
                         ", " + std::to_string(at[1]) + ", " + std::to_string(at[2]) + "), each with every seed";
    result.reproduce = "starvane-cli system --seed SEED with --initial-mass, --mass, --luminosity, --radius and "
                       "--type of the star from starvane-cli cube " + std::to_string(at[0]) + " " +
                       std::to_string(at[1]) + " " + std::to_string(at[2]) + " --json";
    return result;
}
