// The class filter: which stars each pair of list rows shows.

#include <gtest/gtest.h>

#include <string>

#include "galaxy/class_filter.h"

namespace {

// Whether a star of this classification shows under the lists' selected rows.
bool shown(const std::string& spectralclass, const std::string& lumclass, int classRow, int lumRow) {
    return passesClassFilter(StellarData{.spectralclass = spectralclass, .lumclass = lumclass},
                             static_cast<ClassChoice>(classRow), static_cast<LuminosityChoice>(lumRow));
}

}  // namespace

TEST(ClassFilter, ClassRowsMatchExactlyAndRemnantRowsIgnoreTheLuminosityList) {
    const char* const classes[] = {"O", "B", "A", "F", "G", "K", "M"};
    for (int row = 1; row <= 7; ++row)
        for (int other = 0; other < 7; ++other)
            EXPECT_EQ(shown(classes[other], "III", row, 0), other == row - 1) << row << ' ' << classes[other];
    for (const char* odd : {"g", "G ", "DC"}) EXPECT_FALSE(shown(odd, "V", 5, 0)) << odd;
    for (const char* any : {"G", "DC", "Neut", "x"}) EXPECT_TRUE(shown(any, "y", 0, 0)) << any;
    for (int lum = 0; lum <= 6; ++lum)
        for (const char* type : {"DC", "D", "Neut", "BH", "bh", "G"}) {
            const std::string t = type;
            EXPECT_EQ(shown(t, "III", 8, lum), t == "DC") << t << lum;
            EXPECT_EQ(shown(t, "", 9, lum), t == "Neut" || t == "BH") << t << lum;
        }
}

TEST(ClassFilter, LuminosityRows) {
    const std::pair<const char*, int> cases[] = {{"Ia0", 1}, {"Ia", 1}, {"Ib", 1},  {"I", 1},    {"II", 2},
                                                 {"III", 3}, {"IV", 4}, {"V", 5},   {"VI", 6},   {"v", -1},
                                                 {"", -1},   {"iii", -1}, {"Iab", -1}};
    for (const auto& [lumclass, row] : cases)
        for (int lum = 0; lum <= 6; ++lum) {
            EXPECT_EQ(shown("K", lumclass, 6, lum), lum == 0 || lum == row) << lumclass << ' ' << lum;
            EXPECT_FALSE(shown("M", lumclass, 6, lum));
        }
    // With all classes, remnants without a luminosity class fall to any luminosity selection.
    EXPECT_FALSE(shown("DC", "", 0, 5));
    EXPECT_FALSE(shown("BH", "", 0, 1));
}
