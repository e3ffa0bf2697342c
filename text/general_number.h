#pragma once
// Numbers as our text files write them: general notation with six significant digits (the
// shorter of fixed and exponent notation, trailing zeros dropped), whatever the locale.

#include <string>

std::string generalNumber(double value);
