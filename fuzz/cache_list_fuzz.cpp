// Any bytes read as the cache list "Starvane/Cache.txt" must load without a crash into at most
// the names the list may hold, each one line.

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include "files/cache_list.h"
#include "text/format_limits.h"
#include "tests/test_files.h"

namespace {

// A simulator root of our own, removed when the process ends.
const std::filesystem::path& fuzzRoot() {
    static const TemporaryFolder root("starvane_cache_fuzz");
    if (root.path().empty()) std::abort();
    std::filesystem::create_directories(root.path() / "Starvane");
    return root.path();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    {
        std::ofstream out(fuzzRoot() / "Starvane" / "Cache.txt", std::ios::binary | std::ios::trunc);
        out.write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
    }
    const std::vector<std::string> names = readCacheList(fuzzRoot());
    if (names.size() > static_cast<std::size_t>(kMostCacheNames)) __builtin_trap();
    for (const std::string& name : names)
        if (name.find('\n') != std::string::npos) __builtin_trap();
    return 0;
}
