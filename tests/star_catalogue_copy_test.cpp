// The binary copy of the star catalogue: the shipped catalogue reads the same from its copy as
// from its text, a sound copy is what is read, and a damaged, cut or foreign copy is refused
// (the text is read and the copy made anew).

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "files/galaxy_files.h"
#include "files/star_catalogue_copy.h"

#include "tests/test_files.h"

namespace {

namespace fs = std::filesystem;

// `bytes` with the byte at `at` moved by `by`.
std::string nudged(std::string bytes, std::size_t at, int by) {
    return bytes.replace(at, 1, 1, static_cast<char>(bytes.at(at) + by));
}

TEST(CatalogueCopy, TheShippedCatalogueReadsTheSameFromItsCopy) {
    TemporaryFolder folder;
    const fs::path text = folder.path() / "MilkyWay.svc";
    fs::copy_file(STARVANE_SOURCE_DIR "/data/Starvane/Galaxy/MilkyWay/MilkyWay.svc", text);
    const fs::path copy = catalogueCopyPath(text);
    const std::vector<CatalogueLine> fromText = parseCatalogueLines(readAll(text));
    ASSERT_GT(fromText.size(), 90000u);

    EXPECT_EQ(readCatalogueLinesKeepingCopy(text, copy), fromText);  // parsed, copy written
    ASSERT_TRUE(fs::exists(copy));
    EXPECT_EQ(readCatalogueLinesKeepingCopy(text, copy), fromText);  // from the copy

    // What a sound copy of this text holds is what is read, text or not.
    const std::vector<CatalogueLine> other(fromText.begin(), fromText.begin() + 3);
    writeAll(copy, encodeCatalogueCopy(other, *catalogueTextStamp(text)));
    EXPECT_EQ(readCatalogueLinesKeepingCopy(text, copy), other);
}

TEST(CatalogueCopy, DamagedCutOrForeignCopiesAreRefused) {
    TemporaryFolder folder;
    const fs::path text = folder.path() / "Small.svc";
    writeAll(text, "2\n1,-2,3,Sirius,1.46,A,1,V,0.5,-1.25,2.75\n0,0,0,NIL,5.5,g,2,,1,0,0\n");
    const fs::path copy = catalogueCopyPath(text);
    const std::vector<CatalogueLine> lines = parseCatalogueLines(readAll(text));
    const CatalogueTextStamp stamp = *catalogueTextStamp(text);
    const std::string sound = encodeCatalogueCopy(lines, stamp);
    ASSERT_EQ(decodeCatalogueCopy(sound, stamp), lines);

    const std::size_t header = 36;  // magic, size, time, count, checksum
    // Damage the checksum catches, then damage that keeps it right (sealed anew).
    const struct {
        const char* damage;
        std::function<std::string(std::string)> apply;
        bool reseal;
    } rows[] = {
        {"empty", [](std::string) { return std::string(); }, false},
        {"cut by a byte", [](std::string b) { return b.substr(0, b.size() - 1); }, false},
        {"a byte changed", [](std::string b) { return nudged(b, b.size() / 2, 1); }, false},
        {"another magic", [](std::string b) { return nudged(b, 0, 1); }, false},
        {"another text size", [&](std::string) { return encodeCatalogueCopy(lines, {stamp.size + 1, stamp.modified}); }, false},
        {"another text time", [&](std::string) { return encodeCatalogueCopy(lines, {stamp.size, stamp.modified - 1}); }, false},
        {"a huge count", [](std::string b) { b.replace(24, 4, "\xff\xff\xff\x7f"); return b; }, false},
        {"one line more", [](std::string b) { return nudged(b, 24, 1); }, false},
        {"one line less", [](std::string b) { return nudged(b, 24, -1); }, false},
        {"cut to the header", [&](std::string b) { return b.substr(0, header); }, true},
        {"cut in the last line", [](std::string b) { return b.substr(0, b.size() - 2); }, true},
        {"a byte more", [](std::string b) { return b + "x"; }, true},
        {"a huge name length", [&](std::string b) { b.replace(header + 32, 4, "\xff\xff\xff\xff"); return b; }, true},
        {"a name running past the end", [&](std::string b) { return nudged(b, header + 32, 100); }, true},
    };
    for (const auto& row : rows) {
        const std::string damaged = row.reseal ? resealCatalogueCopy(row.apply(sound)) : row.apply(sound);
        EXPECT_FALSE(decodeCatalogueCopy(damaged, stamp)) << row.damage;
        writeAll(copy, damaged);
        EXPECT_EQ(readCatalogueLinesKeepingCopy(text, copy), lines) << row.damage;
        EXPECT_EQ(readAll(copy), sound) << row.damage << ": the copy is made anew";
    }
}

}  // namespace
