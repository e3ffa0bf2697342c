// export-json's input, any text: read or refused; a system read is within limits and writes as a file.

#include "cli/system_from_json.h"
#include "files/saved_system_file.h"
#include "fuzz/fuzz_text.h"
#include "generation/gas_table.h"
#include "text/format_limits.h"

void fuzzText(std::string text) {
    StarRecord star;
    if (readSystemJson(text, star)) return;
    require(star.physical && star.system);
    const GeneratedSystem& system = *star.system;
    require(system.planetcount == static_cast<int>(system.planets.size()) && system.planetcount <= kMostPlanets);
    for (const PlanetSlot& slot : system.planets) {
        require(!slot.bodies.empty() && slot.mooncount == static_cast<int>(slot.bodies.size()) - 1);
        for (const PlanetRecord& body : slot.bodies)
            require(body.gascount == static_cast<int>(body.atmcompounds.size()) && body.gascount <= kMostGases);
    }
    (void)systemFileText(star);
}
