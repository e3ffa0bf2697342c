// starvane-cli system: generates the planetary system of a star given by its data and a seed.

#include <cmath>
#include <iostream>
#include <memory>
#include <optional>
#include <string>

#include "cli/json_output.h"
#include "cli/picture_output.h"
#include "cli/body_json.h"
#include "cli/commands.h"
#include "cli/system_table.h"
#include "galaxy/star_record.h"
#include "generation/generated_system.h"

namespace {

struct SystemOptions {
    double seed = 0.0;
    std::optional<double> initialMass;
    std::optional<double> mass;
    std::optional<double> luminosity;
    std::optional<double> radius;
    std::string name = "Star";
    std::string typeName = "Main Sequence Star";
    bool json = false;
    std::string svg;  // where the picture of the system goes, if anywhere
};

// Says what is wrong with the options, or nothing when they describe a star.
std::optional<std::string> checkOptions(const SystemOptions& o) {
    auto positive = [](const std::optional<double>& v) { return !v || (std::isfinite(*v) && *v > 0.0); };
    auto nonNegative = [](const std::optional<double>& v) { return !v || (std::isfinite(*v) && *v >= 0.0); };
    if (!std::isfinite(o.seed)) return "--seed must be a finite number";
    if (!positive(o.initialMass)) return "--initial-mass must be a positive number";
    if (!positive(o.mass)) return "--mass must be a positive number";
    if (!nonNegative(o.luminosity)) return "--luminosity must not be negative";
    if (!nonNegative(o.radius)) return "--radius must not be negative";
    return std::nullopt;
}

StellarData stellarDataFrom(const SystemOptions& o) {
    StellarData data;
    data.initialmass = o.initialMass.value_or(1.0);
    data.mass = o.mass.value_or(data.initialmass);
    data.luminosity = o.luminosity.value_or(std::pow(data.initialmass, 3.5));
    data.radius = o.radius.value_or(1.0);
    data.name = o.name;
    data.typename_ = o.typeName;
    return data;
}

int runSystem(const SystemOptions& options) {
    if (auto problem = checkOptions(options)) {
        std::cerr << "starvane-cli system: " << *problem << "\n";
        return kUsageError;
    }
    const StellarData stellar = stellarDataFrom(options);
    auto system = std::make_unique<GeneratedSystem>();
    system->generateFor(options.seed, stellar);
    if (options.json)
        printJson(std::cout, systemToJson(*system));
    else
        printSystemTable(std::cout, *system);
    if (!options.svg.empty() && !writeSystemPicture(options.svg, *system, stellar, "system")) return 1;
    return 0;
}

}  // namespace

void addSystemCommand(CLI::App& app, int& status) {
    auto options = std::make_shared<SystemOptions>();
    CLI::App* command = app.add_subcommand(
        "system", "Generate the planetary system of a star and print it");
    command->add_option("--seed", options->seed, "Seed of the system (its integer part modulo 2^32; 0 draws one from the clock)")
        ->required();
    command->add_option("--initial-mass", options->initialMass, "Mass on the main sequence, solar masses (default 1)");
    command->add_option("--mass", options->mass, "Current mass, solar masses (default: the initial mass)");
    command->add_option("--luminosity", options->luminosity, "Current luminosity, solar luminosities (default: initial mass^3.5)");
    command->add_option("--radius", options->radius, "Radius, solar radii (default 1)");
    command->add_option("--name", options->name, "Name of the star (default \"Star\")");
    command->add_option("--type", options->typeName, "Type name of the star (default \"Main Sequence Star\")");
    command->add_flag("--json", options->json, "Print the system as one JSON object");
    command->add_option("--svg", options->svg, "Also draw the system as an SVG picture into this file");
    command->callback([options, &status] { status = runSystem(*options); });
}
