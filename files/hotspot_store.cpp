#include "files/hotspot_store.h"

#include <algorithm>
#include <sstream>
#include <string_view>

#include "files/atomic_file.h"
#include "text/format_limits.h"
#include "files/safe_name.h"
#include "text/text_lines.h"
#include "text/text_number.h"

namespace {

std::filesystem::path withExtension(const std::filesystem::path& path) {
    std::filesystem::path file = path;
    file += ".spt";
    return file;
}

int boundedCount(std::string_view line) {
    const int count = leadingInteger(line);
    return count < 0 ? 0 : count > kMostBookmarks ? kMostBookmarks : count;
}

}  // namespace

std::filesystem::path hotSpotPath(const std::filesystem::path& root, const std::string& galaxy,
                                  const std::string& fileName) {
    return root / "Starvane" / "Galaxy" / safeFileName(galaxy) / "HotSpots" / safeFileName(fileName);
}

void HotSpotStore::readText(const std::string& text) {
    std::vector<std::string> lines;
    std::istringstream in(text);
    std::string line;
    while (std::getline(in, line)) {
        // Every carriage return at the end goes: a name that kept one would lose it at the next
        // save and read, and the file would change each time it is written.
        while (!line.empty() && line.back() == '\r') line.pop_back();
        lines.push_back(line);
    }
    std::size_t next = 0;
    auto nextLine = [&]() -> std::string { return next < lines.size() ? lines[next++] : std::string(); };

    folders.clear();
    const int folderCount = boundedCount(nextLine());
    for (int f = 0; f < folderCount; ++f) {
        HotSpotFolder folder;
        folder.name = nextLine();
        const int count = boundedCount(nextLine());
        for (int h = 0; h < count; ++h) {
            const std::string entry = nextLine();
            HotSpot spot;
            const std::size_t first = entry.find(',');
            spot.name = entry.substr(0, first);
            if (first != std::string::npos) {
                std::string_view rest = std::string_view(entry).substr(first + 1);
                std::int32_t* coordinate[] = {&spot.x, &spot.y, &spot.z};
                for (int c = 0; c < 3; ++c) {
                    const std::size_t comma = c < 2 ? rest.find(',') : std::string_view::npos;
                    *coordinate[c] = leadingInteger(rest.substr(0, comma));
                    if (comma == std::string_view::npos) break;
                    rest = rest.substr(comma + 1);
                }
            }
            folder.hotspots.push_back(spot);
        }
        folder.count = static_cast<std::int32_t>(folder.hotspots.size());
        folders.push_back(std::move(folder));
        if (next >= lines.size() && f + 1 < folderCount) {
            // The file promised more than it holds: the rest are empty folders.
            folders.resize(static_cast<std::size_t>(folderCount));
            break;
        }
    }
    foldercount = static_cast<std::int32_t>(folders.size());
}

std::string HotSpotStore::text() const {
    std::ostringstream out;
    out << folders.size();
    for (const HotSpotFolder& folder : folders) {
        out << "\n" << folder.name << "\n" << folder.hotspots.size();
        for (const HotSpot& spot : folder.hotspots)
            out << "\n" << spot.name << "," << spot.x << "," << spot.y << "," << spot.z;
    }
    return out.str();
}

void HotSpotStore::loadHotSpots(const std::filesystem::path& path) {
    folders.clear();
    foldercount = 0;
    readText(readTextFile(withExtension(path)));
}

bool HotSpotStore::saveHotSpots(const std::filesystem::path& path) const {
    return writeFileAtomically(withExtension(path), text());
}

const HotSpotFolder* HotSpotStore::folderAt(int folder) const {
    if (folder < 0 || folder >= static_cast<int>(folders.size())) return nullptr;
    return &folders[static_cast<std::size_t>(folder)];
}

void HotSpotStore::addFolder(const std::string& name) {
    HotSpotFolder folder;
    // A folder name is one line of the file.
    folder.name = name;
    for (char& c : folder.name)
        if (c == '\n' || c == '\r') c = ' ';
    folders.push_back(folder);
    foldercount = static_cast<std::int32_t>(folders.size());
}

bool HotSpotStore::deleteFolder(int folder) {
    if (folderAt(folder) == nullptr || folders.size() < 2) return false;
    folders.erase(folders.begin() + folder);
    foldercount = static_cast<std::int32_t>(folders.size());
    return true;
}

bool HotSpotStore::addHotSpot(int folder, const std::string& name, int x, int y, int z) {
    if (folderAt(folder) == nullptr) return false;
    HotSpotFolder& chosen = folders[static_cast<std::size_t>(folder)];
    // The file separates the name from the coordinates with the first comma.
    std::string safe = name;
    for (char& c : safe)
        if (c == ',' || c == '\n' || c == '\r') c = ' ';
    chosen.hotspots.push_back(HotSpot{safe, x, y, z});
    chosen.count = static_cast<std::int32_t>(chosen.hotspots.size());
    return true;
}

bool HotSpotStore::deleteHotSpot(int folder, int row) {
    if (folderAt(folder) == nullptr) return false;
    HotSpotFolder& chosen = folders[static_cast<std::size_t>(folder)];
    if (row <= 0 || row > static_cast<int>(chosen.hotspots.size()) || chosen.hotspots.size() < 2) return false;
    chosen.hotspots.erase(chosen.hotspots.begin() + (row - 1));
    chosen.count = static_cast<std::int32_t>(chosen.hotspots.size());
    return true;
}

HotSpot HotSpotStore::hotSpotAt(int folder, int row) const {
    const HotSpotFolder* chosen = folderAt(folder);
    if (chosen == nullptr || row <= 0 || row > static_cast<int>(chosen->hotspots.size())) return {};
    return chosen->hotspots[static_cast<std::size_t>(row - 1)];
}

std::vector<std::string> HotSpotStore::folderRows() const {
    std::vector<std::string> rows;
    for (const HotSpotFolder& folder : folders) rows.push_back(folder.name);
    return rows;
}

std::vector<std::string> HotSpotStore::hotSpotRows(int folder) const {
    std::vector<std::string> rows{"None"};
    if (const HotSpotFolder* chosen = folderAt(folder))
        for (const HotSpot& spot : chosen->hotspots)
            rows.push_back(spot.name + " (" + std::to_string(spot.x) + " / " + std::to_string(spot.y) + " / " +
                           std::to_string(spot.z) + ")");
    return rows;
}
