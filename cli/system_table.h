#pragma once
// A generated system as a table for people: one row per planet and moon.

#include <iosfwd>

#include "generation/generated_system.h"

void printSystemTable(std::ostream& out, const GeneratedSystem& system);
