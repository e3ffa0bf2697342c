#pragma once
// The saved-system file: one star and its planets and moons as plain text, one key and value
// per line. Saved to folder, to the simulator's cache, and read back as custom systems.

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

#include "galaxy/galaxy_catalogue.h"
#include "platform/message_sink.h"

// The file's text for a star whose system exists.
std::string systemFileText(const StarRecord& star);

// Writes the star's system below the simulator root `root`: to folder
// "Starvane/SavedSystems/<star name>/<system name>.svs" (missing folders are created), or to
// cache "Config/EPP/<system name>.epp". Names are made safe first. Returns false when nothing
// could be written.
// Where saveSystemFile writes the star's system.
std::filesystem::path savedSystemPath(const std::filesystem::path& root, const StarRecord& star,
                                      bool toCache);

bool saveSystemFile(const std::filesystem::path& root, const StarRecord& star, bool toCache);

// Reads a saved-system file into `star`, which gets new stellar data and a new system. Returns
// false when the file cannot be read, is not a regular file or is too big. Counts a star
// without alias in the catalogue. What was refused or cut is told to `messages`, naming the
// file and the line.
bool loadSystemFile(GalaxyCatalogue& catalogue, const std::filesystem::path& path, StarRecord& star,
                    MessageSink* messages = nullptr);

// Reads saved-system text into `star` (what loadSystemFile does after opening the file).
// Counts beyond the format's limits are cut to them, keeping the first bodies and gases;
// `problem` gets the first such line and how many more there were (empty when none).
void readSystemText(GalaxyCatalogue& catalogue, const std::string& text, StarRecord& star,
                    std::string* problem = nullptr);

// The body type of a type word, or nothing for words the files do not use ("unknown" included).
std::optional<PlanetType> planetTypeOfWord(std::string_view word);
// The type word of a body type; types beyond the list are "unknown".
const char* planetTypeWord(PlanetType type);
