// The cache list of systems exported to the simulator, and the removal of an evicted system's
// files. The simulator's folders are spelt "Config" and "Textures" on disk, as the export makes
// them; the removal must find them whatever their case, and must never reach outside them.

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "export/system_export.h"
#include "files/cache_list.h"
#include "files/saved_system_file.h"

#include "tests/test_files.h"

namespace {

namespace fs = std::filesystem;

// Every file and folder below `base`, relative to it, except the cache list itself.
std::set<std::string> contents(const fs::path& base) {
    std::set<std::string> found;
    for (const auto& entry : fs::recursive_directory_iterator(base)) {
        const std::string relative = fs::relative(entry.path(), base).generic_string();
        if (relative != "sim/Starvane/Cache.txt") found.insert(relative);
    }
    return found;
}

std::set<std::string> minus(std::set<std::string> all, const std::set<std::string>& gone) {
    for (const std::string& path : gone) all.erase(path);
    return all;
}

// A simulator root "sim" inside a scratch folder, so that files beside the root can be
// watched too.
class SimulatorRoot : public ::testing::Test {
protected:
    TemporaryFolder scratch;
    fs::path root;

    void SetUp() override {
        ASSERT_FALSE(scratch.path().empty());
        root = scratch.path() / "sim";
        fs::create_directories(root / "Starvane");
        fs::create_directories(root / "Config" / "StarvaneSystems");
        fs::create_directories(root / "Textures");
        // Files of the simulator and of other add-ons that no removal may touch.
        writeAll(root / "Config" / "Sol.cfg", "sun");
        writeAll(root / "Config" / "StarvaneSystems" / "Loose.cfg", "loose");
        writeAll(root / "Config" / "UMMUPermanentBase" / "Other.cfg", "other base");
        writeAll(root / "Config" / "EPP" / "Other.epp", "other copy");
        writeAll(root / "Textures" / "Earth.tex", "earth");
    }

    std::string cacheText() const { return readAll(root / "Starvane" / "Cache.txt"); }
    void setCacheText(const std::string& text) const { writeAll(root / "Starvane" / "Cache.txt", text); }

