// starvane-cli as scripts use it: exit codes, the JSON shape, and refusals of bad arguments.

#include <gtest/gtest.h>

#include <cstdio>
#include <memory>
#include <string>

namespace {

struct CliRun {
    int status;
    std::string out;
};

CliRun runCli(const std::string& arguments) {
    const std::string command = std::string(STARVANE_CLI) + " " + arguments + " 2>/dev/null";
    std::unique_ptr<FILE, int (*)(FILE*)> pipe(popen(command.c_str(), "r"), pclose);
    std::string out;
    char buffer[4096];
    size_t read;
    while ((read = fread(buffer, 1, sizeof buffer, pipe.get())) > 0) out.append(buffer, read);
    const int raw = pclose(pipe.release());
    return {WEXITSTATUS(raw), out};
}

}  // namespace

TEST(CliSystem, RefusesBadArgumentsWithStatusTwo) {
    EXPECT_EQ(runCli("system --seed 1 --mass -1").status, 2);
    EXPECT_EQ(runCli("system --seed 1 --initial-mass 0").status, 2);
    EXPECT_EQ(runCli("system --seed abc").status, 2);
    EXPECT_EQ(runCli("system --seed").status, 2);
    EXPECT_EQ(runCli("system --seed 1 --bogus").status, 2);
    EXPECT_EQ(runCli("system").status, 2);
    EXPECT_EQ(runCli("nosuchcommand").status, 2);
    EXPECT_EQ(runCli("system --seed 1 --luminosity nan").status, 2);
}

TEST(CliSystem, JsonHasTheDocumentedShape) {
    const CliRun run = runCli("system --seed 7 --json --name Sol");
    ASSERT_EQ(run.status, 0);
    EXPECT_EQ(run.out.find("{\n  \"name\": \"Sol\",\n  \"planetcount\": "), 0u);
    EXPECT_NE(run.out.find("\"mooncount\""), std::string::npos);
    EXPECT_NE(run.out.find("\"atmcompounds\""), std::string::npos);
    // Giants have no surface: their pressure is written as the string "inf".
    EXPECT_NE(run.out.find("\"surfpressure\": \"inf\""), std::string::npos);
}

TEST(CliSystem, ExcludedStarKeepsItsName) {
    const CliRun run = runCli("system --seed 3 --type \"White Dwarf\" --name Sirius_B --json");
    ASSERT_EQ(run.status, 0);
    EXPECT_NE(run.out.find("\"name\": \"Sirius_B\""), std::string::npos);
    EXPECT_NE(run.out.find("\"planetcount\": 0"), std::string::npos);
}

TEST(CliSystem, SameSeedPrintsTheSameSystem) {
    const CliRun first = runCli("system --seed 12345 --initial-mass 1.2 --mass 1.1 --json");
    const CliRun second = runCli("system --seed 12345 --initial-mass 1.2 --mass 1.1 --json");
    ASSERT_EQ(first.status, 0);
    EXPECT_EQ(first.out, second.out);
    EXPECT_GT(first.out.size(), 1000u);
}

TEST(CliJson, PositionsNameTheirAxes) {
    // Sirius lies 0.408 pc below Sol, which sits at the origin of its cube.
    const CliRun run = runCli("star Sirius --json");
    ASSERT_EQ(run.status, 0);
    EXPECT_NE(run.out.find("\"offset\": {\n    \"x\": 1.9129999876022339,\n    \"y\": -1.7690000534057617,\n"
                           "    \"up\": -0.40799999237060547\n  }"),
              std::string::npos);
}

TEST(CliJson, NamesThatAreNotUtf8AreReadAsWindows1252) {
    // An e acute and a euro sign in Windows-1252, then an e acute in UTF-8.
    const CliRun run = runCli("system --seed 3 --json --name \"$(printf 'Caf\\351 \\200 \\303\\251')\"");
    ASSERT_EQ(run.status, 0);
    EXPECT_EQ(run.out.find("{\n  \"name\": \"Caf\xC3\xA9 \xE2\x82\xAC \xC3\xA9\",\n"), 0u);
}
