// A simulator root filled from the shipped data keeps every file the user has, and an
// installed copy is recognised by what lies around its program.

#include <gtest/gtest.h>

#include "files/simulator_root.h"
#include "platform/install_layout.h"

#include "tests/test_files.h"

TEST(RootPreparation, FillsWhatIsMissingAndKeepsTheUsersFiles) {
    TemporaryFolder folder;
    const auto shipped = folder.path() / "prefix" / "share" / "starvane";
    writeAll(shipped / "Starvane" / "Starvane.cfg", "shipped");
    writeAll(shipped / "Starvane" / "Data" / "StellarTable.csv", "table");
    const auto root = folder.path() / "root";
    writeAll(root / "Starvane" / "Starvane.cfg", "mine");

    RootPreparation prepared = prepareSimulatorRoot(root, shipped);
    EXPECT_TRUE(prepared.ready) << prepared.problem;
    EXPECT_EQ(prepared.filesAdded, 1);
    EXPECT_EQ(readAll(root / "Starvane" / "Starvane.cfg"), "mine");
    EXPECT_EQ(readAll(root / "Starvane" / "Data" / "StellarTable.csv"), "table");
    for (const char* made : {"Config", "Textures", "Starvane/SavedSystems"}) EXPECT_TRUE(std::filesystem::is_directory(root / made)) << made;
    EXPECT_EQ(prepareSimulatorRoot(root, shipped).filesAdded, 0);

    // A root that cannot hold folders is refused with its reason.
    writeAll(folder.path() / "plain", "a file");
    prepared = prepareSimulatorRoot(folder.path() / "plain", shipped);
    EXPECT_FALSE(prepared.ready);
    EXPECT_NE(prepared.problem.find("cannot make"), std::string::npos) << prepared.problem;

    // The program in <prefix>/bin finds the data; without the plug-in that path stays empty.
    std::filesystem::create_directories(folder.path() / "prefix" / "bin");
    InstallLayout layout = layoutAround(folder.path() / "prefix" / "bin");
    EXPECT_EQ(layout.data, shipped);
    EXPECT_TRUE(layout.plugin.empty());
    writeAll(folder.path() / "prefix" / "lib" / "starvane" / "texgen.so", "");
    EXPECT_EQ(layoutAround(folder.path() / "prefix" / "bin").plugin, folder.path() / "prefix" / "lib" / "starvane" / "texgen.so");
    EXPECT_TRUE(layoutAround(folder.path() / "root").data.empty());
}
