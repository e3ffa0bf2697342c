#pragma once
// The program's configuration "Starvane/Starvane.cfg": 33 lines, each value line after one
// label line. Nothing has a default: a missing line reads as empty text and 0.

#include <filesystem>
#include <string>

#include "platform/message_sink.h"

struct StarvaneConfig {
    int width = 0;
    int height = 0;
    std::string galaxy;
    std::string hotspotfile;
    int largelevel = 0;       // texture level for large bodies
    int smalllevel = 0;       // texture level for small bodies
    double largeradius = 0;   // km; at or above it the large level applies
    double smallradius = 0;   // km; at or below it the small level applies
    int lowerbound = 0;       // lowest level of bodies with a lower bound
    int upperbound = 0;       // highest level of bodies with an upper bound
    int asteroidlevel = 0;
    int maxasteroids = 0;     // per belt
    int minasteroids = 0;
    int cachecapacity = 0;    // the list's capacity (the file holds it minus 2)
    int pluginoption1 = 0;
    int pluginoption3 = 0;
    int textureswitch = 0;    // 1: bodies with almost no air get cloud class 5
    int routes = 0;           // 1: routes enabled
};

// Reads the configuration text; whatever is missing reads as empty and 0. Asteroid counts
// beyond the most a belt may have are cut to it, and `problem` says so with the line.
StarvaneConfig readStarvaneConfig(const std::string& text, std::string* problem = nullptr);

// Reads "Starvane/Starvane.cfg" below the simulator root; false when it cannot be opened.
// What was cut is told to `messages`, naming the file.
bool loadStarvaneConfig(const std::filesystem::path& root, StarvaneConfig& config,
                        MessageSink* messages = nullptr);
