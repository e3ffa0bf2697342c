// The cache list "Starvane/Cache.txt", any bytes: loads without a crash, one-line names within limits.

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
