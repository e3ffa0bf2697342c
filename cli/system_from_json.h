#pragma once
// A generated system given as JSON (the object `starvane-cli system --json` prints, plus a
// "star" object with "name", "mass" and "radius"), read back for export.

#include <optional>
#include <string>

#include "galaxy/star_record.h"

// Reads the JSON text into `star` (its stellar data and its system). Returns what is wrong
// with the text, or nothing when it was read; on failure `star` is left unusable.
std::optional<std::string> readSystemJson(const std::string& text, StarRecord& star);
