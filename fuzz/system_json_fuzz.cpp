// Any text given to export-json as a system must be read or refused without a crash; a system
// read has consistent counts within the limits and writes as a saved-system file.

#include <cstddef>
#include <cstdint>
#include <string>

#include "cli/system_from_json.h"
#include "generation/gas_table.h"
#include "text/format_limits.h"
#include "files/saved_system_file.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    StarRecord star;
    if (readSystemJson(std::string(reinterpret_cast<const char*>(data), size), star)) return 0;
    if (!star.physical || !star.system) __builtin_trap();
    const GeneratedSystem& system = *star.system;
    if (system.planetcount != static_cast<int>(system.planets.size()) || system.planetcount > kMostPlanets)
        __builtin_trap();
    for (const PlanetSlot& slot : system.planets) {
        if (slot.bodies.empty() || slot.mooncount != static_cast<int>(slot.bodies.size()) - 1) __builtin_trap();
        for (const PlanetRecord& body : slot.bodies)
            if (body.gascount != static_cast<int>(body.atmcompounds.size()) || body.gascount > kMostGases)
                __builtin_trap();
    }
    (void)systemFileText(star);
    return 0;
}
