#pragma once
// HotSpots: the user's bookmarks of places in the galaxy, named cube positions grouped into
// named folders, kept in ".spt" files in the galaxy's "HotSpots/" folder. The view shows them
// in two lists, the folders and the bookmarks of the selected folder, from the rows given
// here, and hands back the selected folder and row.

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

struct HotSpot {
    std::string name;
    std::int32_t x = 0;
    std::int32_t y = 0;
    std::int32_t z = 0;
};

struct HotSpotFolder {
    std::int32_t count = 0;  // always hotspots.size()
    std::vector<HotSpot> hotspots;
    std::string name;
};

class HotSpotStore {
public:
    std::vector<HotSpotFolder> folders;
    std::int32_t foldercount = 0;  // always folders.size()

    // Empties the store and reads "<path>.spt".
    void loadHotSpots(const std::filesystem::path& path);
    // Writes the whole store to "<path>.spt"; false when it could not be written.
    bool saveHotSpots(const std::filesystem::path& path) const;

    // `folder` is the selected row of the folder list, `row` that of the bookmark list; either
    // may be -1 or out of range, which selects nothing.
    void addFolder(const std::string& name);
    // Each of these says whether it changed the store. Deletes the folder, unless it is the
    // last one.
    bool deleteFolder(int folder);
    bool addHotSpot(int folder, const std::string& name, int x, int y, int z);
    // Deletes the bookmark of that row, unless the row is "None" or it is the folder's last.
    bool deleteHotSpot(int folder, int row);
    // The bookmark of that row; an empty one for "None" or nothing.
    HotSpot hotSpotAt(int folder, int row) const;

    // The rows of the folder list, and of the bookmark list of a folder: "None" first, then
    // each bookmark with its coordinates.
    std::vector<std::string> folderRows() const;
    std::vector<std::string> hotSpotRows(int folder) const;

    // The store as file text, and read back from it.
    std::string text() const;
    void readText(const std::string& text);

private:
    const HotSpotFolder* folderAt(int folder) const;
};

// The path of bookmark file `fileName` (without extension) of galaxy `galaxy` below the
// simulator root; the name is made safe so that it stays in the galaxy's "HotSpots" folder.
std::filesystem::path hotSpotPath(const std::filesystem::path& root, const std::string& galaxy,
                                  const std::string& fileName);
