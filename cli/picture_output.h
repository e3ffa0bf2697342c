#pragma once
// `--svg FILE`: the picture of a system written beside what a command prints.

#include <string>

#include "generation/generated_system.h"
#include "generation/stellar_data.h"

// Writes the picture to `path` as a whole; says on stderr what was written or why not.
bool writeSystemPicture(const std::string& path, const GeneratedSystem& system, const StellarData& star,
                        const char* command);
