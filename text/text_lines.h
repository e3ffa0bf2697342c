#pragma once
// Splitting our text files: into lines (a carriage return before the line feed is dropped)
// and lines into fields. The views point into the text, which must outlive them.

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

std::vector<std::string_view> splitLines(std::string_view text);
std::vector<std::string_view> splitFields(std::string_view line, char separator);

// The whole file as text; empty when it cannot be read, is no regular file or is bigger than
// kMostTextFileBytes (`ok` tells which).
std::string readTextFile(const std::filesystem::path& path, bool* ok = nullptr);

// The whole of a regular file of at most `most` bytes into `text`. Returns why it was not
// read otherwise: it cannot be opened, is no regular file (a device or a pipe would never
// end), or is bigger than `most`.
std::optional<std::string> readBoundedFile(const std::filesystem::path& path, std::uintmax_t most,
                                           std::string& text);
