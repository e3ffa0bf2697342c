// Numbers in text fields: the leading decimal number of a field, or 0 when it has none.

#include <gtest/gtest.h>

#include <climits>
#include <limits>
#include <utility>

#include "text/text_number.h"

TEST(LeadingNumber, TakesTheNumberAFieldBeginsWith) {
    constexpr double kInf = std::numeric_limits<double>::infinity();
    const std::pair<const char*, double> cases[] = {
        {"12abc", 12}, {"-1.5e3;", -1500}, {"+2", 2}, {"  7", 7}, {"\t3.25", 3.25}, {".5", 0.5}, {"5.", 5}, {"-.25x", -0.25},
        {"1e", 1}, {"1e+", 1}, {"2E-2", 0.02}, {"1,5", 1}, {"0x10", 0}, {"007", 7}, {"6.02e23 mol", 6.02e23}, {"3 4", 3},
        {"1.2.3", 1.2}, {"47500\r", 47500}, {"-0", 0}, {"1e-999", 0}, {"", 0}, {"abc", 0}, {" ", 0}, {"-", 0}, {"+", 0},
        {".", 0}, {"-.", 0}, {"e5", 0}, {"- 5", 0}, {"--5", 0}, {"+-5", 0}, {"inf", 0}, {"nan", 0}, {"infinity", 0},
        {";12", 0}, {"1e999", kInf}, {"-1e999;", -kInf}, {"-1e-999", 0}, {"1.7976931348623157e308", 1.7976931348623157e308},
    };
    for (const auto& [field, value] : cases) EXPECT_EQ(leadingNumber(field), value) << '"' << field << '"';
}

TEST(LeadingInteger, TakesTheIntegerAFieldBeginsWith) {
    const std::pair<const char*, int> cases[] = {
        {"42;", 42}, {"3.7", 3}, {"-12x", -12}, {"+7", 7}, {" 94", 94}, {"94\r", 94}, {"1e3", 1},
        {"x", 0}, {"", 0}, {"-", 0}, {".5", 0}, {"- 3", 0}, {"-+3", 0}, {"--3", 0}, {"+-3", 0},
        {"- -3", 0}, {"99999999999", INT_MAX}, {"-99999999999", INT_MIN}, {"2147483647", INT_MAX},
    };
    for (const auto& [field, value] : cases) EXPECT_EQ(leadingInteger(field), value) << '"' << field << '"';
}
