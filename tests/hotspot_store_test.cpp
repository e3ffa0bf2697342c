// The bookmark store: its file text and what a short or odd file reads as, the rows of its two
// lists, the delete rules, and where bookmark files may be written.

#include <gtest/gtest.h>

#include <filesystem>
#include <iterator>
#include <string>
#include <vector>

#include "files/hotspot_store.h"

#include "tests/test_files.h"

namespace {

namespace fs = std::filesystem;
using Rows = std::vector<std::string>;

TEST(HotSpotFile, ReadsWhatItWroteAndFillsWhatIsMissing) {
    const struct {
        const char* file;
        const char* text;  // as the store writes it again; none when the same
    } rows[] = {
        {"2\nN: a / b\n2\nOrion,-35,12,-7\nLagoon,120,-450,3\nC\n1\nPleiades,2147483647,-2147483648,0", nullptr},
        {"3\nA\n3\nSol,1,2,3", "3\nA\n3\nSol,1,2,3\n,0,0,0\n,0,0,0\n\n0\n\n0"},  // promises more than it holds
        {"1\nA\n3\nName,x,-2,seven\nNo commas\nOne,5", "1\nA\n3\nName,0,-2,0\nNo commas,0,0,0\nOne,5,0,0"},
        {"-4\nA\n", "0"},
        // Carriage returns at a line's end belong to no name, so a saved file reads back the same.
        {"1\r\r\nHome\r\r\n1\r\nSol\r\r,1,2,3\r\r\n", "1\nHome\n1\nSol\r\r,1,2,3"},
    };
    TemporaryFolder folder;
    HotSpotStore store;
    for (const auto& row : rows) {
        writeAll(folder.path() / "in.spt", row.file);
        store.addFolder("left over");  // loading replaces what the store held
        store.loadHotSpots(folder.path() / "in");
        const std::string text = row.text ? row.text : row.file;
        EXPECT_EQ(store.text(), text) << row.file;
        ASSERT_TRUE(store.saveHotSpots(folder.path() / "out"));
        EXPECT_EQ(readAll(folder.path() / "out.spt"), text);
    }
    // Counts beyond what a store may hold read as the most it may.
    store.readText("20000\nA\n20000\n");
    EXPECT_TRUE(store.foldercount == 10000 && store.folders.at(0).count == 10000);
    // Saving replaces the file as a whole and leaves nothing beside it; without its folder
    // nothing is written anywhere.
    EXPECT_EQ(std::distance(fs::directory_iterator(folder.path()), fs::directory_iterator()), 2);
    EXPECT_FALSE(store.saveHotSpots(folder.path() / "absent" / "book"));
}

TEST(HotSpotStore, ListsAndEdits) {
    HotSpotStore store;
    EXPECT_FALSE(store.addHotSpot(0, "Nowhere", 1, 2, 3));
    store.readText("2\nA\n2\nSol,0,0,0\nDeep,-3,14,-159\nB\n1\nVega,1,2,3");
    EXPECT_EQ(store.folderRows(), (Rows{"A", "B"}));
    EXPECT_EQ(store.hotSpotRows(0), (Rows{"None", "Sol (0 / 0 / 0)", "Deep (-3 / 14 / -159)"}));
    for (const int folder : {-1, 2}) EXPECT_EQ(store.hotSpotRows(folder), Rows{"None"});
    // Row k is bookmark k - 1 of the folder; "None" and rows beyond are no bookmark.
    EXPECT_EQ(store.hotSpotAt(0, 2).z, -159);
    for (const auto& [folder, row] : {std::pair{0, 0}, std::pair{0, 3}, std::pair{-1, 1}, std::pair{2, 1}})
        EXPECT_EQ(store.hotSpotAt(folder, row).name, "") << folder << " " << row;

    // "None", no folder, or a folder's last bookmark: nothing is deleted.
    EXPECT_EQ((std::vector<bool>{store.deleteHotSpot(0, 0), store.deleteHotSpot(-1, 1), store.deleteHotSpot(0, 1),
                                 store.deleteHotSpot(0, 1)}),
              (std::vector<bool>{false, false, true, false}));
    EXPECT_TRUE(store.addHotSpot(1, "Far, side\n", -1204, 37, -5));  // one line, the name before the first comma
    store.addFolder("C\r\nD");
    EXPECT_EQ(store.text(), "3\nA\n1\nDeep,-3,14,-159\nB\n2\nVega,1,2,3\nFar  side ,-1204,37,-5\nC  D\n0");
    // Folders likewise: the last one stays.
    EXPECT_EQ((std::vector<bool>{store.deleteFolder(3), store.deleteFolder(1), store.deleteFolder(0),
                                 store.deleteFolder(0)}),
              (std::vector<bool>{false, true, true, false}));
    EXPECT_EQ(store.folderRows(), Rows{"C  D"});
    EXPECT_EQ(store.foldercount, 1);
}

TEST(HotSpotFile, FileNamesStayInTheGalaxysHotSpotsFolder) {
    const fs::path galaxies = fs::path("/sim") / "Starvane" / "Galaxy";
    const std::pair<const char*, const char*> names[] = {{"Default", "Default"}, {"..", "_.."}, {".", "_."}, {"", "_"},
        {"../../Config/x", ".._.._Config_x"}, {"/etc/x", "_etc_x"}, {"..\\x", ".._x"}};
    for (const auto& [name, file] : names)
        EXPECT_EQ(hotSpotPath("/sim", "MilkyWay", name), galaxies / "MilkyWay" / "HotSpots" / file) << name;
    EXPECT_EQ(hotSpotPath("/sim", "../..", "x"), galaxies / ".._.." / "HotSpots" / "x");
}

}  // namespace
