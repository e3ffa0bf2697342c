// The cache list of systems exported to the simulator, and the removal of an evicted system's
// files. The simulator's folders are spelt "Config" and "Textures" on disk, as the export makes
// them; the removal must find them whatever their case, and must never reach outside them.

#include <gtest/gtest.h>

#include <filesystem>
#include <set>
#include <string>
#include <vector>

#include "export/system_export.h"
#include "files/cache_list.h"
#include "files/saved_system_file.h"

#include "tests/test_files.h"

namespace {

namespace fs = std::filesystem;
using Names = std::vector<std::string>;
using Paths = std::set<std::string>;

// Every file and folder below `base`, relative to it, except the cache list itself.
Paths contents(const fs::path& base) {
    Paths found;
    for (const auto& entry : fs::recursive_directory_iterator(base)) {
        const std::string relative = fs::relative(entry.path(), base).generic_string();
        if (relative != "sim/Starvane/Cache.txt") found.insert(relative);
    }
    return found;
}

Paths minus(Paths all, const Paths& gone) {
    for (const std::string& path : gone) all.erase(path);
    return all;
}

// A simulator root "sim" inside a scratch folder, so that files beside the root can be
// watched too.
class SimulatorRoot : public ::testing::Test {
protected:
    TemporaryFolder scratch;
    fs::path root = scratch.path() / "sim";

    void SetUp() override {
        ASSERT_FALSE(scratch.path().empty());
        // Files of the simulator and of other add-ons that no removal may touch.
        for (const char* file : {"Config/Sol.cfg", "Config/StarvaneSystems/Loose.cfg", "Config/EPP/Other.epp",
                                 "Config/UMMUPermanentBase/Other.cfg", "Textures/Earth.tex"})
            writeAll(root / file, "keep");
        fs::create_directories(root / "Starvane");
    }

    std::string cacheText() const { return readAll(root / "Starvane" / "Cache.txt"); }
    void setCacheText(const std::string& text) const { writeAll(root / "Starvane" / "Cache.txt", text); }

