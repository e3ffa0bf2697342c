// The texts of the system view's tables: number formatting (truncation to two decimals, then
// significant digits), the body table of a rocky planet, a gas giant and an airless moon with
// their "N/A" and "No Atmosphere" cases, the atmosphere composition, the star table, and the
// system list with its moon letters, distances in km or AU and Sudarsky size suffixes.

#include <gtest/gtest.h>

#include <limits>
#include <string>

#include "app/info_text.h"

namespace {

constexpr double kInf = std::numeric_limits<double>::infinity();
constexpr double kEarthMasses = 332775.64;  // Earth masses per solar mass

TEST(FormatValueTest, TruncatesToTwoDecimalsBeforeTheSignificantDigits) {
    EXPECT_EQ(formatValue(1.999, 4), "1.99");
    EXPECT_EQ(formatValue(-1.999, 4), "-1.99");  // toward zero, not downwards
    EXPECT_EQ(formatValue(0.005, 4), "0");
    EXPECT_EQ(formatValue(0.0167, 4), "0.01");
    EXPECT_EQ(formatValue(365.25, 5), "365.25");
    EXPECT_EQ(formatValue(365.25, 4), "365.2");       // four digits only
    EXPECT_EQ(formatValue(123456.789, 4), "1.235e+05");  // exponent notation past the digits
    EXPECT_EQ(formatValue(11200.0, 4), "1.12e+04");
    EXPECT_EQ(formatValue(4.6e9, 12), "4600000000");
}

TEST(FormatValueTest, PlainFormattingRoundsAndDoesNotTruncate) {
    EXPECT_EQ(formatPlain(1.999, 4), "1.999");
    EXPECT_EQ(formatPlain(1.9999, 3), "2");
    EXPECT_EQ(formatPlain(78.08, 3), "78.1");
    EXPECT_EQ(formatPlain(0.004, 3), "0.004");
}

PlanetRecord rockyPlanet() {
    PlanetRecord b;
    b.type = terrestrial;
    b.name = "Tellus";
    b.greenhouse = 1;
    b.sma = 1.0;
    b.mass = 3e-6;
    b.surfaccel = 1000.0;  // cm/s^2
    b.surfpressure = 2000.0;
    b.medsurftemp = 300.0;
    b.lowtemp = 250.0;
    b.hightemp = 310.0;
    b.mintemp = 200.0;
    b.maxtemp = 350.0;
    b.radius = 10000.0;
    b.density = 5.5;
    b.ecc = 0.0167;
    b.escvelocity = 1120000.0;  // cm/s
    b.minmolweight = 30.0;
    b.axtilt = 23.5;
    b.albedo = 0.3;
    b.exotemp = 1000.0;
    b.period = 365.25;
    b.day = 24.0;
    b.boilpoint = 373.0;
    b.hydrofraction = 0.7;
    b.cloudfraction = 0.5;
    b.icefraction = 0.03;
    b.coreradius = 3000.0;
    b.gasmass = 1e-10;
    b.dustmass = 3e-6;
    b.atmcompounds = {{7, 1561.6, 78.08}, {8, 419.0, 20.95}, {18, 18.6, 0.93}, {902, 0.8, 0.04}};
    b.gascount = 4;
    return b;
}

TEST(BodyTableTest, RockyPlanetShowsEveryValueWithItsUnits) {
    const auto rows = bodyTableRows(rockyPlanet());
    using Row = std::pair<std::string, std::string>;
    EXPECT_EQ(rows[0], Row("Terrestrial", "Greenhouse effect"));
    EXPECT_EQ(rows[1], Row("1.49598e+08 km", "1 AU"));
    EXPECT_EQ(rows[2], Row("5.967e+24 Kg", "0.99 EM"));
    EXPECT_EQ(rows[3], Row("10 m/s^2", "1.01 G"));
    EXPECT_EQ(rows[4], Row("2000 milibars", "1.97 atmospheres"));
    EXPECT_EQ(rows[5], Row("300 K", "+12.85 K Earth temperature"));
    EXPECT_EQ(rows[6], Row("250 K / 310 K", "200 K / 350 K"));
    EXPECT_EQ(rows[7], Row("10000 km", "1.56 ER"));
    EXPECT_EQ(rows[8], Row("5.5 g/cc", "0.99 ED"));
    EXPECT_EQ(rows[11], Row("30 and above", "Nitrogen 78.1%, Oxygen 20.9%, Argon 0.93%, "));
    EXPECT_EQ(rows[14], Row("1000 K", "-273 K Earth temperature"));
    EXPECT_EQ(rows[21], Row("3000 km", ""));
    EXPECT_EQ(rows[22], Row("1.989e+20 kg", ""));
    EXPECT_EQ(rows[23], Row("5.967e+24 kg", ""));
}

TEST(BodyTableTest, EarthTemperatureDifferencesCarryTheirSign) {
    PlanetRecord b = rockyPlanet();
    b.medsurftemp = 287.15;  // exactly Earth's: "+", difference 0
    b.exotemp = 1273.0;
    auto rows = bodyTableRows(b);
    EXPECT_EQ(rows[5].second, "+0 K Earth temperature");
    EXPECT_EQ(rows[14].second, "+0 K Earth temperature");

    b.medsurftemp = 100.0;  // colder: the difference's own minus, no "+"
    b.exotemp = 1500.0;
    rows = bodyTableRows(b);
    EXPECT_EQ(rows[5], std::make_pair(std::string("100 K"), std::string("-187.1 K Earth temperature")));
    EXPECT_EQ(rows[14].second, "+227 K Earth temperature");

    b.exotemp = 0.0;  // the exosphere row is never N/A
    EXPECT_EQ(bodyTableRows(b)[14], std::make_pair(std::string("0 K"), std::string("-1273 K Earth temperature")));
}

TEST(BodyTableTest, GasGiantHasNoSurfaceValues) {
    PlanetRecord b = rockyPlanet();
    b.type = sudarskyi;
    b.resonant = 1;
    b.greenhouse = 1;
    b.surfpressure = kInf;
    b.medsurftemp = kInf;
    b.boilpoint = kInf;
    b.lowtemp = 0.0;
    b.mintemp = 0.0;
    b.coreradius = 0.0;
    b.atmcompounds.clear();
    b.gascount = 0;
    const auto rows = bodyTableRows(b);
    using Row = std::pair<std::string, std::string>;
    EXPECT_EQ(rows[0], Row("Sudarsky I Giant", "resonant spin locked, Greenhouse effect"));
    for (int r : {4, 5, 6}) EXPECT_EQ(rows[r], Row("N/A", "N/A")) << "row " << r;
    EXPECT_EQ(rows[17].first, "N/A");
    EXPECT_EQ(rows[21].first, "N/A");
    EXPECT_EQ(rows[22].first, "1.989e+20 kg");

    // Only one of the ranges missing: only that cell is N/A.
    b.lowtemp = 100.0;
    b.hightemp = 150.0;
    EXPECT_EQ(bodyTableRows(b)[6], Row("100 K / 150 K", "N/A"));
}

TEST(BodyTableTest, AirlessMoonShowsNoAtmosphereAndNoComposition) {
    PlanetRecord b;
    b.type = rock;
    b.resonant = 1;
    b.surfpressure = 0.1;  // exactly the limit: no atmosphere
    b.atmcompounds = {{7, 0.05, 50.0}, {18, 0.05, 50.0}};
    b.gascount = 2;
    b.exotemp = 500.0;
    // No orbit, mass, radius, density, gravity, temperatures, period, day, core or masses.
    const auto rows = bodyTableRows(b);
    using Row = std::pair<std::string, std::string>;
    EXPECT_EQ(rows[0], Row("Rock", "resonant spin locked"));
    EXPECT_EQ(rows[4], Row("No Atmosphere", ""));
    EXPECT_EQ(rows[11], Row("0 and above", ""));
    for (int r : {1, 2, 3, 5, 6, 7, 8}) EXPECT_EQ(rows[r], Row("N/A", "N/A")) << "row " << r;
    for (int r : {15, 16, 17, 21, 22, 23}) EXPECT_EQ(rows[r].first, "N/A") << "row " << r;
    EXPECT_EQ(rows[14].second, "-773 K Earth temperature");

    // Just above the limit the pressure and the gases are shown.
    b.surfpressure = 0.11;
    const auto thin = bodyTableRows(b);
    EXPECT_EQ(thin[4], Row("0.11 milibars", "0 atmospheres"));
    EXPECT_EQ(thin[11].second, "Nitrogen 50%, Argon 50%, ");

    // Rock mass alone keeps both mass rows.
    b.dustmass = 1e-10;
    const auto dusty = bodyTableRows(b);
    EXPECT_EQ(dusty[22].first, "0 kg");
    EXPECT_EQ(dusty[23].first, "1.989e+20 kg");
}

TEST(CompositionTextTest, ListsGasesAbovePointOnePercentEachEndingWithPercentComma) {
    PlanetRecord b;
    b.atmcompounds = {{902, 100.0, 96.475}, {7, 3.5, 3.49909}, {907, 0.1, 0.1}, {18, 0.007, 0.11}};
    b.gascount = 4;
    EXPECT_EQ(compositionText(b), "Carbon Dioxide 96.5%, Nitrogen 3.5%, Argon 0.11%, ");
    b.atmcompounds.clear();
    EXPECT_EQ(compositionText(b), "");
}

TEST(StarTableTest, ClassificationRunsTogetherAndNoUnitsAreAdded) {
    StellarData s;
    s.name = "Sol";
    s.spectralclass = "G";
    s.subtype = 2;
    s.lumclass = "V";
    s.typename_ = "Main Sequence Star";
    s.mass = 1.0;
    s.radius = 1.999;
    s.surftemp = 5772.0;
    s.age = 4.6e9;
    s.mslifetime = 1e10;
    s.luminosity = 123456.789;
    const auto rows = starTableRows(s);
    EXPECT_EQ(rows[1], "G2V");
    EXPECT_EQ(rows[4], "1.99");
    EXPECT_EQ(rows[7], "10000000000");
    EXPECT_EQ(rows[8], "1.235e+05");

    s.spectralclass = "M";
    s.subtype = 5;
    s.lumclass = "Ia0";
    EXPECT_EQ(starTableRows(s)[1], "M5Ia0");
}

PlanetRecord body(PlanetType type, double sma, double earthMasses, double gasShare, double radius) {
    PlanetRecord b;
    b.type = type;
    b.sma = sma;
    b.mass = earthMasses / kEarthMasses;
    b.gasmass = b.mass * gasShare;
    b.dustmass = b.mass - b.gasmass;
    b.radius = radius;
    return b;
}

PlanetSlot slot(std::vector<PlanetRecord> bodies) {
    PlanetSlot s;
    s.mooncount = static_cast<std::int32_t>(bodies.size()) - 1;
    s.bodies = std::move(bodies);
    return s;
}

TEST(SystemListTest, SudarskyGiantsGetTheirSizeSuffix) {
    // Dwarf by gas share below 0.2, else Subgiant below 20 Earth masses, else Giant.
    EXPECT_EQ(systemListType(body(sudarskyii, 5.0, 300.0, 0.1, 70000.0)), "Sudarsky II Giant Dwarf");
    EXPECT_EQ(systemListType(body(sudarskyiii, 5.0, 10.0, 0.9, 30000.0)), "Sudarsky III Giant Subgiant");
    EXPECT_EQ(systemListType(body(sudarskyi, 5.0, 300.0, 0.2, 70000.0)), "Sudarsky I Giant Giant");
    EXPECT_EQ(systemListType(body(sudarskyiv, 5.0, 19.0, 0.2, 30000.0)), "Sudarsky IV Giant Subgiant");
    // Other types keep their plain names, whatever their masses.
    EXPECT_EQ(systemListType(body(icegiant, 5.0, 15.0, 0.1, 25000.0)), "Ice Giant");
}

TEST(SystemListTest, RowsNumberPlanetsLetterMoonsAndPickKmOrAu) {
    GeneratedSystem system;
    system.planets.push_back(slot({body(rock, 0.05, 0.05, 0.0, 2000.0)}));
    system.planets.push_back(slot({body(sudarskyv, 5.2, 317.8, 0.9, 70000.0),
                                   body(ice, 0.00257, 0.01, 0.0, 1500.0),
                                   body(rock, 0.1, 0.001, 0.0, 800.0),
                                   body(oneface, 0.2, 0.002, 0.0, 900.0)}));
    system.planets.push_back(slot({body(martian, 0.1, 0.1, 0.0, 3400.0)}));
    system.planetcount = 3;
    const auto rows = systemListRows(system);
    ASSERT_EQ(rows.size(), 6u);

    EXPECT_EQ(rows[0], (SystemListRow{"1", "", "Rock", "7.48e+06 km", "0.05 EM", "0.31 ER"}));
    EXPECT_EQ(rows[1], (SystemListRow{"2", "", "Sudarsky V Giant Giant", "5.2 AU", "317.8 EM", "10.97 ER"}));
    // Moons: no number, the letters a, b, c; their distances from the planet, in km when close.
    EXPECT_EQ(rows[2], (SystemListRow{"", "a", "Ice", "3.845e+05 km", "0.01 EM", "0.23 ER"}));
    EXPECT_EQ(rows[3][1], "b");
    EXPECT_EQ(rows[3][3], "0.1 AU");  // 0.1 AU itself is in AU
    EXPECT_EQ(rows[4][1], "c");
    EXPECT_EQ(rows[4][2], "1Face");
    // The numbering goes on after the moons.
    EXPECT_EQ(rows[5][0], "3");
    EXPECT_EQ(rows[5][3], "0.1 AU");
}

}  // namespace
