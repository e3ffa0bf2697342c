// starvane-cli class and evolve: the stellar table and the evolution tracks from the shell.
// evolve has no cube to name its star by: for 40 to 80 solar masses it decides black hole or
// neutron star as for the star at place --seed (default 1) of cube 0, 0, 0, the same every run.

#include <cmath>
#include <iostream>
#include <memory>
#include <optional>
#include <string>

#include "cli/json_output.h"
#include "cli/commands.h"
#include "cli/data_root.h"
#include "cli/star_classification.h"
#include "cli/stellar_json.h"
#include "galaxy/star_completion.h"
#include "generation/main_sequence.h"

namespace {

struct ClassOptions {
    std::string classification;
    std::optional<std::string> root;
    bool json = false;
};

int runClass(const ClassOptions& options) {
    StellarTables tables;
    if (!loadStellarTables(chooseDataRoot(options.root), tables)) return 1;
    StellarData data = parseClassification(options.classification);
    classifyFromTable(tables, data);
    const StellarClassRecord record =
        data.spectralclass == "DC" ? tables.whiteDwarf(data.subtype)
                                   : tables.lookupByClass(data.spectralclass, data.subtype, data.lumclass);
    if (options.json) {
        nlohmann::ordered_json j;
        j["classification"] = options.classification;
        j["star"] = stellarDataToJson(data);
        j["record"] = classRecordToJson(record);
        printJson(std::cout, std::move(j));
    } else {
        printStellarData(std::cout, data);
        std::cout << "Mv          " << record.extra[0] << "\nB-V         " << record.extra[2] << "\n";
    }
    return 0;
}

struct EvolveOptions {
    double mass = 1.0;
    double age = 0.0;
    std::uint32_t seed = 1;
    std::optional<std::string> root;
    bool json = false;
};

int runEvolve(const EvolveOptions& options) {
    if (!(std::isfinite(options.mass) && options.mass > 0.0)) {
        std::cerr << "starvane-cli evolve: --mass must be a positive number\n";
        return kUsageError;
    }
    if (!(std::isfinite(options.age) && options.age >= 0.0)) {
        std::cerr << "starvane-cli evolve: --age must not be negative\n";
        return kUsageError;
    }
    StellarTables tables;
    if (!loadStellarTables(chooseDataRoot(options.root), tables)) return 1;

    // The star starts on the main sequence at its mass, as generated stars do.
    StellarData data;
    startOnMainSequence(tables, options.mass, data);
    data.age = options.age;
    data.mslifetime = mainSequenceLifetime(data.mass);
    bool remnant = false;
    if (data.mslifetime < data.age) {
        if (data.mass >= 0.5)
            remnant = !tables.evolve(data, {0, 0, 0, static_cast<std::int32_t>(options.seed)});
        else
            data.typename_ = "Main Sequence Star";
    }
    if (options.json) {
        nlohmann::ordered_json j = stellarDataToJson(data);
        j["remnant"] = remnant;
        printJson(std::cout, std::move(j));
    } else {
        printStellarData(std::cout, data);
        if (remnant) std::cout << "The star has ended its life as a " << data.typename_ << ".\n";
    }
    return 0;
}

}  // namespace

void addClassCommand(CLI::App& app, int& status) {
    auto options = std::make_shared<ClassOptions>();
    CLI::App* command = app.add_subcommand("class", "Print the stellar-table record of a classification");
    command->add_option("classification", options->classification, "For example G2V, k0III, DC5, WN7")
        ->required();
    command->add_option("--root", options->root, "Simulator root holding Starvane/Data");
    command->add_flag("--json", options->json, "Print one JSON object");
    command->callback([options, &status] { status = runClass(*options); });
}

void addEvolveCommand(CLI::App& app, int& status) {
    auto options = std::make_shared<EvolveOptions>();
    CLI::App* command = app.add_subcommand("evolve", "Evolve a star of a mass to an age along its track");
    command->add_option("--mass", options->mass, "Initial mass, solar masses")->required();
    command->add_option("--age", options->age, "Age, millions of years")->required();
    command->add_option("--seed", options->seed, "Seed of the remnant choice for 40 to 80 solar masses (default 1)");
    command->add_option("--root", options->root, "Simulator root holding Starvane/Data");
    command->add_flag("--json", options->json, "Print one JSON object");
    command->callback([options, &status] { status = runEvolve(*options); });
}
