#include "cli/picture_output.h"

#include <iostream>

#include "export/system_picture.h"
#include "files/atomic_file.h"

bool writeSystemPicture(const std::string& path, const GeneratedSystem& system, const StellarData& star,
                        const char* command) {
    if (!writeFileAtomically(path, systemPictureSvg(system, star))) {
        std::cerr << "starvane-cli " << command << ": cannot write the picture " << path << "\n";
        return false;
    }
    std::cerr << "starvane-cli " << command << ": wrote the picture " << path << "\n";
    return true;
}
