// The bookmark store: its file text, reading back what it wrote, the rows of its two lists, the
// delete rules, short files, and where bookmark files may be written.

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "files/hotspot_store.h"

#include "tests/test_files.h"

namespace {

namespace fs = std::filesystem;

TEST(HotSpotFile, WrittenLineByLineWithoutFinalLineBreak) {
    TemporaryFolder folder;
    HotSpotStore store;
    writeAll(folder.path() / "one.spt", "1\nHome\n1\nSol,0,0,0");
    store.loadHotSpots(folder.path() / "one");
    ASSERT_TRUE(store.saveHotSpots(folder.path() / "copy"));
    EXPECT_EQ(readAll(folder.path() / "copy.spt"), "1\nHome\n1\nSol,0,0,0");

    EXPECT_TRUE(store.addHotSpot(0, "Far side", -1204, 37, -5));
    store.addFolder("Empty");
    ASSERT_TRUE(store.saveHotSpots(folder.path() / "copy"));
    EXPECT_EQ(readAll(folder.path() / "copy.spt"),
              "2\nHome\n2\nSol,0,0,0\nFar side,-1204,37,-5\nEmpty\n0");
}

TEST(HotSpotFile, SaveAndReloadKeepOrderNamesAndNegativeCoordinates) {
    TemporaryFolder folder;
    HotSpotStore s;
    s.loadHotSpots(folder.path() / "missing");
    EXPECT_TRUE(s.folders.empty());
    EXPECT_TRUE(s.folderRows().empty());
    EXPECT_FALSE(s.addHotSpot(0, "Nowhere", 1, 2, 3));

    s.addFolder("Nebulae: north / south");
    s.addFolder("Clusters");
    s.addHotSpot(0, "Orion", -35, 12, -7);
    s.addHotSpot(0, "Lagoon", 120, -450, 3);
    s.addHotSpot(1, "Pleiades", 2147483647, -2147483647 - 1, 0);
    const fs::path path = folder.path() / "Mine";
    ASSERT_TRUE(s.saveHotSpots(path));

    EXPECT_EQ(readAll(folder.path() / "Mine.spt"), "2\nNebulae: north / south\n2\nOrion,-35,12,-7\nLagoon,120,-450,3\n"
                                                   "Clusters\n1\nPleiades,2147483647,-2147483648,0");
    HotSpotStore r;
    r.loadHotSpots(path);
    EXPECT_EQ(r.text(), s.text());
    EXPECT_EQ(r.foldercount, 2);
    EXPECT_EQ(r.folders[0].count, 2);
    EXPECT_EQ(r.folders[1].hotspots.at(0).y, -2147483647 - 1);
    // Loading again replaces what the store held.
    r.addFolder("Temporary");
    r.loadHotSpots(path);
    EXPECT_EQ(r.folderRows(), (std::vector<std::string>{"Nebulae: north / south", "Clusters"}));
}

TEST(HotSpotLists, FoldersAndNoneFirstThenNameWithCoordinates) {
    HotSpotStore store;
    store.readText("2\nA\n2\nSol,0,0,0\nDeep,-3,14,-159\nB\n1\nVega,1,2,3");
    EXPECT_EQ(store.folderRows(), (std::vector<std::string>{"A", "B"}));
    EXPECT_EQ(store.hotSpotRows(0), (std::vector<std::string>{"None", "Sol (0 / 0 / 0)", "Deep (-3 / 14 / -159)"}));
    EXPECT_EQ(store.hotSpotRows(1), (std::vector<std::string>{"None", "Vega (1 / 2 / 3)"}));
    EXPECT_EQ(store.hotSpotRows(-1), std::vector<std::string>{"None"});
    EXPECT_EQ(store.hotSpotRows(2), std::vector<std::string>{"None"});

    // Row k is HotSpot k - 1 of the folder.
    const HotSpot deep = store.hotSpotAt(0, 2);
    EXPECT_EQ(deep.name, "Deep");
    EXPECT_EQ(deep.z, -159);
    for (const auto& [folder, row] : {std::pair{0, 0}, std::pair{0, 3}, std::pair{-1, 1}, std::pair{2, 1}})
        EXPECT_EQ(store.hotSpotAt(folder, row).name, "") << folder << " " << row;
}

TEST(HotSpotStoreEdits, DeleteRules) {
    HotSpotStore store;
    store.readText("2\nA\n2\nSol,0,0,0\nDeep,-3,14,-159\nB\n1\nVega,1,2,3");

    // "None" or no folder selected: nothing is deleted.
    EXPECT_FALSE(store.deleteHotSpot(0, 0));
    EXPECT_FALSE(store.deleteHotSpot(-1, 1));
    EXPECT_EQ(store.folders[0].hotspots.size(), 2u);

    EXPECT_TRUE(store.deleteHotSpot(0, 1));
    EXPECT_EQ(store.folders[0].count, 1);
    EXPECT_EQ(store.hotSpotRows(0), (std::vector<std::string>{"None", "Deep (-3 / 14 / -159)"}));
    // The last HotSpot of a folder stays.
    EXPECT_FALSE(store.deleteHotSpot(0, 1));
    EXPECT_EQ(store.folders[0].hotspots.size(), 1u);

    store.addFolder("C");
    EXPECT_TRUE(store.deleteFolder(1));
    EXPECT_EQ(store.folderRows(), (std::vector<std::string>{"A", "C"}));
    EXPECT_EQ(store.foldercount, 2);
    EXPECT_FALSE(store.deleteFolder(2));
    EXPECT_TRUE(store.deleteFolder(0));
    // The last folder stays.
    EXPECT_FALSE(store.deleteFolder(0));
    EXPECT_EQ(store.folderRows(), std::vector<std::string>{"C"});
}

TEST(HotSpotFile, ShortFileGivesEmptyEntries) {
    TemporaryFolder folder;
    writeAll(folder.path() / "short.spt", "3\nA\n3\nSol,1,2,3");
    HotSpotStore store;
    store.loadHotSpots(folder.path() / "short");
    EXPECT_EQ(store.text(), "3\nA\n3\nSol,1,2,3\n,0,0,0\n,0,0,0\n\n0\n\n0");

    // Text where a number belongs reads as 0.
    writeAll(folder.path() / "odd.spt", "1\nA\n1\nName,x,-2,seven");
    store.loadHotSpots(folder.path() / "odd");
    EXPECT_EQ(store.text(), "1\nA\n1\nName,0,-2,0");

    // Carriage returns at a line's end belong to no name, so a saved file reads back the same.
    store.readText("1\r\r\nHome\r\r\n1\r\nSol\r\r,1,2,3\r\r\n");
    EXPECT_EQ(store.text(), "1\nHome\n1\nSol\r\r,1,2,3");
}

TEST(HotSpotFile, FileNamesStayInTheGalaxysHotSpotsFolder) {
    const fs::path root = "/sim";
    const fs::path hotspots = root / "Starvane" / "Galaxy" / "MilkyWay" / "HotSpots";
    EXPECT_EQ(hotSpotPath(root, "MilkyWay", "Default"), hotspots / "Default");
    for (const std::string hostile :
         {"..", ".", "", "../../../Config/x", "/etc/passwd", "..\\..\\x", "a/b", "sub/../../x"}) {
        const fs::path path = hotSpotPath(root, "MilkyWay", hostile);
        EXPECT_EQ(path.parent_path(), hotspots) << hostile;
        const std::string name = path.filename().string();
        EXPECT_TRUE(name != ".." && name != "." && !name.empty()) << hostile;
        EXPECT_EQ(name.find_first_of("/\\"), std::string::npos) << hostile;
    }
    EXPECT_EQ(hotSpotPath(root, "../..", "x").parent_path().parent_path().parent_path(),
              root / "Starvane" / "Galaxy");
}

TEST(HotSpotFile, SaveReplacesTheFileAndLeavesNothingElse) {
    TemporaryFolder folder;
    writeAll(folder.path() / "book.spt", "1\nOld\n0");
    HotSpotStore store;
    store.addFolder("New");
    ASSERT_TRUE(store.saveHotSpots(folder.path() / "book"));
    EXPECT_EQ(readAll(folder.path() / "book.spt"), "1\nNew\n0");
    std::vector<std::string> entries;
    for (const auto& entry : fs::directory_iterator(folder.path())) entries.push_back(entry.path().filename().string());
    EXPECT_EQ(entries, std::vector<std::string>{"book.spt"});

    // A folder that does not exist: nothing is written anywhere.
    EXPECT_FALSE(store.saveHotSpots(folder.path() / "absent" / "book"));
    EXPECT_FALSE(fs::exists(folder.path() / "absent"));
}

}  // namespace
