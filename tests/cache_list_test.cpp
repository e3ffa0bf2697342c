// The cache list of systems exported to the simulator, and the removal of an evicted system's
// files: found in "Config" and "Textures" whatever their case, and never outside them.

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

// A simulator root "sim" in a scratch folder, so that files beside the root are watched too.
class SimulatorRoot : public ::testing::Test {
protected:
    TemporaryFolder scratch;
    fs::path root = scratch.path() / "sim";

    void SetUp() override {
        ASSERT_FALSE(scratch.path().empty());
        // Files of the simulator and of other add-ons that no removal may touch.
        for (const char* file : {"Config/Sol.cfg", "Config/StarvaneSystems/Loose.cfg", "Config/EPP/Other.epp",
                                 "Config/UMMUPermanentBase/Other.cfg", "Textures/Earth.tex", "Textures/Belt/Moon.tex"})
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
        const Paths before = contents(scratch.path());
        for (const std::string& file : files) writeAll(root / file, "t");
        writeAll(root / folder / "Textures.log", name + " b.tex\r\n" + name + " bM.bmp\nBelt\\" + name + " a.tex\n");
        fs::create_directories(root / folder / "Asteroids");  // an empty folder is removed too
        return minus(contents(scratch.path()), before);
    }
};

TEST_F(SimulatorRoot, AFullListEvictsTheOldestSystemsFilesAndNothingElse) {
    const Paths alpha = exportSystem("Alpha 0.5b");
    for (const char* name : {"Beta 1.2c", "Gamma 3a", "Delta 4d"}) exportSystem(name);
    const Paths before = contents(scratch.path());
    for (const char* name : {"Alpha 0.5b", "Beta 1.2c", "Gamma 3a"})
        EXPECT_EQ(addToCache(root, name, 3), CacheAddition::added);
    EXPECT_EQ(cacheText(), "3\nAlpha 0.5b\nBeta 1.2c\nGamma 3a\n");
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
                     "textures/Belt", "textures/Belt/Moon.tex", "textures/Earth.tex"}));
}

TEST_F(SimulatorRoot, HostileTextureListLinesDeleteNothingOutside) {
    const fs::path absolute = scratch.path() / "absolute.txt";
    for (const fs::path& file : {absolute, root / "outside.txt", root / "x", scratch.path() / "x",
                                 root / "Config" / "EPP" / "Keep.epp", scratch.path() / "outside/sub/victim.tex"})
        writeAll(file, "sentinel");
    // A link inside the textures folder to a folder beside the root.
    fs::create_directory_symlink(scratch.path() / "outside", root / "Textures" / "link");
    const Paths bad = exportSystem("Bad"), before = contents(scratch.path());
    writeAll(root / "Config/StarvaneSystems/Bad/Textures.log",
             "../outside.txt\n" + absolute.string() + "\n/etc/x\n..\\..\\x\nsub/../../x\n..\\Config\\EPP\\Keep.epp\n"
             ".\n\nlink/sub/victim.tex\nBad b.tex\nBad bM.bmp\nBelt/Bad a.tex\n");

    Names notices;
    removeExportedSystem(root, "Bad", [&](const std::string& text) { notices.push_back(text); });
    ASSERT_EQ(notices.size(), 7u);  // every line that leads out, and only those
    EXPECT_NE(notices.back().find("\"link/sub/victim.tex\""), std::string::npos) << notices.back();
    EXPECT_EQ(contents(scratch.path()), minus(before, bad));
}

// The export turns a system name that cannot be one file name into one ("a/b" into "a_b", a
// line break into a blank, a long name shortened); evicting the system from the cache list
// must reach those same files, and nothing else: not what a name climbing out of
// StarvaneSystems would reach (loose files of Config, a folder beside StarvaneSystems with its
// own texture list, a saved copy beside the root).
TEST_F(SimulatorRoot, RemovalReachesWhatTheExportWroteForAnyNameAndNothingElse) {
    for (const char* folder : {"Config/x/", "Config/", "Config/StarvaneSystems/a/b/"}) {
        writeAll(root / folder / "keep.cfg", "sentinel");
        writeAll(root / folder / "Textures.log", "Earth.tex\n");
    }
    writeAll(root / "x.epp", "sentinel");
    writeAll(scratch.path() / "x.epp", "sentinel");
    const Paths before = contents(scratch.path());
    for (const std::string& name : Names{"Kepler/22", "Tau\\Ceti", "..", "Line\nBreak", std::string(250, 'L'), "../x",
                                         "../../x", "..\\..\\x", ".", "", "/tmp"}) {
        const ExportDestination destination = exportDestination(root, name, true);
        ASSERT_EQ(destination.folder.parent_path(), root / "Config" / "StarvaneSystems") << name;
        const std::string stem = destination.folder.filename().string();
        StarRecord star;
        star.system = std::make_unique<GeneratedSystem>();
        star.system->name = name;
        writeAll(destination.folder / "Textures.log", stem + " b.tex\n");
        for (const fs::path& file : {destination.folder / (stem + ".cfg"), root / "Textures" / (stem + " b.tex"),
                                     destination.marker, savedSystemPath(root, star, true)})
            writeAll(file, "t");
        EXPECT_EQ(addToCache(root, name, 1), CacheAddition::added) << name;
        EXPECT_EQ(addToCache(root, "Next", 1), CacheAddition::added) << name;
        EXPECT_EQ(contents(scratch.path()), before) << name;
    }
}

}  // namespace
