// Any text read as a star catalogue must load without a crash, whatever the description said.

#include "files/galaxy_files.h"
#include "fuzz/fuzz_text.h"

void fuzzText(std::string text) {
    GalaxyCatalogue catalogue;
    // The first line, when it splits off, serves as the reference line of a description.
    const std::size_t end = text.find('\n');
    if (end != std::string::npos)
        readGalaxyDescription(catalogue, std::string(15, '\n') + text.substr(0, end) + "\n");
    readStarCatalogue(catalogue, text);
    require(catalogue.count == static_cast<int>(catalogue.stars.size()));
    catalogue.buildCubeIndex();
    for (const auto& star : catalogue.stars) require(star != nullptr && star->physical != nullptr);
}
