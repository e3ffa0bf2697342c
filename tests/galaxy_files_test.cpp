// Loading a galaxy folder: the description's parameters and star seed, the star catalogue, custom
// systems placed by alias or added after the catalogue, and folders missing or out of reach.

#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <iomanip>
#include <sstream>
#include <string>
#include <vector>

#include "files/galaxy_files.h"

#include "tests/galaxy_test_support.h"
#include "tests/test_files.h"

namespace {

namespace fs = std::filesystem;

const std::string kDescription =
    "Galaxy age in Myr\n13000\nBulge width x length x height in pc\n300x120x80\nBulge angle\n25\n"
    "Disc age\n9000\nAge gradient\n-3\nThin disc in pc\n-95\nThick disc in pc\n1009\n"
    "Reference cube x, y, z, offset x, up, y\n-1,2,-3,4,-5,6\nStar seed\n4294967301\nSystem seed\n77\n";

std::string customFile(const std::string& name, const std::string& alias, const std::string& extra = "") {
    return "\nname " + name + "\nalias " + alias + "\nclass K 1 V\n" + extra + "planets 1\nplanetnumber 1 0\nmoons 0\n"
           "name " + name + " b\n";
}

// The description's parameters in one line, the reference offset as held (x, y, up).
std::string parameters(const GalaxyParameters& g) {
    std::ostringstream text;
    text << g.galaxyage << " " << g.bulgewidth << "x" << g.bulgelength << "x" << g.bulgeheight << " " << g.bulgeangle
         << " " << g.discage << " " << g.agegradient << " " << g.thindisc << " " << g.thickdisc << " | "
         << g.referencecube[0] << "," << g.referencecube[1] << "," << g.referencecube[2] << " | "
         << g.referenceoffset[0] << "," << g.referenceoffset[1] << "," << g.referenceoffset[2] << " | "
         << std::setprecision(12) << g.starseed << " " << g.systemseed;
    return text.str();
}

// The catalogue's stars, one line each: cube, name, class, offset as held (x, y, up).
std::vector<std::string> starLines(const GalaxyCatalogue& catalogue) {
    std::vector<std::string> lines;
    for (const auto& star : catalogue.stars) {
        std::ostringstream line;
        line << star->cube.x << "," << star->cube.y << "," << star->cube.z << " " << star->physical->name << " "
             << star->physical->spectralclass << " " << star->physical->subtype << " " << star->physical->lumclass
             << " " << star->offset[0] << "," << star->offset[1] << "," << star->offset[2];
        lines.push_back(line.str());
    }
    return lines;
}

TEST(GalaxyFiles, DescriptionParametersAndTheStarSeed) {
    // Bulge and discs in cubes by whole-number division toward zero; labels are skipped
    // whatever they hold; values are whole numbers; what a short file lacks is 0. The star
    // seed is a 64-bit number that seeds the galaxy's source: its first draw is given.
    const struct {
        std::string text, parameters;
        std::uint32_t firstDraw;
    } rows[] = {
        {kDescription, "13000 30x12x8 25 9000 -3 -9 100 | -1,2,-3 | 4,6,-5 | 4294967301 77", 3524085328u},
        {"99\n13000.9 Myr\n1\n 305x-129x85.5\r\n\n+25deg\n\n\nx\nabc\n12\n15\n",
         "13000 30x-12x8 25 0 0 1 0 | 0,0,0 | 0,0,0 | 0 0", 0u},
        {std::string(17, '\n') + "-1\n", "0 0x0x0 0 0 0 0 0 | 0,0,0 | 0,0,0 | -1 0", 3051796911u},
        {std::string(17, '\n') + "8589934592junk\n", "0 0x0x0 0 0 0 0 0 | 0,0,0 | 0,0,0 | 8589934592 0", 36000u},
    };
    for (const auto& row : rows) {
        GalaxyCatalogue catalogue;
        catalogue.starRandom.seed(99, 99);
        readGalaxyDescription(catalogue, row.text);
        EXPECT_EQ(parameters(catalogue), row.parameters);
        EXPECT_EQ(catalogue.starRandom.next(), row.firstDraw) << row.parameters;
    }
}

TEST(GalaxyFiles, CatalogueLines) {
    GalaxyCatalogue catalogue;  // reference cube and offset 0
    // Cube, name, class as written (completion normalises later), offset as held: x, up, y.
    // Only "NIL" gets a name from its position, with "!". Fields missing or no number read as
    // 0 or empty; the count is the declared one, or the lines there are when fewer.
    const struct {
        const char* text;
        std::vector<std::string> stars;
    } rows[] = {
        {" \n\n3\n1,-2,3,Sirius,1.46,A,1,V,0.5,-1.25,2.75\n0,0,0,NIL,5.5,g,2,NIL,1,0,0\n4,5,6, nil ,2.5,m,9,III\n",
         {"1,-2,3 Sirius A 1 V 0.5,2.75,-1.25", "0,0,0 !90a0a3.2f g 2 NIL 1,0,0", "4,5,6  nil  m 9 III 0,0,0"}},
        {"2\n,,,,,,,,,,\n,\n", {"0,0,0   0  0,0,0", "0,0,0   0  0,0,0"}},
        {"1\n99999999999999,x,,,1e999,G,-99999,V,1e999,-1e999,nan\n1,1,1,Two,1,G,2,V,0,0,0\n",
         {"2147483647,0,0  G -99999 V inf,0,-inf"}},
        {"5\n1,2,3,A,1,G,2,V,0,0,0\n", {"1,2,3 A G 2 V 0,0,0"}},
        {"-5\n1,2,3,A,1,G,2,V,0,0,0\n", {}},
        {"1000000000000\n", {}},
        {"", {}},
    };
    for (const auto& row : rows) {
        readStarCatalogue(catalogue, row.text);
        EXPECT_EQ(starLines(catalogue), row.stars) << row.text;
        EXPECT_EQ(catalogue.count, static_cast<int>(row.stars.size())) << row.text;
    }
}

TEST(GalaxyFiles, CustomSystemsByAliasOrAsExtraStars) {
    TemporaryFolder root;
    const fs::path folder = galaxyFolder(root.path(), "Test");
    writeAll(folder / "Test.cfg", kDescription);
    writeAll(folder / "Test.svc", "4\n1,1,1,Alpha,1,G,2,V,1,2,3\n2,2,2,Beta,1,K,3,V,-1,-2,-3\n"
                                  "3,3,3,Gamma,1,M,4,V,0,0,0\n4,4,4,Beta ,1,K,3,V,0,0,0\n");
    // File, name, alias, more lines. The alias is matched exactly, and the first custom star
    // of an alias wins; only "*.svs" files are read.
    const char* const customs[][4] = {
        {"b-extra.svs", "Extra B", "", ""}, {"a-extra.SVS", "Extra A", "", ""},
        {"c-beta.svs", "New Beta", "Beta", "coords 9 9 9 1 1 1\n"}, {"d-beta.svs", "Second Beta", "Beta", ""},
        {"e-beta.svs", "Lower beta", "beta", ""}, {"notes.txt", "Not read", "", ""}};
    for (const auto& c : customs) writeAll(folder / "Custom Systems" / c[0], customFile(c[1], c[2], c[3]));
    fs::create_directories(folder / "Custom Systems" / "folder.svs");

    GalaxyCatalogue catalogue;
    // Loading again gives the same table, from the text or (once written) from its binary copy.
    for (const CatalogueCopy copy : {CatalogueCopy::kTextOnly, CatalogueCopy::kKeepBinaryCopy,
                                     CatalogueCopy::kKeepBinaryCopy}) {
        loadGalaxy(catalogue, root.path(), "Test", realTables(), nullptr, copy);
        EXPECT_EQ(catalogue.customcount, 5);
        EXPECT_EQ(catalogue.noaliascount, 2);
        // The custom star takes Beta's slot and position (its own coords are overwritten);
        // custom stars without alias follow the catalogue in file-name order.
        EXPECT_EQ(starLines(catalogue),
                  (std::vector<std::string>{"1,1,1 Alpha G 2 V 1,3,2", "2,2,2 New Beta K 1 V -1,-3,-2",
                                            "3,3,3 Gamma M 4 V 0,0,0", "4,4,4 Beta  K 3 V 0,0,0",
                                            "0,0,0 Extra A K 1 V 0,0,0", "0,0,0 Extra B K 1 V 0,0,0"}));
        ASSERT_EQ(catalogue.stars.size(), 6u);
        for (const int i : {1, 4, 5}) {
            const StarRecord& star = *catalogue.stars[static_cast<std::size_t>(i)];
            EXPECT_TRUE(star.classified && star.systemfromfile && !star.connected) << i;
            EXPECT_EQ(star.id, StarId::catalogueStar(i));
            EXPECT_EQ(star.system->planets.at(0).bodies.at(0).name, star.physical->name + " b");
        }
        // The index by cube finds the stars where they now are.
        EXPECT_EQ(catalogue.starsInCube(2, 2, 2), std::vector<StarRecord*>{catalogue.stars[1].get()});
    }

    // A name cannot lead out of the galaxy folder; a galaxy that is not there (or lies outside)
    // leaves nothing of the one read before.
    const fs::path base = fs::weakly_canonical(root.path() / "Starvane" / "Galaxy");
    for (const char* name : {"../../etc", "..", "a/b", "/abs", "x\\..\\y"})
        EXPECT_EQ(fs::weakly_canonical(galaxyFolder(root.path(), name)).parent_path(), base) << name;
    writeAll(root.path() / "Starvane" / "Outside" / "Outside.svc", "1\n0,0,0,Escaped,1,G,2,V,0,0,0\n");
    writeAll(root.path() / "Starvane" / "Outside" / "Outside.cfg", kDescription);
    loadGalaxy(catalogue, root.path(), "../Outside", realTables());
    EXPECT_TRUE(catalogue.count == 0 && catalogue.stars.empty() && catalogue.customcount == 0);
    EXPECT_EQ(parameters(catalogue), "0 0x0x0 0 0 0 0 0 | 0,0,0 | 0,0,0 | 0 0");
    EXPECT_EQ(catalogue.starRandom.next(), 0u);  // seeded with 0, 0
}

}  // namespace
