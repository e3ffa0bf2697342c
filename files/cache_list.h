#pragma once
// The cache list: the systems exported to the simulator's folders, oldest first, kept in
// "Starvane/Cache.txt" with a fixed capacity. Adding a system to a full list removes the oldest
// one's exported files from the simulator.

#include <filesystem>
#include <functional>
#include <string>
#include <vector>

// The names in the cache list below `root` (empty when there is no list).
std::vector<std::string> readCacheList(const std::filesystem::path& root);

enum class CacheAddition {
    added,           // listed now: the caller exports the system
    listedAlready,   // nothing was written, and the system is not exported again
    listNotWritten,  // the list could not be written: nothing was removed, nothing may be exported
};

// Told, in words, of every file that a removal leaves alone because it lies outside the
// simulator's folders. May be empty.
using RemovalNotice = std::function<void(const std::string&)>;

// Registers `systemName` (on one line and shortened as the export's file names are) before it
// is exported to cache. When the list holds `capacity` names or more, the oldest name is
// dropped and, once the new list is written, that system's files are removed.
CacheAddition addToCache(const std::filesystem::path& root, const std::string& systemName, int capacity,
                         const RemovalNotice& notice = {});

// Takes `systemName` back out of the list, as when its export failed, so that the export may be
// tried again, and removes its scenario. The other names and their files are left as they
// are. False when the list could not be written.
bool removeFromCache(const std::filesystem::path& root, const std::string& systemName);

// Deletes what exporting `systemName` to the simulator wrote: its textures (as listed in its
// texture list), its configuration folder, its habitable-base marker file, its scenario and its
// saved copy. Nothing outside the simulator's texture, configuration and scenario folders is
// touched: every path is checked with the links on its way resolved, and one that leads out is
// reported and skipped.
void removeExportedSystem(const std::filesystem::path& root, const std::string& systemName,
                          const RemovalNotice& notice = {});
