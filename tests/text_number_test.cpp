// Numbers in text fields: the leading decimal number of a field, or 0 when it has none.

#include <gtest/gtest.h>

#include <climits>
#include <limits>
#include <string>

#include "text/text_number.h"

constexpr double kInf = std::numeric_limits<double>::infinity();

TEST(LeadingNumber, TakesTheNumberAFieldBeginsWith) {
    struct Case {
        const char* field;
        double value;
    };
    const Case cases[] = {
        {"12abc", 12.0},     {"-1.5e3;", -1500.0}, {"+2", 2.0},        {"  7", 7.0},
        {"\t3.25", 3.25},    {".5", 0.5},          {"5.", 5.0},        {"-.25x", -0.25},
        {"1e", 1.0},         {"1e+", 1.0},         {"2E-2", 0.02},     {"1,5", 1.0},
        {"0x10", 0.0},       {"007", 7.0},         {"6.02e23 mol", 6.02e23}, {"3 4", 3.0},
        {"1.2.3", 1.2},      {"47500\r", 47500.0}, {"-0", 0.0},        {"1e-999", 0.0},
        {"", 0.0},           {"abc", 0.0},         {" ", 0.0},         {"-", 0.0},
        {"+", 0.0},          {".", 0.0},           {"-.", 0.0},        {"e5", 0.0},
        {"- 5", 0.0},        {"--5", 0.0},         {"+-5", 0.0},       {"inf", 0.0},
        {"nan", 0.0},        {"infinity", 0.0},    {";12", 0.0},
        // Out-of-range exponents.
        {"1e999", kInf}, {"-1e999;", -kInf}, {"-1e-999", 0.0}, {"1.7976931348623157e308", 1.7976931348623157e308},
    };
    for (const Case& c : cases) EXPECT_EQ(leadingNumber(c.field), c.value) << '"' << c.field << '"';
}

TEST(LeadingInteger, TakesTheIntegerAFieldBeginsWith) {
    struct Case {
        const char* field;
        int value;
    };
    const Case cases[] = {
        {"42;", 42},   {"3.7", 3},   {"-12x", -12}, {"+7", 7},  {" 94", 94}, {"94\r", 94},
        {"1e3", 1},    {"x", 0},     {"", 0},       {"-", 0},   {".5", 0},   {"- 3", 0},
        {"-+3", 0},    {"--3", 0},   {"+-3", 0},    {"- -3", 0},
        {"99999999999", INT_MAX},    {"-99999999999", INT_MIN}, {"2147483647", INT_MAX},
    };
    for (const Case& c : cases) EXPECT_EQ(leadingInteger(c.field), c.value) << '"' << c.field << '"';
}
