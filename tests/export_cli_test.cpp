// starvane-cli export and export-json: a seeded export repeats byte for byte, bad input is
// refused before anything is written, and the cache takes a system once.

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <memory>
#include <sstream>
#include <string>

#include "tests/test_files.h"

namespace {

namespace fs = std::filesystem;

struct CliRun {
    int status;
    std::string out;
};

// Runs starvane-cli; `out` holds what it prints, with its messages too when `withMessages`.
CliRun runCli(const std::string& arguments, bool withMessages = false) {
    const std::string command =
        std::string(STARVANE_CLI) + " " + arguments + (withMessages ? " 2>&1" : " 2>/dev/null");
    std::unique_ptr<FILE, int (*)(FILE*)> pipe(popen(command.c_str(), "r"), pclose);
    std::string out;
    char buffer[4096];
    size_t read;
    while ((read = fread(buffer, 1, sizeof buffer, pipe.get())) > 0) out.append(buffer, read);
    const int raw = pclose(pipe.release());
    return {WEXITSTATUS(raw), out};
}

std::string quoted(const fs::path& path) { return "'" + path.string() + "'"; }

// Every file and folder below `folder` with its contents (folders as "<dir>").
std::map<std::string, std::string> snapshot(const fs::path& folder) {
    std::map<std::string, std::string> tree;
    for (const auto& entry : fs::recursive_directory_iterator(folder)) {
        const std::string name = fs::relative(entry.path(), folder).generic_string();
        tree[name] = entry.is_directory() ? std::string("<dir>") : readAll(entry.path());
    }
    return tree;
}

const fs::path kDataStarvane = fs::path(STARVANE_SOURCE_DIR) / "data" / "Starvane";

// A system as `system --json` prints it, with the star object export-json needs.
std::string systemJson(const std::string& starObject) {
    const CliRun run = runCli("system --seed 19 --json --name Gen19");
    if (run.status != 0 || run.out.empty() || run.out[0] != '{') return "";
    return "{\n  \"star\": " + starObject + "," + run.out.substr(1);
}

// The names whose contents differ between two snapshots, for a readable failure.
std::string differences(const std::map<std::string, std::string>& a, const std::map<std::string, std::string>& b) {
    std::string text;
    for (const auto& [name, content] : a)
        if (!b.count(name) || b.at(name) != content) text += " " + name;
    for (const auto& [name, content] : b)
        if (!a.count(name)) text += " " + name;
    return text;
}

struct TwoExports {
    int firstStatus, secondStatus;
    std::map<std::string, std::string> first, second;
};

// Exports the seeded system twice to folder below a fresh root holding Starvane/ and the
// configuration (5 to 20 asteroids per belt).
TwoExports exportTwice(const fs::path& root, const std::string& json, const std::string& seed) {
    fs::create_directories(root / "Starvane");
    fs::copy_file(kDataStarvane / "Starvane.cfg", root / "Starvane" / "Starvane.cfg");
    const fs::path file = root / "gen19.json";
    writeAll(file, json);
    const std::string arguments = "export-json " + quoted(file) + " --folder --root " + quoted(root) +
                                  " --no-textures --rand-seed " + seed;
    TwoExports result;
    result.firstStatus = runCli(arguments).status;
    result.first = snapshot(root / "Starvane" / "SavedSystems");
    result.secondStatus = runCli(arguments).status;
    result.second = snapshot(root / "Starvane" / "SavedSystems");
    return result;
}

// A user's root holds no SavedSystems folder until the first save to folder: the first seeded
// export must give what the next one gives, byte for byte.
TEST(ExportCli, SeededJsonExportRepeatsByteForByteFromAFreshRoot) {
    const std::string json = systemJson(R"({"name": "Gen19", "mass": 1.0, "radius": 1.0})");
    ASSERT_NE(json.find("\"type\": 10"), std::string::npos) << "the system should hold a belt";

    TemporaryFolder root;
    const TwoExports runs = exportTwice(root.path(), json, "5");
    EXPECT_EQ(runs.firstStatus, 0);
    EXPECT_EQ(runs.secondStatus, 0);
    EXPECT_TRUE(runs.first == runs.second) << differences(runs.first, runs.second);
    EXPECT_TRUE(runs.second.count("Gen19/Gen19 b.cfg"));
    EXPECT_TRUE(runs.second.count("Gen19/Gen19.svs")) << "the saved-system file goes with the export";
    int asteroidFiles = 0;
    for (const auto& [name, text] : runs.second) asteroidFiles += name.find('#') != std::string::npos;
    EXPECT_GE(asteroidFiles, 5);

    // Another seed places the asteroids elsewhere.
    TemporaryFolder other;
    EXPECT_FALSE(exportTwice(other.path(), json, "6").second == runs.second);
}

TEST(ExportCli, BadJsonIsRefusedAndNothingIsWritten) {
    const std::string good = systemJson(R"({"name": "Gen19", "mass": 1.0, "radius": 1.0})");
    ASSERT_FALSE(good.empty());
    TemporaryFolder root;
    fs::create_directories(root.path() / "Starvane" / "SavedSystems");
    fs::create_directories(root.path() / "Config");
    const fs::path inputs = root.path() / "inputs";
    fs::create_directories(inputs);

    std::string noPlanets = good;
    noPlanets.replace(noPlanets.find("\"planets\""), 9, "\"planetz\"");
    std::string noSma = good;
    noSma.erase(good.find("\"sma\""), good.find("\n", good.find("\"sma\"")) - good.find("\"sma\"") + 1);
    std::string manyGases = good;
    std::string gases = R"({"gasnumber": 7, "partialpressure": 1, "percentage": 1})";
    for (int g = 1; g <= 20; ++g) gases += R"(, {"gasnumber": 8, "partialpressure": 1, "percentage": 1})";
    manyGases.replace(good.find("\"atmcompounds\": []"), 18, "\"atmcompounds\": [" + gases + "]");
    const std::map<std::string, std::string> bad = {
        {"broken.json", good.substr(0, good.size() / 2)},
        {"notjson.json", "planets = 3"},
        {"nostar.json", "{" + good.substr(good.find("},") + 2)},
        {"negativemass.json", systemJson(R"({"name": "Gen19", "mass": -1.0, "radius": 1.0})")},
        {"zeroradius.json", systemJson(R"({"name": "Gen19", "mass": 1.0, "radius": 0})")},
        {"textmass.json", systemJson(R"({"name": "Gen19", "mass": "heavy", "radius": 1.0})")},
        {"noplanets.json", noPlanets},
        {"nosma.json", noSma},
        {"manygases.json", manyGases},
    };
    for (const auto& [name, text] : bad) writeAll(inputs / name, text);
    writeAll(inputs / "good.json", good);

    for (const bool cache : {false, true}) {
        const auto before = snapshot(root.path());
        for (const auto& [name, text] : bad) {
            const CliRun run = runCli("export-json " + quoted(inputs / name) + (cache ? " --cache" : " --folder") +
                                      " --root " + quoted(root.path()) + " --no-textures --rand-seed 1");
            EXPECT_EQ(run.status, 2) << name;
        }
        for (const std::string input : {quoted(inputs / "absent.json"), std::string("/dev/zero")})
            EXPECT_EQ(runCli("export-json " + input + " --folder --root " + quoted(root.path())).status, 2) << input;
        const auto after = snapshot(root.path());
        EXPECT_TRUE(after == before) << differences(before, after);
    }
    // The good file goes through, so the refusals above were about the input.
    EXPECT_EQ(runCli("export-json " + quoted(inputs / "good.json") + " --folder --root " + quoted(root.path()) +
                     " --no-textures")
                  .status,
              0);
    EXPECT_TRUE(fs::exists(root.path() / "Starvane" / "SavedSystems" / "Gen19" / "Gen19System.cfg"));
}

TEST(ExportCli, TheCacheTakesASystemOnce) {
    TemporaryFolder root;
    fs::copy(kDataStarvane, root.path() / "Starvane", fs::copy_options::recursive);
    fs::create_directories(root.path() / "Config");
    const std::string where = " --cache --root " + quoted(root.path()) + " --no-textures --rand-seed 3";

    const CliRun first = runCli("export Proxima" + where);
    ASSERT_EQ(first.status, 0);
    EXPECT_EQ(readAll(root.path() / "Starvane" / "Cache.txt"), "1\nProxima\n");
    EXPECT_TRUE(fs::exists(root.path() / "Config" / "StarvaneSystems" / "Proxima" / "ProximaSystem.cfg"));
    EXPECT_TRUE(fs::exists(root.path() / "Config" / "StarvaneSystems" / "Proxima" / "Proxima.cfg"));

    const auto before = snapshot(root.path());
    const CliRun second = runCli("export Proxima" + where);
    EXPECT_EQ(second.status, 1);
    const auto afterSecond = snapshot(root.path());
    EXPECT_TRUE(afterSecond == before) << "a refused export writes nothing:" << differences(before, afterSecond);

    // Sol's system comes from a custom system file: never exported to the cache.
    const CliRun sol = runCli("export Sol" + where);
    EXPECT_EQ(sol.status, 1);
    const auto afterSol = snapshot(root.path());
    EXPECT_TRUE(afterSol == before) << differences(before, afterSol);
}

// Without the simulator's Config folder nothing can be exported to cache: the export says so,
// and the cache list does not keep the name, so that the export can be retried.
TEST(ExportCli, ACacheExportWithoutConfigFailsAndLeavesTheCacheListAlone) {
    TemporaryFolder root;
    fs::copy(kDataStarvane, root.path() / "Starvane", fs::copy_options::recursive);
    writeAll(root.path() / "Starvane" / "Cache.txt", "1\nSirius\n");
    const CliRun run = runCli("export Vega --cache --no-textures --root " + quoted(root.path()), true);
    EXPECT_EQ(run.status, 1);
    EXPECT_NE(run.out.find("Could not write " + (root.path() / "Config" / "StarvaneSystems" / "Vega").string() +
                           ": the simulator's Config folder is missing"),
              std::string::npos)
        << run.out;
    EXPECT_EQ(run.out.find("Saved"), std::string::npos) << run.out;
    EXPECT_EQ(readAll(root.path() / "Starvane" / "Cache.txt"), "1\nSirius\n");
    EXPECT_FALSE(fs::exists(root.path() / "Config"));
}

TEST(ExportCli, TheShippedSolarSystemKeepsItsOrbitOrientations) {
    TemporaryFolder root;
    fs::copy(kDataStarvane, root.path() / "Starvane", fs::copy_options::recursive);
    ASSERT_EQ(runCli("export Sol --folder --no-textures --root " + quoted(root.path())).status, 0);
    // Mercury's J2000 elements on the ecliptic, in radians.
    const std::string mercury = readAll(root.path() / "Starvane" / "SavedSystems" / "Sol" / "Sol Mercury.cfg");
    EXPECT_NE(mercury.find("\nInclination = 0.12226\nLongAscNode = 0.843531\nLongPerihelion = 1.35189\n"
                           "MeanLongitude = 4.4026\n"),
              std::string::npos)
        << mercury;
}

}  // namespace
