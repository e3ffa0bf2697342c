// The class filter: which stars each pair of list rows shows.

#include <gtest/gtest.h>

#include <string>

#include "galaxy/class_filter.h"

namespace {

StellarData star(const std::string& spectralclass, const std::string& lumclass) {
    StellarData data;
    data.spectralclass = spectralclass;
    data.lumclass = lumclass;
    return data;
}

const char* const kClassList[] = {"O", "B", "A", "F", "G", "K", "M"};

// The filter as the lists' rows select it.
bool shown(const StellarData& s, int classRow, int luminosityRow) {
    return passesClassFilter(s, static_cast<ClassChoice>(classRow), static_cast<LuminosityChoice>(luminosityRow));
}

}  // namespace

TEST(ClassFilter, AllStarsShowsEverything) {
    for (const StellarData& s : {star("G", "V"), star("DC", ""), star("Neut", ""), star("x", "y")})
        EXPECT_TRUE(shown(s, 0, 0)) << s.spectralclass;
}

TEST(ClassFilter, ClassIndicesOneToSevenMatchExactly) {
    for (int index = 1; index <= 7; ++index)
        for (int other = 0; other < 7; ++other) {
            EXPECT_EQ(shown(star(kClassList[other], "III"), index, 0), other == index - 1)
                << index << ' ' << kClassList[other];
        }
    EXPECT_FALSE(shown(star("g", "V"), 5, 0));
    EXPECT_FALSE(shown(star("G ", "V"), 5, 0));
    EXPECT_FALSE(shown(star("DC", ""), 5, 0));
    EXPECT_FALSE(shown(star("N", "V"), 7, 0));
}

TEST(ClassFilter, RemnantIndicesIgnoreTheLuminosityList) {
    for (int lum = 0; lum <= 6; ++lum) {
        for (const char* dwarf : {"DC", "D", "Neut"}) EXPECT_EQ(shown(star(dwarf, "III"), 8, lum), dwarf[1] == 'C');
        for (const char* other : {"Neut", "BH", "DC", "bh", "G"})
            EXPECT_EQ(shown(star(other, ""), 9, lum), other[0] == 'N' || other[0] == 'B') << other << lum;
    }
}

TEST(ClassFilter, LuminosityIndices) {
    struct Case {
        const char* lumclass;
        int passingIndex;  // besides 0
    };
    const Case cases[] = {{"Ia0", 1}, {"Ia", 1}, {"Ib", 1}, {"I", 1}, {"II", 2}, {"III", 3},
                          {"IV", 4},  {"V", 5},  {"VI", 6}, {"v", -1}, {"", -1}, {"iii", -1}, {"Iab", -1}};
    for (const Case& c : cases)
        for (int lum = 0; lum <= 6; ++lum) {
            const bool expected = lum == 0 || lum == c.passingIndex;
            EXPECT_EQ(shown(star("K", c.lumclass), 0, lum), expected) << c.lumclass << ' ' << lum;
            EXPECT_EQ(shown(star("K", c.lumclass), 6, lum), expected) << c.lumclass << ' ' << lum;
            EXPECT_FALSE(shown(star("M", c.lumclass), 6, lum));
        }
    // With all classes, remnants without a luminosity class fall to any luminosity selection.
    EXPECT_FALSE(shown(star("DC", ""), 0, 5));
    EXPECT_FALSE(shown(star("BH", ""), 0, 1));
}
