// Names shown for body types, gases, moons and planets, and the gas table.

#include <gtest/gtest.h>

#include <string>

#include "generation/gas_table.h"
#include "generation/generated_system.h"

TEST(GeneratedSystemNames, TypeNames) {
    EXPECT_STREQ(planetTypeName(unknown), "Unknown");
    EXPECT_STREQ(planetTypeName(oceanic), "Water");
    EXPECT_STREQ(planetTypeName(icegiant), "Ice Giant");
    EXPECT_STREQ(planetTypeName(gasdwarf), "Gas Dwarf");
    EXPECT_STREQ(planetTypeName(oneface), "1Face");
    EXPECT_STREQ(planetTypeName(sudarskyi), "Sudarsky I Giant");
    EXPECT_STREQ(planetTypeName(sudarskyv), "Sudarsky V Giant");
    EXPECT_STREQ(planetTypeName(17), "Unknown");
    EXPECT_STREQ(planetTypeName(-1), "Unknown");
}

TEST(GeneratedSystemNames, GasDisplayNames) {
    EXPECT_STREQ(gasDisplayName(905), "Ethanole");
    EXPECT_STREQ(gasDisplayName(3), "");
    EXPECT_STREQ(gasDisplayName(87), "Francium");
    EXPECT_STREQ(gasDisplayName(911), "Sulf.Acid");
    EXPECT_STREQ(gasDisplayName(0), "");
    EXPECT_STREQ(gasDisplayName(912), "");
}

TEST(GeneratedSystemNames, MoonNumerals) {
    EXPECT_STREQ(moonNumeral(1), "I");
    EXPECT_STREQ(moonNumeral(9), "IX");
    EXPECT_STREQ(moonNumeral(14), "XIV");
    EXPECT_STREQ(moonNumeral(18), "XVIII");
    EXPECT_STREQ(moonNumeral(20), "XX");
    EXPECT_STREQ(moonNumeral(0), "");
    EXPECT_STREQ(moonNumeral(21), "");
    EXPECT_STREQ(moonNumeral(-3), "");
}

TEST(GeneratedSystemNames, PlanetLettersAndMoonNames) {
    EXPECT_EQ(planetLetter(0), "a");
    EXPECT_EQ(planetLetter(1), "b");
    EXPECT_EQ(planetLetter(25), "z");
    EXPECT_EQ(planetLetter(26), "{");  // the 27th planet
    EXPECT_EQ(planetLetter(27), "|");
    EXPECT_EQ(moonName("b", 2), "b II");
    EXPECT_EQ(moonName("a", 21), "a ");
}

TEST(GasTable, RowsInOrderWithTheirProperties) {
    const int numbers[kGasCount] = {1,   2,   7,   8,   10,  18,  36,  54,  900, 901,
                                    902, 903, 904, 905, 906, 907, 908, 909, 910, 911};
    for (int i = 0; i < kGasCount; ++i) EXPECT_EQ(kGasTable[i].gasnumber, numbers[i]) << i;

    const GasProperties* ethanol = findGas(905);
    ASSERT_NE(ethanol, nullptr);
    EXPECT_STREQ(ethanol->symbol, "CH3CH2OH");
    EXPECT_EQ(ethanol->boil, 194.9);
    EXPECT_EQ(findGas(3), nullptr);
    EXPECT_EQ(findGas(9), nullptr);  // has a display name but no row
}
