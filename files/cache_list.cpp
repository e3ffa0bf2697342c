#include "files/cache_list.h"

#include <algorithm>
#include <optional>
#include <sstream>
#include <utility>

#include "files/atomic_file.h"
#include "text/format_limits.h"
#include "files/safe_name.h"
#include "files/simulator_paths.h"
#include "text/text_lines.h"
#include "text/text_number.h"

namespace {

std::filesystem::path cacheListPath(const std::filesystem::path& root) {
    return root / "Starvane" / "Cache.txt";
}

// A system name used inside one folder of the simulator: it must stay one path component.
bool usableSystemName(const std::string& name) {
    const auto parts = containedPath(name);
    return parts && std::distance(parts->begin(), parts->end()) == 1 && name.find('/') == std::string::npos &&
           name.find('\\') == std::string::npos;
}

// Files of an exported system are removed only where they really lie inside a folder of the
// simulator: a link on the way that leads elsewhere is reported and never followed.
class Containment {
public:
    Containment(std::filesystem::path realFolder, const RemovalNotice& notice)
        : folder_(std::move(realFolder)), notice_(notice) {}

    // The same check for a folder inside this one.
    Containment narrowedTo(const std::filesystem::path& realFolder) const { return {realFolder, notice_}; }

    // Where `path` really lies, or nothing (and a report naming `shownAs`) when that is outside.
    std::optional<std::filesystem::path> inside(const std::optional<std::filesystem::path>& path,
                                                const std::string& shownAs) const {
        std::optional<std::filesystem::path> real;
        if (path) real = realLocation(*path);
        if (real && liesWithin(*real, folder_)) return real;
        if (notice_) notice_("Not removed: " + shownAs + " leads outside " + folder_.string());
        return std::nullopt;
    }

private:
    std::filesystem::path folder_;
    const RemovalNotice& notice_;
};

void removeFile(const std::optional<std::filesystem::path>& path) {
    if (!path) return;
    std::error_code ignored;
    if (!std::filesystem::is_directory(std::filesystem::symlink_status(*path, ignored)))
        std::filesystem::remove(*path, ignored);
}

// Removes the texture files named in the texture list `listPath`, each only when it lies in
// the textures folder.
void removeListedTextures(const std::filesystem::path& listPath, const std::filesystem::path& textures,
                          const Containment& inRoot) {
    std::error_code error;
    const std::filesystem::path realTextures = std::filesystem::canonical(textures, error);
    bool read = false;
    const std::string list = readTextFile(listPath, &read);
    if (error || !read || !inRoot.inside(realTextures, "the textures folder " + textures.string())) return;
    const Containment inTextures = inRoot.narrowedTo(realTextures);
    for (const std::string_view piece : splitLines(list)) {
        const std::string line(piece);
        if (line.empty()) continue;
        removeFile(inTextures.inside(resolveInside(textures, line), "\"" + line + "\" of " + listPath.string()));
    }
}

// Removes the entries of an exported system's configuration folder and the folder itself; a
// subfolder only when it is empty.
void removeSystemFolder(const std::filesystem::path& folder) {
    std::error_code error;
    if (!std::filesystem::is_directory(std::filesystem::symlink_status(folder, error))) return;
    std::vector<std::filesystem::path> entries;
    for (const auto& entry : std::filesystem::directory_iterator(folder, error)) entries.push_back(entry.path());
    for (const auto& entry : entries) std::filesystem::remove(entry, error);  // a folder only when empty
    std::filesystem::remove(folder, error);
}

// The list's text: the count, then one name a line.
std::string cacheListText(const std::vector<std::string>& names) {
    std::ostringstream text;
    text << names.size() << "\n";
    for (const std::string& name : names) text << name << "\n";
    return text.str();
}

}  // namespace

std::vector<std::string> readCacheList(const std::filesystem::path& root) {
    bool read = false;
    const std::string text = readTextFile(cacheListPath(root), &read);
    std::vector<std::string> names;
    if (!read) return names;
    const std::vector<std::string_view> lines = splitLines(text);
    int count = lines.empty() ? 0 : leadingInteger(lines[0]);
    if (count < 0) count = 0;
    if (count > kMostCacheNames) count = kMostCacheNames;
    for (int i = 1; i <= count; ++i) {
        if (static_cast<std::size_t>(i) >= lines.size()) {
            // A count that promises more names than the list holds reads the rest as empty.
            names.resize(static_cast<std::size_t>(count));
            break;
        }
        names.emplace_back(lines[static_cast<std::size_t>(i)]);
    }
    return names;
}

CacheAddition addToCache(const std::filesystem::path& root, const std::string& systemName, int capacity,
                         const RemovalNotice& notice) {
    const std::string entry = oneLineName(systemName);
    std::error_code error;
    const bool listed = std::filesystem::exists(cacheListPath(root), error);
    std::vector<std::string> names = readCacheList(root);
    for (const std::string& name : names)
        if (oneLineName(name) == entry) return CacheAddition::listedAlready;

    std::optional<std::string> evicted;
    if (listed && static_cast<int>(names.size()) >= capacity && !names.empty()) {
        evicted = names.front();
        names.erase(names.begin());
    }
    names.push_back(entry);

    // The list first: when it cannot be written, every exported system keeps its files and
    // the new one goes unexported rather than unlisted.
    if (!writeFileAtomically(cacheListPath(root), cacheListText(names))) return CacheAddition::listNotWritten;
    if (evicted) removeExportedSystem(root, *evicted, notice);
    return CacheAddition::added;
}

bool removeFromCache(const std::filesystem::path& root, const std::string& systemName) {
    const std::string entry = oneLineName(systemName);
    std::vector<std::string> names = readCacheList(root);
    const auto kept = std::remove_if(names.begin(), names.end(),
                                     [&entry](const std::string& name) { return oneLineName(name) == entry; });
    if (kept == names.end()) return true;
    names.erase(kept, names.end());
    if (!writeFileAtomically(cacheListPath(root), cacheListText(names))) return false;
    // A scenario left behind would start in a system that is no longer in the cache.
    const std::string fileName = safeFileName(systemName);
    std::error_code error;
    const std::filesystem::path realRoot = std::filesystem::canonical(root, error);
    const RemovalNotice silent;
    if (!error && usableSystemName(fileName))
        removeFile(Containment(realRoot, silent).inside(resolveInside(root, scenarioPath(fileName)), ""));
    return true;
}

void removeExportedSystem(const std::filesystem::path& root, const std::string& listedName,
                          const RemovalNotice& notice) {
    // The export names its folders and files with the safe form of the system's name.
    const std::string systemName = safeFileName(listedName);
    if (!usableSystemName(systemName)) return;
    std::error_code error;
    const std::filesystem::path realRoot = std::filesystem::canonical(root, error);
    const auto textures = resolveInside(root, "textures");
    const auto folder = resolveInside(root, "config/StarvaneSystems/" + systemName);
    if (error || !textures || !folder) return;
    const Containment inRoot(realRoot, notice);

    removeListedTextures(*folder / "Textures.log", *textures, inRoot);
    if (const auto realFolder = inRoot.inside(folder, "the folder " + folder->string()))
        removeSystemFolder(*realFolder);
    for (const std::string& file : {"config/UMMUPermanentBase/SV_" + systemName + ".cfg",
                                    "config/EPP/" + systemName + ".epp", scenarioPath(systemName)})
        removeFile(inRoot.inside(resolveInside(root, file), file));
}
