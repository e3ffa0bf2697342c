// Any text read as a star catalogue must load without a crash, whatever the description said.

#include <cstddef>
#include <cstdint>
#include <string>

#include "files/galaxy_files.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string text(reinterpret_cast<const char*>(data), size);
    GalaxyCatalogue catalogue;
    // The first line, when it splits off, serves as the reference line of a description.
    const std::size_t end = text.find('\n');
    if (end != std::string::npos)
        readGalaxyDescription(catalogue, std::string(15, '\n') + text.substr(0, end) + "\n");
    readStarCatalogue(catalogue, text);
    if (catalogue.count != static_cast<int>(catalogue.stars.size())) __builtin_trap();
    catalogue.buildCubeIndex();
    for (const auto& star : catalogue.stars)
        if (star == nullptr || !star->physical) __builtin_trap();
    return 0;
}
