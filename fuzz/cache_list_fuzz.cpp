// Any bytes read as the cache list "Starvane/Cache.txt" must load without a crash into at most
// the names the list may hold, each one line.

#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include "files/cache_list.h"
#include "text/format_limits.h"

namespace {

// A simulator root of our own below the temporary folder, removed when the process ends.
struct FuzzRoot {
    std::filesystem::path path;
    FuzzRoot() {
        std::string pattern = (std::filesystem::temp_directory_path() / "starvane_cache_fuzz_XXXXXX").string();
        if (mkdtemp(pattern.data()) == nullptr) std::abort();
        path = pattern;
        std::filesystem::create_directories(path / "Starvane");
    }
    ~FuzzRoot() {
        std::error_code ignored;
        std::filesystem::remove_all(path, ignored);
    }
};

const std::filesystem::path& fuzzRoot() {
    static const FuzzRoot root;
    return root.path;
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