    // What exporting system `name` to cache leaves in the simulator's folders, as paths
    // relative to the scratch folder.
    Paths exportSystem(const std::string& name) const {
        const std::string folder = "Config/StarvaneSystems/" + name + "/";
        const Names files = {folder + name + ".cfg", folder + name + " b.cfg", folder + "Textures.log",
                             "Textures/" + name + " b.tex", "Textures/" + name + " bM.bmp",
                             "Textures/Belt/" + name + " a.tex", "Config/UMMUPermanentBase/SV_" + name + ".cfg",
                             "Config/EPP/" + name + ".epp"};
        for (const std::string& file : files) writeAll(root / file, "t");
        writeAll(root / folder / "Textures.log", name + " b.tex\r\n" + name + " bM.bmp\nBelt\\" + name + " a.tex\n");
        fs::create_directories(root / folder / "Asteroids");  // an empty folder is removed too
        Paths written = {"sim/" + folder + "Asteroids", "sim/" + folder.substr(0, folder.size() - 1)};
        for (const std::string& file : files) written.insert("sim/" + file);
        return written;
    }
};

TEST_F(SimulatorRoot, AFullListEvictsTheOldestSystemsFilesAndNothingElse) {
    const Paths alpha = exportSystem("Alpha 0.5b");
    for (const char* name : {"Beta 1.2c", "Gamma 3a", "Delta 4d"}) exportSystem(name);
    const Paths before = contents(scratch.path());
    for (const auto& [name, list] : {std::pair{"Alpha 0.5b", "1\nAlpha 0.5b\n"},
                                     std::pair{"Beta 1.2c", "2\nAlpha 0.5b\nBeta 1.2c\n"},
                                     std::pair{"Gamma 3a", "3\nAlpha 0.5b\nBeta 1.2c\nGamma 3a\n"}}) {
        EXPECT_EQ(addToCache(root, name, 3), CacheAddition::added);
        EXPECT_EQ(cacheText(), list);
    }
    EXPECT_EQ(contents(scratch.path()), before);
    EXPECT_EQ(addToCache(root, "Delta 4d", 3), CacheAddition::added);
    EXPECT_EQ(cacheText(), "3\nBeta 1.2c\nGamma 3a\nDelta 4d\n");
    EXPECT_EQ(contents(scratch.path()), minus(before, alpha));  // no temporary file beside the list either

    // A listed name is refused and changes nothing; another spelling is another system.
    EXPECT_EQ(addToCache(root, "Gamma 3a", 3), CacheAddition::listedAlready);
    EXPECT_EQ(addToCache(root, "Beta 1.2c", 1), CacheAddition::listedAlready);
    EXPECT_EQ(addToCache(root, "gamma 3a", 5), CacheAddition::added);
    EXPECT_EQ(cacheText(), "4\nBeta 1.2c\nGamma 3a\nDelta 4d\ngamma 3a\n");
    EXPECT_EQ(contents(scratch.path()), minus(before, alpha));
    // Taking a name back out leaves the others and every file.
    EXPECT_TRUE(removeFromCache(root, "Gamma 3a"));
    EXPECT_TRUE(removeFromCache(root, "Omega"));
    EXPECT_EQ(cacheText(), "3\nBeta 1.2c\nDelta 4d\ngamma 3a\n");
    EXPECT_EQ(contents(scratch.path()), minus(before, alpha));
}

TEST_F(SimulatorRoot, ReadingTheList) {
    const struct {
        const char* text;
        Names names;
    } rows[] = {
        {"4\nOne\nTwo\n", {"One", "Two", "", ""}},  // a count promising more names reads them as empty
        {"2\r\nOne\r\nTwo\r\nThree\r\n", {"One", "Two"}},
        {"-1\nOne\n", {}},
        {"x\nOne\n", {}},
        {"", {}},
    };
    for (const auto& row : rows) {
        setCacheText(row.text);
        EXPECT_EQ(readCacheList(root), row.names) << row.text;
    }
    setCacheText("2000000000\n");
    EXPECT_EQ(readCacheList(root).size(), 100000u);
    // A device never ends: reading it line by line would take all memory.
    fs::remove(root / "Starvane" / "Cache.txt");
    fs::create_symlink("/dev/zero", root / "Starvane" / "Cache.txt");
    EXPECT_TRUE(readCacheList(root).empty());
}

TEST_F(SimulatorRoot, EmptyNamesNameNoSystem) {
    const Paths one = exportSystem("One"), two = exportSystem("Two");
    setCacheText("4\nOne\nTwo\n");
    const Paths before = contents(scratch.path());
    for (const auto& [name, list] : {std::pair{"Three", "4\nTwo\n\n\nThree\n"}, std::pair{"Four", "4\n\n\nThree\nFour\n"},
                                     std::pair{"Five", "4\n\nThree\nFour\nFive\n"}}) {
        EXPECT_EQ(addToCache(root, name, 4), CacheAddition::added);
        EXPECT_EQ(cacheText(), list);
    }
    EXPECT_EQ(contents(scratch.path()), minus(minus(before, one), two));  // the empty names removed nothing
}

TEST_F(SimulatorRoot, LowerCaseFoldersAndNonEmptySubfoldersOfTheSystem) {
    exportSystem("Old");
    writeAll(root / "Config" / "StarvaneSystems" / "Old" / "Notes" / "mine.txt", "user notes");
    fs::rename(root / "Config", root / "config");
    fs::rename(root / "Textures", root / "textures");
    removeExportedSystem(root, "Old");
    EXPECT_EQ(contents(root),
              (Paths{"Starvane", "config", "config/EPP", "config/EPP/Other.epp", "config/Sol.cfg",
                     "config/StarvaneSystems", "config/StarvaneSystems/Loose.cfg", "config/StarvaneSystems/Old",
                     "config/StarvaneSystems/Old/Notes", "config/StarvaneSystems/Old/Notes/mine.txt",
                     "config/UMMUPermanentBase", "config/UMMUPermanentBase/Other.cfg", "textures",
                     "textures/Belt", "textures/Earth.tex"}));
}

TEST_F(SimulatorRoot, HostileTextureListLinesDeleteNothingOutside) {
    const fs::path absolute = scratch.path() / "absolute.txt";
    for (const fs::path& file : {absolute, root / "outside.txt", root / "x", scratch.path() / "x",
                                 root / "Config" / "EPP" / "Keep.epp", scratch.path() / "outside/sub/victim.tex"})
        writeAll(file, "sentinel");
    const fs::path folder = root / "Config" / "StarvaneSystems" / "Bad";
    writeAll(folder / "Bad.cfg", "system");
    writeAll(root / "Textures" / "Bad b.tex", "t");
    // A link inside the textures folder to a folder beside the root.
    fs::create_directory_symlink(scratch.path() / "outside", root / "Textures" / "link");
    writeAll(folder / "Textures.log", "../outside.txt\n" + absolute.string() + "\n/etc/x\n..\\..\\x\nsub/../../x\n" +
                                          "..\\Config\\EPP\\Keep.epp\n.\n\nlink/sub/victim.tex\nBad b.tex\n");
    const Paths before = contents(scratch.path());

    Names notices;
    removeExportedSystem(root, "Bad", [&](const std::string& text) { notices.push_back(text); });
    ASSERT_EQ(notices.size(), 7u);  // every line that leads out, and only those
    EXPECT_NE(notices.back().find("\"link/sub/victim.tex\""), std::string::npos) << notices.back();
    EXPECT_EQ(contents(scratch.path()),
              minus(before, {"sim/Config/StarvaneSystems/Bad", "sim/Config/StarvaneSystems/Bad/Bad.cfg",
                             "sim/Config/StarvaneSystems/Bad/Textures.log", "sim/Textures/Bad b.tex"}));
}

TEST_F(SimulatorRoot, HostileSystemNamesDeleteNothing) {
    // What a name climbing out of StarvaneSystems would reach: loose files of Config, a folder
    // beside StarvaneSystems with its own texture list, and a saved copy beside the root.
    for (const char* folder : {"Config/x/", "Config/", "Config/StarvaneSystems/a/b/"}) {
        writeAll(root / folder / "keep.cfg", "sentinel");
        writeAll(root / folder / "Textures.log", "Earth.tex\n");
    }
    writeAll(root / "x.epp", "sentinel");
    writeAll(scratch.path() / "x.epp", "sentinel");
    exportSystem("Fine");
    const Paths before = contents(scratch.path());
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
    const Paths before = contents(scratch.path());
    for (const std::string& name : Names{"Kepler/22", "Tau\\Ceti", "..", "Line\nBreak", std::string(250, 'L')}) {
        const ExportDestination destination = exportDestination(root, name, true);
        ASSERT_EQ(destination.folder.parent_path(), root / "Config" / "StarvaneSystems") << name;
        const std::string folderName = destination.folder.filename().string();
        StarRecord star;
        star.system = std::make_unique<GeneratedSystem>();
        star.system->name = name;
        writeAll(destination.folder / "Textures.log", folderName + " b.tex\n");
        for (const fs::path& file : {destination.folder / (folderName + ".cfg"), root / "Textures" / (folderName + " b.tex"),
                                     destination.marker, savedSystemPath(root, star, true)})
            writeAll(file, "t");
        EXPECT_EQ(addToCache(root, name, 1), CacheAddition::added) << name;
        EXPECT_EQ(addToCache(root, "Next", 1), CacheAddition::added) << name;
        EXPECT_EQ(contents(scratch.path()), before) << name;
    }
}

}  // namespace
