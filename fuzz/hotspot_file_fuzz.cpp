// Any text read as a bookmark file must load without a crash into a consistent store, and
// what the store writes must read back to the same folders and bookmarks.

#include <cstddef>
#include <cstdint>
#include <string>

#include "text/format_limits.h"
#include "files/hotspot_store.h"

namespace {

bool consistent(const HotSpotStore& store) {
    if (store.foldercount != static_cast<int>(store.folders.size()) || store.foldercount > kMostBookmarks)
        return false;
    for (const HotSpotFolder& folder : store.folders)
        if (folder.count != static_cast<int>(folder.hotspots.size()) || folder.count > kMostBookmarks) return false;
    return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    HotSpotStore store;
    store.readText(std::string(reinterpret_cast<const char*>(data), size));
    if (!consistent(store)) __builtin_trap();
    (void)store.folderRows();
    (void)store.hotSpotRows(0);
    (void)store.hotSpotAt(0, 1);
    // Written once, the text is stable: it reads back and writes again the same.
    HotSpotStore written;
    written.readText(store.text());
    HotSpotStore again;
    again.readText(written.text());
    if (!consistent(written) || again.text() != written.text()) __builtin_trap();
    return 0;
}
