#pragma once
// Printing the commands' JSON. Names come from files as bytes, often in Windows-1252 (the
// simulator's own files are), so every string is made valid UTF-8 before it is written.

#include <array>
#include <ostream>
#include <string>
#include <string_view>

#include <nlohmann/json.hpp>

// A star's place inside its cube, stored in the order x, up, y, as an object that names its axes.
nlohmann::ordered_json offsetJson(const std::array<float, 3>& offset);

// Writes `value` indented by two spaces and a line break, with every key and string made
// valid UTF-8.
void printJson(std::ostream& out, nlohmann::ordered_json value);
