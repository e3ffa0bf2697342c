// Any text read as a galaxy description file must load without a crash.

#include <cstddef>
#include <cstdint>
#include <string>

#include "files/galaxy_files.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string text(reinterpret_cast<const char*>(data), size);
    GalaxyCatalogue catalogue;
    readGalaxyDescription(catalogue, text);
    (void)catalogue.starRandom.next();
    return 0;
}
