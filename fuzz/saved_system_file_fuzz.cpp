// Any text read as a saved-system file must load without a crash and leave a consistent star.

#include <cstddef>
#include <cstdint>
#include <string>

#include "files/saved_system_file.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::string text(reinterpret_cast<const char*>(data), size);
    // A "gensystem" line runs the whole planetary generator, which has its own tests; keep the
    // runs short by letting it through only rarely.
    if (size > 0 && data[0] != 'G')
        for (std::size_t at = text.find("gensystem"); at != std::string::npos; at = text.find("gensystem", at + 1))
            text[at] = 'g' + 1;
    GalaxyCatalogue catalogue;
    StarRecord star;
    readSystemText(catalogue, text, star);
    if (!star.physical) __builtin_trap();
    if (star.system && star.system->planetcount != static_cast<int>(star.system->planets.size())) __builtin_trap();
    if (star.system) (void)systemFileText(star);
    return 0;
}
