// The texts of the system view's tables: numbers truncated to two decimals, then significant
// digits; units, "N/A" and "No Atmosphere"; the gases; km or AU and giant sizes in the list.

#include <gtest/gtest.h>

#include <array>
#include <limits>
#include <string>

#include "app/info_text.h"

namespace {


TEST(InfoTextTest, NumbersAreTruncatedThenWrittenWithSignificantDigits) {
    const struct { double v; int digits; bool plain; const char* text; } table[] = {
        {1.999, 4, false, "1.99"},      {-1.999, 4, false, "-1.99"},  // toward zero, not downwards
        {0.005, 4, false, "0"},         {0.0167, 4, false, "0.01"},        {365.25, 5, false, "365.25"},
        {365.25, 4, false, "365.2"},    {123456.789, 4, false, "1.235e+05"}, {4.6e9, 12, false, "4600000000"},
        {1.999, 4, true, "1.999"},      {1.9999, 3, true, "2"},            {0.004, 3, true, "0.004"},
    };
    for (const auto& row : table)
        EXPECT_EQ(row.plain ? formatPlain(row.v, row.digits) : formatValue(row.v, row.digits), row.text) << row.v;
}

struct Cell {
    int row;
    const char* first;
    const char* second;  // nullptr: not checked
};

void expectCells(const PlanetRecord& body, std::initializer_list<Cell> cells) {
    const auto rows = bodyTableRows(body);
    for (const Cell& cell : cells) {
        EXPECT_EQ(rows[cell.row].first, cell.first) << "row " << cell.row;
        if (cell.second != nullptr) EXPECT_EQ(rows[cell.row].second, cell.second) << "row " << cell.row;
    }
}

PlanetRecord rockyPlanet() {
    PlanetRecord b;
    b.type = terrestrial, b.greenhouse = 1, b.sma = 1.0, b.mass = 3e-6, b.surfaccel = 1000.0, b.surfpressure = 2000.0;
    b.medsurftemp = 300.0, b.lowtemp = 250.0, b.hightemp = 310.0, b.mintemp = 200.0, b.maxtemp = 350.0;
    b.radius = 10000.0, b.density = 5.5, b.escvelocity = 1120000.0, b.minmolweight = 30.0;
    b.axtilt = 23.5, b.exotemp = 1000.0, b.period = 365.25, b.day = 24.0, b.boilpoint = 373.0;
    b.coreradius = 3000.0, b.gasmass = 1e-10, b.dustmass = 3e-6;
    b.atmcompounds = {{7, 1561.6, 78.08}, {8, 419.0, 20.95}, {18, 18.6, 0.93}, {902, 0.8, 0.04}};
    return b;
}

TEST(InfoTextTest, BodyTableOfARockyPlanetCarriesItsUnits) {
    PlanetRecord b = rockyPlanet();
    expectCells(b, {{0, "Terrestrial", "Greenhouse effect"}, {1, "1.49598e+08 km", "1 AU"}, {2, "5.967e+24 Kg", "0.99 EM"},
                    {3, "10 m/s^2", "1.01 G"}, {4, "2000 milibars", "1.97 atmospheres"},
                    {5, "300 K", "+12.85 K Earth temperature"}, {6, "250 K / 310 K", "200 K / 350 K"},
                    {7, "10000 km", "1.56 ER"}, {8, "5.5 g/cc", "0.99 ED"}, {10, "1.12e+04 m/s", nullptr},
                    {11, "30 and above", "Nitrogen 78.1%, Oxygen 20.9%, Argon 0.93%, "}, {12, "23.5 degrees", nullptr},
                    {14, "1000 K", "-273 K Earth temperature"}, {15, "365.25 days", nullptr}, {16, "24 hours", nullptr},
                    {17, "373 K", nullptr}, {21, "3000 km", nullptr}, {22, "1.989e+20 kg", nullptr},
                    {23, "5.967e+24 kg", nullptr}});
    // At Earth's own temperatures the difference is "+0"; below them it has its own minus.
    b.medsurftemp = 287.15, b.exotemp = 1273.0;
    expectCells(b, {{5, "287.1 K", "+0 K Earth temperature"}, {14, "1273 K", "+0 K Earth temperature"}});
    b.medsurftemp = 100.0, b.exotemp = 0.0;  // the exosphere row is never N/A
    expectCells(b, {{5, "100 K", "-187.1 K Earth temperature"}, {14, "0 K", "-1273 K Earth temperature"}});
}

TEST(InfoTextTest, BodyTableShowsNAWhereABodyHasNoValue) {
    PlanetRecord giant = rockyPlanet();
    giant.type = sudarskyi;
    giant.resonant = 1;
    giant.surfpressure = giant.medsurftemp = giant.boilpoint = std::numeric_limits<double>::infinity();
    giant.lowtemp = giant.mintemp = giant.coreradius = 0.0;
    expectCells(giant, {{0, "Sudarsky I Giant", "resonant spin locked, Greenhouse effect"}, {4, "N/A", "N/A"},
                        {5, "N/A", "N/A"}, {6, "N/A", "N/A"}, {17, "N/A", nullptr}, {21, "N/A", nullptr}});
    giant.lowtemp = 100.0, giant.hightemp = 150.0;  // one range missing: only that cell
    expectCells(giant, {{6, "100 K / 150 K", "N/A"}});

    PlanetRecord moon;  // no orbit, mass, radius, gravity, temperatures, period, day, core
    moon.type = rock;
    moon.resonant = 1;
    moon.surfpressure = 0.1;  // exactly the limit: no atmosphere, no gases
    moon.atmcompounds = {{7, 0.05, 49.8}, {18, 0.05, 49.99}, {907, 0.1, 0.1}, {902, 0.007, 0.11}};
    moon.exotemp = 500.0;
    expectCells(moon, {{0, "Rock", "resonant spin locked"}, {4, "No Atmosphere", ""}, {11, "0 and above", ""},
                       {1, "N/A", "N/A"}, {2, "N/A", "N/A"}, {3, "N/A", "N/A"}, {7, "N/A", "N/A"}, {8, "N/A", "N/A"},
                       {15, "N/A", nullptr}, {16, "N/A", nullptr}, {22, "N/A", nullptr}, {23, "N/A", nullptr}});
    moon.surfpressure = 0.11;
    moon.dustmass = 1e-10;  // rock mass alone keeps both mass rows
    expectCells(moon, {{4, "0.11 milibars", "0 atmospheres"}, {11, "0 and above", "Nitrogen 49.8%, Argon 50%, Carbon Dioxide 0.11%, "},
                       {22, "0 kg", nullptr}, {23, "1.989e+20 kg", nullptr}});
}

TEST(InfoTextTest, StarTableRunsTheClassTogetherWithoutUnits) {
    StellarData s;
    s.spectralclass = "M", s.subtype = 5, s.lumclass = "Ia0";
    s.radius = 1.999, s.age = 4.6e9, s.mslifetime = 1e10, s.luminosity = 123456.789;
    const std::array<std::string, 9> expected = {"", "M5Ia0", "", "0", "1.99", "0", "4600000000", "10000000000", "1.235e+05"};
    EXPECT_EQ(starTableRows(s), expected);
}

PlanetRecord body(PlanetType type, double sma, double earthMasses, double gasShare, double radius) {
    PlanetRecord b;
    b.type = type, b.sma = sma, b.radius = radius, b.mass = earthMasses / 332775.64;
    b.gasmass = b.mass * gasShare, b.dustmass = b.mass - b.gasmass;
    return b;
}

TEST(InfoTextTest, SystemListNumbersPlanetsLettersMoonsAndSizesGiants) {
    // Dwarf below a gas share of 0.2, else Subgiant below 20 Earth masses, else Giant.
    const struct { PlanetType type; double masses, gasShare; const char* name; } types[] = {
        {sudarskyii, 300.0, 0.1, "Sudarsky II Giant Dwarf"}, {sudarskyiii, 10.0, 0.9, "Sudarsky III Giant Subgiant"},
        {sudarskyi, 300.0, 0.2, "Sudarsky I Giant Giant"},   {sudarskyiv, 19.0, 0.2, "Sudarsky IV Giant Subgiant"},
        {sudarskyv, 20.0, 0.2, "Sudarsky V Giant Giant"},    {icegiant, 15.0, 0.1, "Ice Giant"},
    };
    for (const auto& t : types)
        EXPECT_EQ(systemListType(body(t.type, 5.0, t.masses, t.gasShare, 1.0)), t.name);

    GeneratedSystem system;
    PlanetSlot first, second, third;
    first.bodies = {body(rock, 0.05, 0.05, 0.0, 2000.0)};
    second.bodies = {body(sudarskyv, 5.2, 317.8, 0.9, 70000.0), body(ice, 0.00257, 0.01, 0.0, 1500.0),
                     body(rock, 0.1, 0.001, 0.0, 800.0), body(oneface, 0.2, 0.002, 0.0, 900.0)};
    third.bodies = {body(martian, 0.1, 0.1, 0.0, 3400.0)};
    system.planets = {first, second, third};
    const std::vector<SystemListRow> expected = {
        {"1", "", "Rock", "7.48e+06 km", "0.05 EM", "0.31 ER"},
        {"2", "", "Sudarsky V Giant Giant", "5.2 AU", "317.8 EM", "10.97 ER"},
        {"", "a", "Ice", "3.845e+05 km", "0.01 EM", "0.23 ER"},
        {"", "b", "Rock", "0.1 AU", "0 EM", "0.12 ER"},  // 0.1 AU itself is in AU
        {"", "c", "1Face", "0.2 AU", "0 EM", "0.14 ER"},
        {"3", "", "Martian", "0.1 AU", "0.1 EM", "0.53 ER"},
    };
    EXPECT_EQ(systemListRows(system), expected);
}

}  // namespace
