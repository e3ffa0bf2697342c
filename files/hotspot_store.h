#pragma once
// HotSpots: the user's bookmarks of places in the galaxy, named cube positions grouped into
// named folders, kept in ".spt" files in the galaxy's "HotSpots/" folder and shown in two list
// boxes: the folders, and the bookmarks of the selected folder.

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

#include "platform/list_box.h"

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
    ListBox* folderlist = nullptr;
    ListBox* hotspotlist = nullptr;

    // Remembers the list boxes and reads "<path>.spt".
    void loadHotSpots(const std::filesystem::path& path, ListBox* hotspots, ListBox* folderList);
    // Empties the store and reads "<path>.spt".
    void reloadHotSpots(const std::filesystem::path& path);
    // Writes the whole store to "<path>.spt"; false when it could not be written.
    bool saveHotSpots(const std::filesystem::path& path) const;

    void addFolder(const std::string& name);
    // Deletes the selected folder, unless it is the last one.
    void deleteFolder();
    // Adds a bookmark to the selected folder.
    void addHotSpot(const std::string& name, int x, int y, int z);
    // Deletes the selected bookmark, unless "None" is selected or it is the folder's last.
    void deleteHotSpot();
    // The selected bookmark of the selected folder; an empty one when "None" is selected.
    HotSpot selectedHotSpot() const;

    void refreshFolderList();
    void refreshHotSpotList();

    // The store as file text, and read back from it.
    std::string text() const;
    void readText(const std::string& text);

private:
    int selectedFolder() const;
    void refreshLists();
};

// The path of bookmark file `fileName` (without extension) of galaxy `galaxy` below the
// simulator root; the name is made safe so that it stays in the galaxy's "HotSpots" folder.
std::filesystem::path hotSpotPath(const std::filesystem::path& root, const std::string& galaxy,
                                  const std::string& fileName);
