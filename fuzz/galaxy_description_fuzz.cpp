// Any text read as a galaxy description file must load without a crash.

#include "files/galaxy_files.h"
#include "fuzz/fuzz_text.h"

void fuzzText(std::string text) {
    GalaxyCatalogue catalogue;
    readGalaxyDescription(catalogue, text);
    (void)catalogue.starRandom.next();
}
