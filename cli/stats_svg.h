#pragma once
// The picture of a stats run as SVG text: every planet in the period-radius plane (log axes,
// days against Earth radii) with the regions the planet surveys cover, and a histogram of
// planets per system. The marks form one path, one "M" move per planet, to keep files small.

#include <string>
#include <string_view>

#include "cli/stats_tally.h"

std::string statsSvg(const StatsTally& tally, std::string_view title);

