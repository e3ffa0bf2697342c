// Any bytes read as the cache list "Starvane/Cache.txt" must load without a crash into at most
// the names the list may hold, each one line.

#include <cstdlib>

#include "files/cache_list.h"
#include "fuzz/fuzz_text.h"
#include "tests/test_files.h"
#include "text/format_limits.h"

void fuzzText(std::string text) {
    static const TemporaryFolder root("starvane_cache_fuzz");  // removed when the process ends
    if (root.path().empty()) std::abort();
    writeAll(root.path() / "Starvane" / "Cache.txt", text);
    const std::vector<std::string> names = readCacheList(root.path());
    require(names.size() <= static_cast<std::size_t>(kMostCacheNames));
    for (const std::string& name : names) require(name.find('\n') == std::string::npos);
}
