// starvane-cli as scripts use it: exit codes, the JSON shape, and refusals of bad arguments.

#include <gtest/gtest.h>

#include <filesystem>

#include "tests/cli_runner.h"
#include "tests/test_files.h"

// Printed systems, stars and their JSON are pinned by the golden outputs; these are the cases
// those do not reach.
TEST(CliSystem, RefusesBadArgumentsWithStatusTwo) {
    for (const char* arguments : {"system --seed 1 --mass -1", "system --seed 1 --initial-mass 0", "system --seed abc",
                                  "system --seed", "system --seed 1 --bogus", "system", "nosuchcommand",
                                  "system --seed 1 --luminosity nan"})
        EXPECT_EQ(runCli(arguments).status, 2) << arguments;
}

TEST(CliSystem, ExcludedStarKeepsItsName) {
    const CliRun run = runCli("system --seed 3 --type \"White Dwarf\" --name Sirius_B --json");
    ASSERT_EQ(run.status, 0);
    EXPECT_NE(run.out.find("\"name\": \"Sirius_B\""), std::string::npos);
    EXPECT_NE(run.out.find("\"planetcount\": 0"), std::string::npos);
}

TEST(CliJson, NamesThatAreNotUtf8AreReadAsWindows1252) {
    // An e acute and a euro sign in Windows-1252, then an e acute in UTF-8.
    const CliRun run = runCli("system --seed 3 --json --name \"$(printf 'Caf\\351 \\200 \\303\\251')\"");
    ASSERT_EQ(run.status, 0);
    EXPECT_EQ(run.out.find("{\n  \"name\": \"Caf\xC3\xA9 \xE2\x82\xAC \xC3\xA9\",\n"), 0u);
}

// A save writes below the simulator root it works in: a root without its stellar tables is
// refused, and the shipped data folder is never written to instead.
TEST(CliSave, StaysInItsRoot) {
    TemporaryFolder root;
    std::filesystem::create_directories(root.path() / "Starvane");
    const CliRun run = runCommand("cd '" + root.path().string() + "' && " STARVANE_CLI " save Procyon 2>&1");
    EXPECT_EQ(run.status, 1) << run.out;
    EXPECT_NE(run.out.find("cannot read the stellar tables"), std::string::npos) << run.out;
    EXPECT_FALSE(std::filesystem::exists(STARVANE_SOURCE_DIR "/data/Starvane/SavedSystems"));
}
