// starvane-cli stats: many systems of one star (or of every star of a cube) counted, and set
// beside the occurrence rates planet surveys measure. A cube run generates --count systems
// for each of its stars, with the same seeds for every star.

#include <unistd.h>

#include <cmath>
#include <fstream>
#include <iostream>
#include <memory>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "cli/commands.h"
#include "cli/json_output.h"
#include "cli/star_classification.h"
#include "cli/stats_report.h"
#include "cli/stats_run.h"
#include "cli/stats_stars.h"
#include "cli/stats_svg.h"
#include "galaxy/spectral_class.h"

namespace {

// Bounds that keep a run's memory and the seeds' meaning: seeds are taken modulo 2^32 and
// seed 0 would draw from the clock.
constexpr std::int64_t kMaxSystems = 10'000'000;
constexpr std::int64_t kMaxSystemsWithSvg = 200'000;
constexpr std::int64_t kLastSeed = 4294967295;
constexpr int kMaxThreads = 1024;

struct StatsOptions {
    std::int64_t count = 1000;
    std::optional<double> mass;
    std::optional<std::string> classification;
    std::vector<int> cube;
    std::int64_t seedFrom = 1;
    int threads = static_cast<int>(std::max(1u, std::thread::hardware_concurrency()));
    bool json = false;
    std::optional<std::string> svg;
    std::optional<std::string> root;
    std::string galaxy = "MilkyWay";
};

bool knownLuminosityClass(const StellarData& parsed) {
    if (parsed.spectralclass == "DC" || parsed.spectralclass == "dc" || parsed.spectralclass == "D" ||
        parsed.spectralclass == "d")
        return parsed.lumclass.empty();
    return parsed.lumclass == "NIL" || parsed.lumclass == "VI" || luminosityClassIndex(parsed.lumclass) != 7;
}

std::optional<std::string> checkOptions(const StatsOptions& o) {
    if ((o.mass ? 1 : 0) + (o.classification ? 1 : 0) + (o.cube.empty() ? 0 : 1) != 1)
        return "give exactly one of --mass, --class and --cube";
    if (o.mass && !(std::isfinite(*o.mass) && *o.mass > 0.0)) return "--mass must be a positive number";
    if (o.classification) {
        const StellarData parsed = parseClassification(*o.classification);
        if (!isKnownSpectralClass(parsed.spectralclass) || !knownLuminosityClass(parsed))
            return "unknown classification \"" + *o.classification + "\" (write it as G2V, K0III, M4V, DC5)";
    }
    if (o.count < 1 || o.count > kMaxSystems) return "--count must be between 1 and " + std::to_string(kMaxSystems);
    if (o.seedFrom < 1 || o.seedFrom > kLastSeed - (o.count - 1))
        return "--seed-from must be at least 1 and the last seed at most " + std::to_string(kLastSeed);
    if (o.threads < 1 || o.threads > kMaxThreads) return "--threads must be between 1 and " + std::to_string(kMaxThreads);
    return std::nullopt;
}

std::optional<StatsStars> chooseStars(const StatsOptions& o) {
    if (o.mass) return starOfMass(*o.mass);
    if (o.classification) return starOfClass(parseClassification(*o.classification), o.root);
    return starsOfCube({o.cube[0], o.cube[1], o.cube[2]}, o.root, o.galaxy);
}

bool writeSvg(const std::string& path, const StatsTally& tally, const std::string& title) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out << statsSvg(tally, title);
    out.close();
    if (out) return true;
    std::cerr << "starvane-cli stats: could not write " << path << "\n";
    return false;
}

int runStatsCommand(const StatsOptions& options) {
    if (auto problem = checkOptions(options)) {
        std::cerr << "starvane-cli stats: " << *problem << "\n";
        return kUsageError;
    }
    std::optional<StatsStars> stars = chooseStars(options);
    if (!stars) return 1;
    const std::int64_t systems = static_cast<std::int64_t>(stars->stars.size()) * options.count;
    if (systems > kMaxSystems || (options.svg && systems > kMaxSystemsWithSvg)) {
        std::cerr << "starvane-cli stats: a run makes at most " << kMaxSystems << " systems (" << kMaxSystemsWithSvg
                  << " with --svg); this one would make " << systems << "\n";
        return kUsageError;
    }
    StatsPlan plan{std::move(stars->stars), options.count, options.seedFrom, options.svg.has_value(),
                   options.threads, isatty(STDERR_FILENO) != 0};
    const StatsTally tally = runStats(plan);
    const StatsRun run{stars->description, stars->reproduce, systems, static_cast<double>(options.seedFrom),
                       static_cast<double>(options.seedFrom + options.count - 1)};
    if (options.svg && !writeSvg(*options.svg, tally, "Planets of " + run.stars + ", " + std::to_string(systems) + " systems"))
        return 1;
    if (options.json)
        printJson(std::cout, statsToJson(run, tally));
    else
        printStatsTable(std::cout, run, tally);
    return 0;
}

}  // namespace

void addStatsCommand(CLI::App& app, int& status) {
    auto options = std::make_shared<StatsOptions>();
    CLI::App* command = app.add_subcommand("stats", "Generate many systems and set their figures beside observed planet rates");
    command->add_option("-n,--count", options->count, "Systems to generate (per star with --cube; default 1000)");
    command->add_option("--mass", options->mass, "Main-sequence star of this mass, solar masses");
    command->add_option("--class", options->classification, "Star of this classification, e.g. G2V, M4V, K0III");
    command->add_option("--cube", options->cube, "Every star of cube X Y Z")->expected(3);
    command->add_option("--seed-from", options->seedFrom, "First seed (default 1)");
    command->add_option("--threads", options->threads, "Worker threads (default: all cores)");
    command->add_flag("--json", options->json, "Print one JSON object");
    command->add_option("--svg", options->svg, "Also draw the period-radius plane and planets per system to FILE");
    command->add_option("--root", options->root, "Simulator root holding Starvane/ (for --class and --cube)");
    command->add_option("--galaxy", options->galaxy, "Galaxy folder name for --cube (default MilkyWay)");
    command->callback([options, &status] { status = runStatsCommand(*options); });
}
