// Any bytes read as a binary catalogue copy must be refused or read without a crash and without
// more lines than they can carry: once as they come (most fail the checks at the front), once
// sealed with a right checksum behind a header that fits, so that the lines themselves are read.

#include "files/star_catalogue_copy.h"
#include "fuzz/fuzz_text.h"

void fuzzText(std::string text) {
    const CatalogueTextStamp stamp{12345, 67890};
    if (const auto lines = decodeCatalogueCopy(text, stamp)) require(lines->size() <= text.size() / 44);

    // The header of an empty copy, with the first four bytes given as the line count.
    std::string copy = encodeCatalogueCopy({}, stamp);
    const std::size_t countAt = 24;
    if (text.size() >= 4) {
        copy.replace(countAt, 4, text.substr(0, 4));
        text.erase(0, 4);
    }
    copy = resealCatalogueCopy(copy + text);
    if (const auto lines = decodeCatalogueCopy(copy, stamp)) {
        require(lines->size() <= text.size() / 44);
        require(resealCatalogueCopy(encodeCatalogueCopy(*lines, stamp)) == copy);
    }
}