    // What exporting system `name` to cache leaves in the simulator's folders, as paths
    // relative to the scratch folder.
    std::set<std::string> exportSystem(const std::string& name) const {
        const fs::path folder = root / "Config" / "StarvaneSystems" / name;
        writeAll(folder / (name + ".cfg"), "system");
        writeAll(folder / (name + " b.cfg"), "planet");
        writeAll(folder / (name + " b1.cfg"), "moon");
        fs::create_directories(folder / "Asteroids");  // an empty folder is removed too
        writeAll(folder / "Textures.log",
                 name + " b.tex\r\n" + name + " b_cloud.tex\n" + name + " bM.bmp\n" + "Belt\\" + name +
                     " a.tex\n");
        writeAll(root / "Textures" / (name + " b.tex"), "t");
        writeAll(root / "Textures" / (name + " b_cloud.tex"), "t");
        writeAll(root / "Textures" / (name + " bM.bmp"), "t");
        writeAll(root / "Textures" / "Belt" / (name + " a.tex"), "t");
        writeAll(root / "Config" / "UMMUPermanentBase" / ("SV_" + name + ".cfg"), "base");
        writeAll(root / "Config" / "EPP" / (name + ".epp"), "copy");
        return {"sim/Config/StarvaneSystems/" + name,
                "sim/Config/StarvaneSystems/" + name + "/" + name + ".cfg",
                "sim/Config/StarvaneSystems/" + name + "/" + name + " b.cfg",
                "sim/Config/StarvaneSystems/" + name + "/" + name + " b1.cfg",
                "sim/Config/StarvaneSystems/" + name + "/Asteroids",
                "sim/Config/StarvaneSystems/" + name + "/Textures.log",
                "sim/Textures/" + name + " b.tex",
                "sim/Textures/" + name + " b_cloud.tex",
                "sim/Textures/" + name + " bM.bmp",
                "sim/Textures/Belt/" + name + " a.tex",
                "sim/Config/UMMUPermanentBase/SV_" + name + ".cfg",
                "sim/Config/EPP/" + name + ".epp"};
    }
};

TEST_F(SimulatorRoot, FullListEvictsTheOldestSystemsFilesAndNothingElse) {
    const std::set<std::string> one = exportSystem("Alpha 0.5b");
    exportSystem("Beta 1.2c");
    exportSystem("Gamma 3a");
    exportSystem("Delta 4d");
    fs::remove(root / "Starvane" / "Cache.txt");
    const std::set<std::string> before = contents(scratch.path());

    EXPECT_EQ(addToCache(root, "Alpha 0.5b", 3), CacheAddition::added);
    EXPECT_EQ(cacheText(), "1\nAlpha 0.5b\n");
    EXPECT_EQ(addToCache(root, "Beta 1.2c", 3), CacheAddition::added);
    EXPECT_EQ(cacheText(), "2\nAlpha 0.5b\nBeta 1.2c\n");
    EXPECT_EQ(addToCache(root, "Gamma 3a", 3), CacheAddition::added);
    EXPECT_EQ(cacheText(), "3\nAlpha 0.5b\nBeta 1.2c\nGamma 3a\n");
    EXPECT_EQ(contents(scratch.path()), before);

    EXPECT_EQ(addToCache(root, "Delta 4d", 3), CacheAddition::added);
    EXPECT_EQ(cacheText(), "3\nBeta 1.2c\nGamma 3a\nDelta 4d\n");
    EXPECT_EQ(contents(scratch.path()), minus(before, one));
    EXPECT_EQ(readCacheList(root), (std::vector<std::string>{"Beta 1.2c", "Gamma 3a", "Delta 4d"}));
    // The list was replaced as a whole: no temporary file is left beside it.
    std::vector<std::string> listFolder;
    for (const auto& entry : fs::directory_iterator(root / "Starvane"))
        listFolder.push_back(entry.path().filename().string());
    EXPECT_EQ(listFolder, std::vector<std::string>{"Cache.txt"});
}

TEST_F(SimulatorRoot, LowerCaseFoldersOnDiskAreFoundToo) {
    fs::rename(root / "Config", root / "config");
    fs::rename(root / "Textures", root / "textures");
    // Exported with the folder names as they now are on disk.
    const fs::path folder = root / "config" / "StarvaneSystems" / "Old";
    writeAll(folder / "Old.cfg", "system");
    writeAll(folder / "Textures.log", "Old b.tex\n");
    writeAll(root / "textures" / "Old b.tex", "t");
    writeAll(root / "config" / "UMMUPermanentBase" / "SV_Old.cfg", "base");
    writeAll(root / "config" / "EPP" / "Old.epp", "copy");
    removeExportedSystem(root, "Old");
    EXPECT_FALSE(fs::exists(folder));
    EXPECT_FALSE(fs::exists(root / "textures" / "Old b.tex"));
    EXPECT_FALSE(fs::exists(root / "config" / "UMMUPermanentBase" / "SV_Old.cfg"));
    EXPECT_FALSE(fs::exists(root / "config" / "EPP" / "Old.epp"));
    EXPECT_TRUE(fs::exists(root / "textures" / "Earth.tex"));
    EXPECT_TRUE(fs::exists(root / "config" / "EPP" / "Other.epp"));
}

TEST_F(SimulatorRoot, NonEmptySubfolderOfTheSystemStays) {
    exportSystem("Old");
    writeAll(root / "Config" / "StarvaneSystems" / "Old" / "Notes" / "mine.txt", "user notes");
    removeExportedSystem(root, "Old");
    EXPECT_TRUE(fs::exists(root / "Config" / "StarvaneSystems" / "Old" / "Notes" / "mine.txt"));
    EXPECT_FALSE(fs::exists(root / "Config" / "StarvaneSystems" / "Old" / "Old.cfg"));
    EXPECT_FALSE(fs::exists(root / "Config" / "StarvaneSystems" / "Old" / "Asteroids"));
    EXPECT_FALSE(fs::exists(root / "Config" / "EPP" / "Old.epp"));
}

TEST_F(SimulatorRoot, ListedNameIsRefusedAndChangesNothing) {
    exportSystem("One");
    exportSystem("Two");
    exportSystem("Three");
    setCacheText("3\nOne\nTwo\nThree\n");
    const std::set<std::string> before = contents(scratch.path());
    EXPECT_EQ(addToCache(root, "Two", 3), CacheAddition::listedAlready);
    EXPECT_EQ(addToCache(root, "One", 1), CacheAddition::listedAlready);
    EXPECT_EQ(cacheText(), "3\nOne\nTwo\nThree\n");
    EXPECT_EQ(contents(scratch.path()), before);
    // Exact comparison: another spelling is another system.
    EXPECT_EQ(addToCache(root, "two", 5), CacheAddition::added);
    EXPECT_EQ(cacheText(), "4\nOne\nTwo\nThree\ntwo\n");
}

TEST_F(SimulatorRoot, AListThatIsNoFileReadsAsEmpty) {
    // A device never ends: reading it line by line would take all memory.
    fs::create_directories(root / "Starvane");
    fs::create_symlink("/dev/zero", root / "Starvane" / "Cache.txt");
    EXPECT_TRUE(readCacheList(root).empty());
}

TEST_F(SimulatorRoot, CountPromisingMoreNamesReadsThemAsEmpty) {
    setCacheText("4\nOne\nTwo\n");
    EXPECT_EQ(readCacheList(root), (std::vector<std::string>{"One", "Two", "", ""}));
    EXPECT_EQ(addToCache(root, "Three", 10), CacheAddition::added);
    EXPECT_EQ(cacheText(), "5\nOne\nTwo\n\n\nThree\n");

    const std::set<std::string> one = exportSystem("One");
    exportSystem("Two");
    setCacheText("4\nOne\nTwo\n");
    const std::set<std::string> before = contents(scratch.path());
    EXPECT_EQ(addToCache(root, "Three", 4), CacheAddition::added);
    EXPECT_EQ(cacheText(), "4\nTwo\n\n\nThree\n");
    EXPECT_EQ(contents(scratch.path()), minus(before, one));

    // An empty name at the head of a full list names no system: nothing is removed.
    setCacheText("2\n\nTwo\n");
    const std::set<std::string> kept = contents(scratch.path());
    EXPECT_EQ(addToCache(root, "Four", 2), CacheAddition::added);
    EXPECT_EQ(cacheText(), "2\nTwo\nFour\n");
    EXPECT_EQ(contents(scratch.path()), kept);
}

TEST_F(SimulatorRoot, HostileTextureListLinesDeleteNothingOutside) {
    const fs::path absolute = scratch.path() / "absolute.txt";
    writeAll(absolute, "sentinel");
    writeAll(root / "outside.txt", "sentinel");
    writeAll(root / "x", "sentinel");
    writeAll(scratch.path() / "x", "sentinel");
    writeAll(root / "Config" / "EPP" / "Keep.epp", "sentinel");
    const fs::path folder = root / "Config" / "StarvaneSystems" / "Bad";
    writeAll(folder / "Bad.cfg", "system");
    writeAll(root / "Textures" / "Bad b.tex", "t");
    // A link inside the textures folder to a folder beside the root.
    writeAll(scratch.path() / "outside" / "sub" / "victim.tex", "sentinel");
    fs::create_directory_symlink(scratch.path() / "outside", root / "Textures" / "link");
    writeAll(folder / "Textures.log", "../outside.txt\n" + absolute.string() + "\n/etc/x\n..\\..\\x\nsub/../../x\n" +
                                          "..\\Config\\EPP\\Keep.epp\n.\n\nlink/sub/victim.tex\nBad b.tex\n");
    const std::set<std::string> before = contents(scratch.path());

    std::vector<std::string> notices;
    removeExportedSystem(root, "Bad", [&](const std::string& text) { notices.push_back(text); });
    ASSERT_EQ(notices.size(), 7u);  // every line that leads out, and only those
    EXPECT_NE(notices.back().find("\"link/sub/victim.tex\""), std::string::npos) << notices.back();
    EXPECT_FALSE(fs::exists(root / "Textures" / "Bad b.tex"));
    EXPECT_FALSE(fs::exists(folder));
    EXPECT_EQ(contents(scratch.path()),
              minus(before, {"sim/Config/StarvaneSystems/Bad", "sim/Config/StarvaneSystems/Bad/Bad.cfg",
                             "sim/Config/StarvaneSystems/Bad/Textures.log", "sim/Textures/Bad b.tex"}));
    EXPECT_TRUE(fs::is_directory(root / "Textures"));
}

TEST_F(SimulatorRoot, HostileSystemNamesDeleteNothing) {
    // What a name climbing out of StarvaneSystems would reach: loose files of Config, a folder
    // beside StarvaneSystems with its own texture list, and a saved copy beside the root.
    writeAll(root / "Config" / "x" / "keep.cfg", "sentinel");
    writeAll(root / "Config" / "x" / "Textures.log", "Earth.tex\n");
    writeAll(root / "Config" / "Textures.log", "Earth.tex\n");
    writeAll(root / "Config" / "StarvaneSystems" / "a" / "b" / "keep.cfg", "sentinel");
    writeAll(root / "Config" / "StarvaneSystems" / "a" / "b" / "Textures.log", "Earth.tex\n");
    writeAll(root / "x.epp", "sentinel");
    writeAll(scratch.path() / "x.epp", "sentinel");
    exportSystem("Fine");
    const std::set<std::string> before = contents(scratch.path());

    for (const std::string hostile : {"..", "../x", "a/b", "a\\b", "../../x", "..\\..\\x", ".", "", "/tmp"})
        removeExportedSystem(root, hostile);
    EXPECT_EQ(contents(scratch.path()), before);

    // The same through an eviction from a full list.
    setCacheText("2\n../x\nFine\n");
    EXPECT_EQ(addToCache(root, "New", 2), CacheAddition::added);
    EXPECT_EQ(cacheText(), "2\nFine\nNew\n");
    EXPECT_EQ(contents(scratch.path()), before);
}

// The export turns a system name that cannot be one file name into one ("a/b" into "a_b", a
// line break into a blank, a long name shortened); evicting the system from the cache list
// must reach those same files, and still nothing outside.
TEST_F(SimulatorRoot, RemovalReachesWhatTheExportWroteForAnyName) {
    for (const std::string& name :
         std::vector<std::string>{"Kepler/22", "Tau\\Ceti", "..", "Line\nBreak", std::string(250, 'L')}) {
        const ExportDestination destination = exportDestination(root, name, true);
        ASSERT_EQ(destination.folder.parent_path(), root / "Config" / "StarvaneSystems") << name;
        const std::string folderName = destination.folder.filename().string();
        StarRecord star;
        star.system = std::make_unique<GeneratedSystem>();
        star.system->name = name;
        const fs::path copy = savedSystemPath(root, star, true);
        writeAll(destination.folder / (folderName + ".cfg"), "system");
        writeAll(destination.folder / "Textures.log", folderName + " b.tex\n");
        writeAll(root / "Textures" / (folderName + " b.tex"), "t");
        writeAll(destination.marker, "base");
        writeAll(copy, "copy");

        EXPECT_EQ(addToCache(root, name, 1), CacheAddition::added) << name;
        EXPECT_EQ(addToCache(root, "Next", 1), CacheAddition::added) << name;
        EXPECT_FALSE(fs::exists(destination.folder)) << name;
        EXPECT_FALSE(fs::exists(root / "Textures" / (folderName + " b.tex"))) << name;
        EXPECT_FALSE(fs::exists(destination.marker)) << name;
        EXPECT_FALSE(fs::exists(copy)) << name;
    }
    EXPECT_TRUE(fs::exists(root / "Config" / "Sol.cfg"));
    EXPECT_TRUE(fs::exists(root / "Config" / "StarvaneSystems" / "Loose.cfg"));
    EXPECT_TRUE(fs::exists(root / "Textures" / "Earth.tex"));
}

}  // namespace
