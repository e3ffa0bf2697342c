// Any text read as a saved-system file must load without a crash and leave a consistent star.

#include "files/saved_system_file.h"
#include "fuzz/fuzz_text.h"

void fuzzText(std::string text) {
    // A "gensystem" line runs the whole planetary generator, which has its own tests; keep the
    // runs short by letting it through only rarely.
    if (!text.empty() && text[0] != 'G')
        for (std::size_t at = text.find("gensystem"); at != std::string::npos; at = text.find("gensystem", at + 1))
            text[at] = 'g' + 1;
    GalaxyCatalogue catalogue;
    StarRecord star;
    readSystemText(catalogue, text, star);
    require(star.physical != nullptr);
    if (!star.system) return;
    require(star.system->planetcount == static_cast<int>(star.system->planets.size()));
    (void)systemFileText(star);
}
