#pragma once
// A binary copy of the parsed star catalogue kept beside its text, so that a start skips the
// parsing. The copy names the size and modification time of the text it was made from and
// carries a checksum: a copy of another text, a damaged or a cut copy is refused, and the text
// is read (and the copy made anew) instead.

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "files/star_catalogue_lines.h"

// What the copy knows of the text it was made from.
struct CatalogueTextStamp {
    std::uint64_t size = 0;
    std::int64_t modified = 0;  // the file system's clock, in its own ticks

    bool operator==(const CatalogueTextStamp& other) const = default;
};

// The stamp of the file at `text`; nothing when it cannot be looked at.
std::optional<CatalogueTextStamp> catalogueTextStamp(const std::filesystem::path& text);

// The copy's bytes for the catalogue lines of the text stamped `stamp`.
std::string encodeCatalogueCopy(const std::vector<CatalogueLine>& lines, const CatalogueTextStamp& stamp);

// The catalogue lines held in `bytes`; nothing when they are no whole, sound copy made from
// the text stamped `stamp`. Never holds more lines than the bytes can carry.
std::optional<std::vector<CatalogueLine>> decodeCatalogueCopy(std::string_view bytes, const CatalogueTextStamp& stamp);

// `bytes` with the checksum set to what follows the header, as if they were written so: for
// fuzzers and tests that make damaged copies the checksum does not catch. Shorter than a
// header, they are left as they are.
std::string resealCatalogueCopy(std::string bytes);

// Where the copy of the catalogue text at `text` is kept: beside it.
std::filesystem::path catalogueCopyPath(const std::filesystem::path& text);

// The catalogue lines of the text at `text`: from the copy at `copy` when it is sound and
// made from this text, else parsed from the text, after which the copy is written anew (when
// the folder lets us; without it we just go on).
std::vector<CatalogueLine> readCatalogueLinesKeepingCopy(const std::filesystem::path& text,
                                                         const std::filesystem::path& copy);
