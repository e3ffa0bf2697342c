#include "files/cache_list.h"

#include <fstream>
#include <sstream>

#include "files/atomic_file.h"
#include "files/format_limits.h"
#include "files/safe_name.h"
#include "files/simulator_paths.h"
#include "files/text_number.h"

namespace {

std::filesystem::path cacheListPath(const std::filesystem::path& root) {
    return root / "Starvane" / "Cache.txt";
}

std::string stripCarriageReturn(std::string line) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    return line;
}

// A system name used inside one folder of the simulator: it must stay one path component.
bool usableSystemName(const std::string& name) {
    const auto parts = containedPath(name);
    return parts && std::distance(parts->begin(), parts->end()) == 1 && name.find('/') == std::string::npos &&
           name.find('\\') == std::string::npos;
}

void removeFile(const std::optional<std::filesystem::path>& path) {
    if (!path) return;
    std::error_code ignored;
    if (!std::filesystem::is_directory(std::filesystem::symlink_status(*path, ignored)))
        std::filesystem::remove(*path, ignored);
}

}  // namespace

std::vector<std::string> readCacheList(const std::filesystem::path& root) {
    std::ifstream in(cacheListPath(root), std::ios::binary);
    std::vector<std::string> names;
    if (!in) return names;
    std::string line;
    std::getline(in, line);
    int count = leadingInteger(line);
    if (count < 0) count = 0;
    if (count > kMostCacheNames) count = kMostCacheNames;
    for (int i = 0; i < count; ++i) {
        if (!std::getline(in, line)) {
            // A count that promises more names than the list holds reads the rest as empty.
            names.resize(static_cast<std::size_t>(count));
            break;
        }
        names.push_back(stripCarriageReturn(line));
    }
    return names;
}

bool addToCache(const std::filesystem::path& root, const std::string& systemName, int capacity) {
    std::error_code error;
    const bool listed = std::filesystem::exists(cacheListPath(root), error);
    std::vector<std::string> names = readCacheList(root);
    for (const std::string& name : names)
        if (name == systemName) return false;

    if (listed && static_cast<int>(names.size()) >= capacity && !names.empty()) {
        removeExportedSystem(root, names.front());
        names.erase(names.begin());
    }
    names.push_back(systemName);

    std::ostringstream text;
    text << names.size() << "\n";
    for (const std::string& name : names) text << name << "\n";
    writeFileAtomically(cacheListPath(root), text.str());
    return true;
}

void removeExportedSystem(const std::filesystem::path& root, const std::string& listedName) {
    // The export names its folders and files with the safe form of the system's name.
    const std::string systemName = safeFileName(listedName);
    if (!usableSystemName(systemName)) return;
    const auto textures = resolveInside(root, "textures");
    const auto systems = resolveInside(root, "config/StarvaneSystems");
    const auto folder = resolveInside(root, "config/StarvaneSystems/" + systemName);
    if (!textures || !systems || !folder) return;

    std::ifstream list(*folder / "Textures.log", std::ios::binary);
    std::string line;
    while (std::getline(list, line)) {
        line = stripCarriageReturn(line);
        if (line.empty()) continue;
        removeFile(resolveInside(*textures, line));
    }
    list.close();

    std::error_code error;
    if (std::filesystem::is_directory(std::filesystem::symlink_status(*folder, error))) {
        std::vector<std::filesystem::path> entries;
        for (const auto& entry : std::filesystem::directory_iterator(*folder, error))
            entries.push_back(entry.path());
        for (const auto& entry : entries) {
            std::error_code ignored;
            if (std::filesystem::is_directory(std::filesystem::symlink_status(entry, ignored)))
                std::filesystem::remove(entry, ignored);  // only when empty
            else
                std::filesystem::remove(entry, ignored);
        }
        std::filesystem::remove(*folder, error);
    }

    removeFile(resolveInside(root, "config/UMMUPermanentBase/SV_" + systemName + ".cfg"));
    removeFile(resolveInside(root, "config/EPP/" + systemName + ".epp"));
}
