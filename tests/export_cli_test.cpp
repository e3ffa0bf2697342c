// starvane-cli export and export-json: a seeded export repeats byte for byte, bad input is
// refused before anything is written, and the cache takes a system once.

#include <gtest/gtest.h>

#include <filesystem>
#include <map>
#include <string>

#include "tests/cli_runner.h"
#include "tests/test_files.h"

namespace {

namespace fs = std::filesystem;
using Tree = std::map<std::string, std::string>;

const fs::path kDataStarvane = fs::path(STARVANE_SOURCE_DIR) / "data" / "Starvane";

std::string quoted(const fs::path& path) { return "'" + path.string() + "'"; }

// Every file and folder below `folder` with its contents (folders as "<dir>").
Tree snapshot(const fs::path& folder) {
    Tree tree;
    for (const auto& entry : fs::recursive_directory_iterator(folder))
        tree[fs::relative(entry.path(), folder).generic_string()] =
            entry.is_directory() ? std::string("<dir>") : readAll(entry.path());
    return tree;
}

// The names whose contents differ between two snapshots, for a readable failure.
std::string differences(const Tree& a, const Tree& b) {
    std::string text;
    Tree both = a;
    both.insert(b.begin(), b.end());
    for (const auto& [name, content] : both)
        if (!a.count(name) || !b.count(name) || a.at(name) != b.at(name)) text += " " + name;
    return text;
}

// A system as `system --json` prints it, with the star object export-json needs.
std::string systemJson(const std::string& star) {
    const CliRun run = runCli("system --seed 19 --json --name Gen19");
    if (run.status != 0 || run.out.empty() || run.out[0] != '{') return "";
    return "{\n  \"star\": " + star + "," + run.out.substr(1);
}

const char* const kGen19Star = R"({"name": "Gen19", "mass": 1.0, "radius": 1.0})";

// export-json refuses bad input before anything is written. A user's root holds no SavedSystems
// folder until the first save to folder: the first seeded export must give what the next one
// gives, byte for byte, and another seed places the asteroids elsewhere.
TEST(ExportCli, JsonExportRefusesBadInputAndRepeatsByteForByte) {
    const std::string good = systemJson(kGen19Star);
    ASSERT_NE(good.find("\"type\": 10"), std::string::npos) << "the system should hold a belt";
    TemporaryFolder root;
    fs::create_directories(root.path() / "Starvane");
    fs::copy_file(kDataStarvane / "Starvane.cfg", root.path() / "Starvane" / "Starvane.cfg");  // 5 to 20 asteroids
    const fs::path inputs = root.path() / "inputs";
    auto changed = [&](const std::string& from, std::size_t length, const std::string& to) {
        std::string text = good;
        return text.replace(good.find(from), length, to);
    };
    const std::size_t sma = good.find("\"sma\"");
    std::string gases = R"({"gasnumber": 7, "partialpressure": 1, "percentage": 1})";
    for (int g = 1; g <= 20; ++g) gases += R"(, {"gasnumber": 8, "partialpressure": 1, "percentage": 1})";
    const Tree bad = {
        {"broken.json", good.substr(0, good.size() / 2)},
        {"notjson.json", "planets = 3"},
        {"nostar.json", "{" + good.substr(good.find("},") + 2)},
        {"negativemass.json", systemJson(R"({"name": "Gen19", "mass": -1.0, "radius": 1.0})")},
        {"zeroradius.json", systemJson(R"({"name": "Gen19", "mass": 1.0, "radius": 0})")},
        {"textmass.json", systemJson(R"({"name": "Gen19", "mass": "heavy", "radius": 1.0})")},
        {"noplanets.json", changed("\"planets\"", 9, "\"planetz\"")},
        {"nosma.json", changed("\"sma\"", good.find('\n', sma) - sma + 1, "")},
        {"manygases.json", changed("\"atmcompounds\": []", 18, "\"atmcompounds\": [" + gases + "]")},
    };
    for (const auto& [name, text] : bad) writeAll(inputs / name, text);
    writeAll(inputs / "good.json", good);
    const std::string where = " --root " + quoted(root.path()) + " --no-textures --rand-seed ";
    const Tree before = snapshot(root.path());
    for (const char* destination : {" --folder", " --cache"}) {
        for (const auto& [name, text] : bad)
            EXPECT_EQ(runCli("export-json " + quoted(inputs / name) + destination + where + "1").status, 2) << name;
        for (const std::string input : {quoted(inputs / "absent.json"), std::string("/dev/zero")})
            EXPECT_EQ(runCli("export-json " + input + destination + where + "1").status, 2) << input;
    }
    const Tree after = snapshot(root.path());
    EXPECT_TRUE(after == before) << differences(before, after);

    // The scenario is dated by the moment of export: a fixed one makes two exports comparable.
    auto exported = [&](const char* seed) {
        EXPECT_EQ(runCommand("SOURCE_DATE_EPOCH=1700000000 " STARVANE_CLI " export-json " + quoted(inputs / "good.json") +
                             " --folder" + where + seed + " 2>/dev/null")
                      .status,
                  0);
        return snapshot(root.path() / "Starvane" / "SavedSystems");
    };
    const Tree first = exported("5"), second = exported("5");
    EXPECT_TRUE(first == second) << differences(first, second);
    EXPECT_TRUE(second.count("Gen19/Gen19System.cfg") && second.count("Gen19/Gen19.svs")) << "with its saved file";
    int asteroidFiles = 0;
    for (const auto& [name, text] : second) asteroidFiles += name.find('#') != std::string::npos;
    EXPECT_GE(asteroidFiles, 5);
    EXPECT_TRUE(exported("6") != second) << "another seed places the asteroids elsewhere";
}

// Without the simulator's Config folder nothing can be exported to cache: the export says so,
// and the cache list does not keep the name, so that the export can be retried. A listed system
// is refused and nothing is written.
TEST(ExportCli, TheCacheTakesASystemOnceAndOnlyWhenItCanBeWritten) {
    TemporaryFolder root;
    fs::copy(kDataStarvane, root.path() / "Starvane", fs::copy_options::recursive);
    writeAll(root.path() / "Starvane" / "Cache.txt", "1\nSirius\n");
    const std::string where = " --cache --root " + quoted(root.path()) + " --no-textures --rand-seed 3";
    const CliRun noConfig = runCli("export Vega" + where, true);
    EXPECT_EQ(noConfig.status, 1);
    const fs::path vega = root.path() / "Config" / "StarvaneSystems" / "Vega";
    EXPECT_NE(noConfig.out.find("Could not write " + vega.string() + ": the simulator's Config folder is missing"),
              std::string::npos) << noConfig.out;
    EXPECT_EQ(noConfig.out.find("Saved"), std::string::npos) << noConfig.out;
    EXPECT_EQ(readAll(root.path() / "Starvane" / "Cache.txt"), "1\nSirius\n");
    EXPECT_FALSE(fs::exists(root.path() / "Config"));

    fs::create_directories(root.path() / "Config");
    ASSERT_EQ(runCli("export Vega" + where).status, 0);
    EXPECT_EQ(readAll(root.path() / "Starvane" / "Cache.txt"), "2\nSirius\nVega\n");
    EXPECT_TRUE(fs::exists(vega / "VegaSystem.cfg"));
    const Tree before = snapshot(root.path());
    EXPECT_EQ(runCli("export Vega" + where).status, 1);
    const Tree after = snapshot(root.path());
    EXPECT_TRUE(after == before) << "a refused export writes nothing:" << differences(before, after);

    // Sol's system comes from the shipped custom file: Mercury keeps its J2000 elements on the
    // ecliptic, in radians, and Earth gets a whole atmosphere, whose density the loader works out.
    ASSERT_EQ(runCli("export Sol --folder --no-textures --root " + quoted(root.path())).status, 0);
    const fs::path folder = root.path() / "Starvane" / "SavedSystems" / "Sol";
    const std::string mercury = readAll(folder / "Sol Mercury.cfg"), earth = readAll(folder / "Sol Earth.cfg");
    EXPECT_NE(mercury.find("\nInclination = 0.12226\nLongAscNode = 0.843531\nLongPerihelion = 1.35189\n"
                           "MeanLongitude = 4.4026\n"), std::string::npos) << mercury;
    EXPECT_NE(earth.find("\nAtmPressure0 = 101325.000000\nAtmDensity0 = 1.374280\n"), std::string::npos) << earth;
}

}  // namespace
