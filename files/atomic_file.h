#pragma once
// Replacing a file as a whole: the new text goes to a temporary file beside it, which then
// takes the old file's place, so that a crash never leaves half a file behind.

#include <filesystem>
#include <string>

// Returns false when the text could not be written (the old file is then left as it was).
bool writeFileAtomically(const std::filesystem::path& path, const std::string& text);
