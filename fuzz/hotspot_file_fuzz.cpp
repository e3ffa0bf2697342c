// Any text read as a bookmark file must load without a crash into a consistent store, and
// what the store writes must read back to the same folders and bookmarks.

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
    const HotSpotStore store = consistentStore(text);
    (void)store.folderRows();
    (void)store.hotSpotRows(0);
    (void)store.hotSpotAt(0, 1);
    // Written once, the text is stable: it reads back and writes again the same.
    const HotSpotStore written = consistentStore(store.text());
    require(consistentStore(written.text()).text() == written.text());
}
