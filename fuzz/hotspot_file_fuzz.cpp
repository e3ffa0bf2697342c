// A bookmark file, any text: a consistent store, whose written text reads back and writes the same.

#include "files/hotspot_store.h"
#include "fuzz/fuzz_text.h"
#include "text/format_limits.h"

namespace {

HotSpotStore consistentStore(const std::string& text) {
    HotSpotStore store;
    store.readText(text);
    require(store.foldercount == static_cast<int>(store.folders.size()) && store.foldercount <= kMostBookmarks);
    for (const HotSpotFolder& folder : store.folders)
        require(folder.count == static_cast<int>(folder.hotspots.size()) && folder.count <= kMostBookmarks);
    return store;
}

}  // namespace

void fuzzText(std::string text) {
    // Written once, the text is stable: it reads back and writes again the same.
    const HotSpotStore written = consistentStore(consistentStore(text).text());
    require(consistentStore(written.text()).text() == written.text());
}
