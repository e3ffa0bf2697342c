// Loading a galaxy folder: the description file's parameters and the seeding of the galaxy's
// random source, the star catalogue, custom systems placed by alias or added after the
// catalogue, and folders with missing, broken or truncated files.

#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <memory>
#include <iomanip>
#include <sstream>
#include <string>

#include "files/galaxy_files.h"
#include "galaxy/star_naming.h"
#include "platform/file_image.h"

namespace fs = std::filesystem;

#include "tests/galaxy_test_support.h"
#include "tests/test_files.h"

namespace {

// A program root; galaxy(name) is the folder of one galaxy in it.
struct TempRoot : TemporaryFolder {
    fs::path galaxy(const std::string& name) const { return path() / "Starvane" / "Galaxy" / name; }
};

const std::string kDescription =
    "Galaxy age in Myr\n13000\n"
    "Bulge width x length x height in pc\n300x120x80\n"
    "Bulge angle\n25\n"
    "Disc age\n9000\n"
    "Age gradient\n-3\n"
    "Thin disc in pc\n-95\n"
    "Thick disc in pc\n1009\n"
    "Reference cube x, y, z, offset x, up, y\n-1,2,-3,4,-5,6\n"
    "Star seed\n4294967301\n"
    "System seed\n77\n";

std::string customFile(const std::string& name, const std::string& alias, const std::string& extra = "") {
    return "\nname " + name + "\nalias " + alias + "\npath xxxxxx\ncntname " + name +
           "\nclass K 1 V\nmass 0.8\nradius 0.9\necliptic 1 2 3\nsurftemp 5000\nage 3000\n"
           "luminosity 0.4\n" + extra + "planets 1\n\n-------------------------------\n"
           "\nplanetnumber 1 0\nmoons 0\nname " + name + " b\ntype rock\nmass 6e24\nradius 6e6\n";
}

// The description's parameters in one line: ages, bulge, angle, gradient, discs, reference
// cube and offset (x, y, up), seeds.
std::string parameters(const GalaxyParameters& g) {
    std::ostringstream text;
    text << g.galaxyage << " " << g.bulgewidth << "x" << g.bulgelength << "x" << g.bulgeheight << " " << g.bulgeangle
         << " " << g.discage << " " << g.agegradient << " " << g.thindisc << " " << g.thickdisc << " | "
         << g.referencecube[0] << "," << g.referencecube[1] << "," << g.referencecube[2] << " | "
         << g.referenceoffset[0] << "," << g.referenceoffset[1] << "," << g.referenceoffset[2] << " | "
         << std::setprecision(12) << g.starseed << " " << g.systemseed;
    return text.str();
}

// A star in one line: cube, name, class, offset as held.
std::string starLine(const StarRecord& star) {
    std::ostringstream line;
    line << star.cube.x << "," << star.cube.y << "," << star.cube.z << " " << star.physical->name << " "
         << star.physical->spectralclass << " " << star.physical->subtype << " " << star.physical->lumclass << " "
         << star.offset[0] << "," << star.offset[1] << "," << star.offset[2];
    return line.str();
}

class GalaxyFiles : public ::testing::Test {
protected:
    GalaxyCatalogue catalogue;
};

// ---------------------------------------------------------------------------------------------
// Description

TEST_F(GalaxyFiles, DescriptionParameters) {
    // Bulge and discs in cubes by whole-number division toward zero; the file gives the offset
    // as x, up, y.
    readGalaxyDescription(catalogue, kDescription);
    EXPECT_EQ(parameters(catalogue), "13000 30x12x8 25 9000 -3 -9 100 | -1,2,-3 | 4,6,-5 | 4294967301 77");
}

TEST_F(GalaxyFiles, TheStarSeedSeedsTheGalaxySourceAsA64BitNumber) {
    struct Case {
        const char* seed;
        std::uint32_t first;  // the first draw after seeding
    };
    for (const Case c : {Case{"4294967301", 3524085328u}, Case{"12345", 3613458432u}, Case{"-1", 3051796911u},
                         Case{"8589934592junk", 36000u}, Case{"", 0u}}) {
        std::string text = kDescription;
        text.replace(text.find("4294967301"), 10, c.seed);
        catalogue.starRandom.seed(99, 99);
        readGalaxyDescription(catalogue, text);
        EXPECT_EQ(catalogue.starRandom.next(), c.first) << c.seed;
    }
}

TEST_F(GalaxyFiles, LabelsAreSkippedWhateverTheyHoldAndValuesAreWholeNumbers) {
    const std::string text =
        "99\n13000.9 Myr\n"
        "1\n 305x-129x85.5\r\n"
        "\n+25deg\n"
        "\n\n"  // label and an empty disc age
        "x\nabc\n"
        "12\n15\n";  // short file: the rest stays 0
    readGalaxyDescription(catalogue, text);
    EXPECT_EQ(parameters(catalogue), "13000 30x-12x8 25 0 0 1 0 | 0,0,0 | 0,0,0 | 0 0");
}

// ---------------------------------------------------------------------------------------------
// Catalogue

TEST_F(GalaxyFiles, CatalogueLines) {
    readGalaxyDescription(catalogue, "\n\n\n\n\n\n\n\n\n\n\n\n\n\n\n0,0,0,0,0,0\n");
    const std::string text =
        "5\n"
        "1,-2,3,Sirius,1.46,A,1,V,0.5,-1.25,2.75\n"
        "0,0,0,NIL,5.5,g,2,NIL,1,0,0\n"
        "0,0,0,nil,1,K,0,V,0,0,0\n"
        "0,0,0,NIL ,1,K,0,V,0,0,0\n"
        "4,5,6, Spaced ,2.5,m,9,III,0,0,0\n";
    readStarCatalogue(catalogue, text);
    ASSERT_EQ(catalogue.count, 5);
    ASSERT_EQ(catalogue.stars.size(), 5u);
    // Cube, name, class as written (completion normalises later), offset as held: x, up, y.
    // "NIL" gets a name from its position, with "!".
    const char* expected[] = {"1,-2,3 Sirius A 1 V 0.5,2.75,-1.25", "0,0,0 !90a0a3.2f g 2 NIL 1,0,0",
                              "0,0,0 nil K 0 V 0,0,0", "0,0,0 NIL  K 0 V 0,0,0", "4,5,6  Spaced  m 9 III 0,0,0"};
    for (std::size_t i = 0; i < 5; ++i) EXPECT_EQ(starLine(*catalogue.stars[i]), expected[i]);
    const StarRecord& sirius = *catalogue.stars[0];
    EXPECT_FALSE(sirius.classified || sirius.systemready || sirius.connected || sirius.system);
}

TEST_F(GalaxyFiles, NilNamesAreMadeFromTheReferenceOfTheDescription) {
    // Reference cube (1, 0, 0), offset 0: a star at (15, 0, 0) is 5 parsecs away.
    readGalaxyDescription(catalogue, "\n\n\n\n\n\n\n\n\n\n\n\n\n\n\n1,0,0,0,0,0\n");
    readStarCatalogue(catalogue, "1\n1,0,0,NIL,0,G,2,V,5,0,0\n");
    ASSERT_EQ(catalogue.count, 1);
    StarRecord copy;
    copy.physical = std::make_unique<StellarData>();
    copy.physical->name = "NIL";
    copy.offset = {5.0f, 0.0f, 0.0f};
    nameStar(catalogue, copy, 1, 0, 0);
    EXPECT_EQ(catalogue.stars[0]->physical->name, copy.physical->name);
    EXPECT_EQ(copy.physical->name.substr(copy.physical->name.size() - 5), "16.2j");
}

TEST_F(GalaxyFiles, BrokenCataloguesLoadWithoutHarm) {
    const std::string real =
        "3\n1,2,3,Alpha,1.0,G,2,V,0.5,0.5,0.5\n-4,5,-6,NIL,2.0,K,7,III,-1,2,-3\n0,0,0,Gamma,0,M,4,V,4.9,-4.9,0\n";
    for (std::size_t length = 0; length <= real.size(); ++length) {
        readStarCatalogue(catalogue, real.substr(0, length));
        EXPECT_LE(catalogue.count, 3);
        EXPECT_EQ(catalogue.count, static_cast<int>(catalogue.stars.size()));
    }
    for (const char* text : {"", "\n\n", "-5\n1,2,3,A,1,G,2,V,0,0,0\n", "abc\n", "1000000000000\n",
                             "2\n", "2\n,,,,,,,,,,\n,\n", "1\n99999999999999,x,,,,,,,,,,,,,,\n",
                             "1\n1,2,3,Name,1e999,G,-99999,V,1e999,-1e999,nan\n"}) {
        readStarCatalogue(catalogue, text);
        EXPECT_EQ(catalogue.count, static_cast<int>(catalogue.stars.size())) << text;
        for (const auto& star : catalogue.stars) ASSERT_NE(star->physical, nullptr);
    }
    readStarCatalogue(catalogue, "-5\n1,2,3,A,1,G,2,V,0,0,0\n");
    EXPECT_EQ(catalogue.count, 0);
    readStarCatalogue(catalogue, "2\n,,,,,,,,,,\n,\n");
    EXPECT_EQ(catalogue.count, 2);  // empty fields read as 0 and empty texts
}

// ---------------------------------------------------------------------------------------------
// Whole folders

TEST_F(GalaxyFiles, CustomSystemsByAliasOrAsExtraStars) {
    TempRoot root;
    const fs::path folder = root.galaxy("Test");
    writeAll(folder / "Test.cfg", kDescription);
    writeAll(folder / "Test.svc",
          "3\n1,1,1,Alpha,1,G,2,V,1,2,3\n2,2,2,Beta,1,K,3,V,-1,-2,-3\n3,3,3,Gamma,1,M,4,V,0,0,0\n");
    writeAll(folder / "Custom Systems" / "b-extra.svs", customFile("Extra B", ""));
    writeAll(folder / "Custom Systems" / "a-extra.svs", customFile("Extra A", ""));
    writeAll(folder / "Custom Systems" / "c-beta.svs", customFile("New Beta", "Beta", "coords 9 9 9 1 1 1\n"));
    writeAll(folder / "Custom Systems" / "d-nowhere.svs", customFile("Nowhere", "Nobody"));
    writeAll(folder / "Custom Systems" / "notes.txt", customFile("Not read", ""));
    fs::create_directories(folder / "Custom Systems" / "folder.svs");

    loadGalaxy(catalogue, root.path(), "Test", realTables());
    EXPECT_EQ(catalogue.stellartables, &realTables());
    EXPECT_EQ(catalogue.customcount, 4);
    EXPECT_EQ(catalogue.noaliascount, 2);
    ASSERT_EQ(catalogue.count, 5);
    ASSERT_EQ(catalogue.stars.size(), 5u);
    EXPECT_EQ(catalogue.stars[0]->physical->name, "Alpha");
    EXPECT_EQ(catalogue.stars[2]->physical->name, "Gamma");

    // The custom star takes Beta's slot and position; its own coords are overwritten.
    const StarRecord& beta = *catalogue.stars[1];
    EXPECT_EQ(starLine(beta), "2,2,2 New Beta K 1 V -1,-3,-2");
    EXPECT_TRUE(beta.classified);
    EXPECT_EQ(beta.id, StarId::catalogueStar(1));
    EXPECT_FALSE(beta.connected);
    EXPECT_TRUE(beta.systemfromfile);
    ASSERT_NE(beta.system, nullptr);
    EXPECT_EQ(beta.system->planets.at(0).bodies.at(0).name, "New Beta b");

    // Custom stars without alias follow the catalogue, in file-name order, completed already.
    EXPECT_EQ(catalogue.stars[3]->physical->name, "Extra A");
    EXPECT_EQ(catalogue.stars[4]->physical->name, "Extra B");
    for (int i : {3, 4}) {
        EXPECT_TRUE(catalogue.stars[static_cast<std::size_t>(i)]->classified);
        EXPECT_EQ(catalogue.stars[static_cast<std::size_t>(i)]->id, StarId::catalogueStar(i));
    }
    // "Nowhere" names no catalogue star and is not placed.
    for (const auto& star : catalogue.stars) EXPECT_NE(star->physical->name, "Nowhere");

    // The index by cube finds the stars where they now are.
    ASSERT_EQ(catalogue.starsInCube(2, 2, 2).size(), 1u);
    EXPECT_EQ(catalogue.starsInCube(2, 2, 2)[0], catalogue.stars[1].get());
    EXPECT_TRUE(catalogue.starsInCube(9, 9, 9).empty());

    // Loading again gives the same table.
    loadGalaxy(catalogue, root.path(), "Test", realTables());
    EXPECT_EQ(catalogue.count, 5);
    EXPECT_EQ(catalogue.stars[1]->physical->name, "New Beta");
}

TEST_F(GalaxyFiles, AnAliasIsMatchedExactlyAndTheFirstCustomStarWins) {
    TempRoot root;
    const fs::path folder = root.galaxy("Exact");
    writeAll(folder / "Exact.svc", "2\n0,0,0,Beta,1,K,3,V,0,0,0\n0,0,0,Beta ,1,K,3,V,0,0,0\n");
    writeAll(folder / "Custom Systems" / "1.svs", customFile("One", "Beta"));
    writeAll(folder / "Custom Systems" / "2.svs", customFile("Two", "Beta"));
    writeAll(folder / "Custom Systems" / "3.svs", customFile("Three", "beta"));
    loadGalaxy(catalogue, root.path(), "Exact", realTables());
    ASSERT_EQ(catalogue.count, 2);
    EXPECT_EQ(catalogue.stars[0]->physical->name, "One");
    EXPECT_EQ(catalogue.stars[1]->physical->name, "Beta ");
}

TEST_F(GalaxyFiles, MissingFilesGiveAnEmptyGalaxy) {
    TempRoot root;
    catalogue.galaxyage = 5.0;
    catalogue.starRandom.seed(42, 43);
    loadGalaxy(catalogue, root.path(), "Nothing", realTables());
    EXPECT_EQ(catalogue.count, 0);
    EXPECT_TRUE(catalogue.stars.empty());
    EXPECT_EQ(catalogue.customcount, 0);
    EXPECT_EQ(catalogue.galaxyage, 0.0);
    EXPECT_EQ(catalogue.thindisc, 0.0);
    EXPECT_EQ(catalogue.starseed, 0.0);
    EXPECT_EQ(catalogue.starRandom.next(), 0u);  // seeded with 0, 0

    // Only custom stars without alias.
    writeAll(root.galaxy("Customs") / "Custom Systems" / "x.svs", customFile("Lonely", ""));
    loadGalaxy(catalogue, root.path(), "Customs", realTables());
    ASSERT_EQ(catalogue.count, 1);
    EXPECT_EQ(catalogue.stars[0]->physical->name, "Lonely");
}

TEST_F(GalaxyFiles, AGalaxyNameCannotLeaveTheGalaxyFolder) {
    TempRoot root;
    const fs::path base = fs::weakly_canonical(root.path() / "Starvane" / "Galaxy");
    for (const char* name : {"../../etc", "..", "a/b", "/abs", "x\\..\\y"}) {
        const fs::path folder = fs::weakly_canonical(galaxyFolder(root.path(), name));
        EXPECT_EQ(folder.parent_path(), base) << name;
    }
    // A galaxy outside the folder is not read through such a name.
    writeAll(root.path() / "Starvane" / "Outside" / "Outside.svc", "1\n0,0,0,Escaped,1,G,2,V,0,0,0\n");
    loadGalaxy(catalogue, root.path(), "../Outside", realTables());
    EXPECT_EQ(catalogue.count, 0);
}

}  // namespace
