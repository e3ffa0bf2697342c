// starvane-cli stats: the figures of a fixed run, their independence of the thread count, the
// picture, and refusals of bad arguments.

#include <gtest/gtest.h>

#include <cstdio>
#include <memory>
#include <string>

#include <nlohmann/json.hpp>

#include "tests/cli_runner.h"
#include "tests/test_files.h"

// Seeds 1 to 20 of a star of 0.9 solar masses, counted by hand from `system --json` of each.
TEST(Stats, TwentySunLikeSystemsGiveKnownFigures) {
    const CliRun run = runCli("stats --mass 0.9 -n 20 --json --threads 1");
    ASSERT_EQ(run.status, 0);
    const nlohmann::json j = nlohmann::json::parse(run.out);
    const struct {
        const char* pointer;
        double expected;
    } kKnown[] = {
        {"/planets_per_system/mean", 11.65},   {"/planets_per_system/median", 11.0},
        {"/planets_per_system/sd", 1.5256146}, {"/planets_per_system/min", 10},
        {"/planets_per_system/max", 15},       {"/moons_per_planet/mean", 1.0300429},
        {"/moons_per_planet/max", 7},          {"/surveys/kepler_like_fraction/model", 20.0},
        {"/surveys/kepler_like_multiplicity/model", 1.0},
        {"/surveys/giant_fraction/model", 100.0},
        {"/surveys/eta_earth/model", 1.2},     {"/habitability/habitable", 8},
        {"/habitability/habitable_with_equipment", 3},
        {"/habitability/hostile", 462},        {"/habitability/failing_gravity", 407},
        {"/bodies/by_type/Rock/planets", 75},  {"/bodies/by_zone/inner/moons", 25},
    };
    for (const auto& known : kKnown)
        EXPECT_NEAR(j.at(nlohmann::json::json_pointer(known.pointer)).get<double>(), known.expected, 1e-6)
            << known.pointer;
    // A Sun-like run has no M dwarf to compare.
    EXPECT_EQ(j["surveys"]["m_dwarf_small_planets"]["model"], "n/a");
}

// More seeds than one worker's share, so the slots must be merged in seed order.
TEST(Stats, ThreadCountChangesNothing) {
    TemporaryFolder folder;
    std::string outputs[2];
    for (int i = 0; i < 2; ++i) {
        const std::string svg = (folder.path() / ("t" + std::to_string(i) + ".svg")).string();
        const CliRun run = runCli("stats --class M4V -n 300 --seed-from 7 --svg " + svg + " --threads " +
                                    (i == 0 ? "1" : "3"));
        ASSERT_EQ(run.status, 0);
        outputs[i] = run.out + readAll(svg);
    }
    EXPECT_TRUE(outputs[0] == outputs[1]) << "the outputs of 1 and 3 threads differ";
    EXPECT_NE(outputs[0].find("M dwarf"), std::string::npos);
}

TEST(Stats, PictureIsXmlWithOneMarkPerPlanet) {
    TemporaryFolder folder;
    const std::string svg = (folder.path() / "p.svg").string();
    const CliRun run = runCli("stats --mass 0.5 -n 30 --json --svg " + svg);
    ASSERT_EQ(run.status, 0);
    const double planets = nlohmann::json::parse(run.out)["planets_per_system"]["mean"].get<double>() * 30;
    const CliRun marks = runCommand(
        "python3 -c \"import sys,xml.dom.minidom as m; d=m.parse(sys.argv[1]); "
        "print([p.getAttribute('d').count('M') for p in d.getElementsByTagName('path') "
        "if p.getAttribute('id')=='planets'][0])\" " + svg);
    ASSERT_EQ(marks.status, 0) << "not well-formed XML";
    EXPECT_EQ(std::stod(marks.out), planets);
}

TEST(Stats, RefusesBadArgumentsWithStatusTwo) {
    const struct {
        const char* arguments;
        const char* message;
    } kBad[] = {
        {"--mass 1 --count 0", "--count must be"},
        {"--mass -1", "--mass must be a positive"},
        {"--class Q5V", "unknown classification"},
        {"--class G2X", "unknown classification"},
        {"--mass 1 --class G2V", "exactly one of"},
        {"--count 5", "exactly one of"},
        {"--mass 1 --seed-from 4294967295 -n 2", "--seed-from"},
        {"--mass 1 --threads 0", "--threads must be"},
    };
    for (const auto& bad : kBad) {
        const CliRun run = runCli(std::string("stats ") + bad.arguments, true);
        EXPECT_EQ(run.status, 2) << bad.arguments;
        EXPECT_NE(run.out.find(bad.message), std::string::npos) << bad.arguments << ": " << run.out;
    }
}
