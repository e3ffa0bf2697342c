#pragma once
// The cache list: the systems exported to the simulator's folders, oldest first, kept in
// "Starvane/Cache.txt" with a fixed capacity. Adding a system to a full list removes the oldest
// one's exported files from the simulator.

#include <filesystem>
#include <string>
#include <vector>

// The names in the cache list below `root` (empty when there is no list).
std::vector<std::string> readCacheList(const std::filesystem::path& root);

// Registers `systemName` before it is exported to cache. Returns false when it is listed
// already (nothing is written then, and the system is not exported again). When the list
// holds `capacity` names or more, the oldest system's files are removed and its name dropped.
bool addToCache(const std::filesystem::path& root, const std::string& systemName, int capacity);

// Deletes what exporting `systemName` to the simulator wrote: its textures (as listed in its
// texture list), its configuration folder, its habitable-base marker file and its saved copy.
// Nothing outside the simulator's texture and configuration folders is touched.
void removeExportedSystem(const std::filesystem::path& root, const std::string& systemName);
