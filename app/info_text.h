#pragma once
// The texts of the system view's tables: every number of a star or body turned into text by
// the two formatting rules, the body table's 24 rows with their special cases, the atmosphere
// composition, the star table and the rows of the system list. No engine needed.

#include <array>
#include <string>
#include <utility>
#include <vector>

#include "export/habitability.h"
#include "galaxy/star_record.h"

// v truncated toward zero to two decimals, then written with at most `digits` significant
// digits in general notation.
std::string formatValue(double v, int digits);

// v written with at most `digits` significant digits in general notation.
std::string formatPlain(double v, int digits);

// The gases above 0.1 percent, largest first: "Nitrogen 78.1%, Oxygen 20.9%, ".
std::string compositionText(const PlanetRecord& body);

// Columns 1 and 2 of the body table's 24 rows.
std::array<std::pair<std::string, std::string>, 24> bodyTableRows(const PlanetRecord& body);

// The body table's last row: the habitability verdict and the reasons against it.
struct HabitabilityCells {
    HabitabilityVerdict verdict;
    std::string verdictText;  // column 1
    std::string reasons;      // column 2, "" for a habitable body
};
HabitabilityCells habitabilityCells(const PlanetRecord& body);

// Column 1 of the star table's 9 rows.
std::array<std::string, 9> starTableRows(const StellarData& star);

// One row of the system list: number, moon letter, type, distance, mass, radius.
using SystemListRow = std::array<std::string, 6>;
std::vector<SystemListRow> systemListRows(const GeneratedSystem& system);

// The type shown in the system list: Sudarsky giants carry " Dwarf", " Subgiant" or " Giant".
std::string systemListType(const PlanetRecord& body);
