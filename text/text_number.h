#pragma once
// Numbers in our text files: each field is read as the decimal number it begins with, in any
// decimal or exponent form, and as 0 when it begins with none. Never depends on the locale.

#include <string_view>

// The leading decimal number of `field` (after blanks), or 0.
double leadingNumber(std::string_view field);

// The leading decimal integer of `field` (after blanks), or 0; clamped to the int range.
int leadingInteger(std::string_view field);
