#include "export/config_writers.h"

#include <charconv>
#include <cmath>
#include <fstream>
#include <sstream>

#include "export/asteroids.h"
#include "export/atmosphere_block.h"
#include "export/habitability.h"
#include "files/safe_name.h"

namespace {

constexpr double kMetresPerAu = 149597870691.0;
constexpr double kKgPerSolarMass = 1.9889194444e30;
constexpr double kRadiansPerDegree = 0.017453292519943295;

// The next draw as a real number from 0 to 1.
double unit(LcgRandom& random) { return random.next() / 32767.0; }

// The head of a body's or asteroid's file up to and including its orbital elements.
void writeOrbit(ConfigFile& file, const std::string& title, const std::string& name, const PlanetRecord& body) {
    file.line(title);
    file.line("Name = " + name);
    file.line("EllipticOrbit = TRUE");
    file.line("HasElements = TRUE");
    file.blank();
    file.line("; === Orbital Parameters === ");
    file.line("Epoch = 2000");
    file.number("SemiMajorAxis", body.sma * kMetresPerAu);
    file.number("Eccentricity", body.ecc);
    file.number("Inclination", body.inclination);
    file.number("LongAscNode", body.longascnode);
    file.number("LongPerihelion", body.longperihelion);
    file.number("MeanLongitude", body.meanlongitude);
}

std::string bodyName(const std::string& systemName, const PlanetRecord& body) {
    return systemName + " " + safeFileName(body.name);
}

// The written digits read back: a value left out of the file is not a number.
double asWritten(double value) {
    if (!std::isfinite(value)) return std::nan("");
    const std::string text = fixedSix(value);
    double read = 0.0;
    std::from_chars(text.data(), text.data() + text.size(), read);
    return read;
}

void writePhysics(ConfigFile& file, const PlanetRecord& body) {
    file.number("Size", body.radius * 1000.0);
    file.number("Mass", body.mass * kKgPerSolarMass);
}

void writeRotation(ConfigFile& file, const PlanetRecord& body, double obliquityRadians) {
    file.blank();
    file.line("; === Rotation Elements === ");
    file.period("SidRotPeriod", body.day * 3600.0);
    file.line("SidRotOffset = 0 ");
    file.number("Obliquity", obliquityRadians);
    file.line("LAN = 1");
}

bool habitable(const PlanetRecord& body) {
    return rateHabitability(body).verdict == HabitabilityVerdict::habitable && std::isfinite(body.radius);
}

}  // namespace

void ExportTarget::save(const std::filesystem::path& path, const std::string& text) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    if (out) out << text;
    if (out) out.close();
    if (!out && !unwritten) unwritten = path;
}

void writeSystemFile(ExportTarget& target, const GeneratedSystem& system, const std::vector<PlanetRecord>& swarm) {
    const std::string& R = target.reference;
    const std::string& S = target.systemName;
    ConfigFile file(target.numbers);
    file.line("; === Configuration file for the " + S + " solar system ===");
    file.line("Name = " + S + " System");
    file.blank();
    file.line("Star1 = " + R + S);
    int planetNumber = 0;
    for (const PlanetSlot& planet : system.planets) {
        if (isBelt(planet) || planet.bodies.empty()) continue;
        const std::string planetName = safeFileName(planet.bodies[0].name);
        file.line("Planet" + std::to_string(++planetNumber) + " = " + R + S + " " + planetName);
        for (std::size_t j = 1; j < planet.bodies.size(); ++j)
            file.line(S + " " + planetName + ":Moon" + std::to_string(j) + " = " + R + S + " " +
                      safeFileName(planet.bodies[j].name));
    }
    for (std::size_t k = 0; k < swarm.size(); ++k)
        file.line("Planet" + std::to_string(planetNumber + static_cast<int>(k) + 1) + " = " + R + swarm[k].name);
    target.save(target.folder / (S + "System.cfg"), file.text());
}

void writeStarFile(ExportTarget& target, const StellarData& star) {
    const std::string& S = target.systemName;
    ConfigFile file(target.numbers);
    file.line("; === Configuration file for star " + S + " ===");
    file.line("Name = " + S);
    file.line("Module = Sun");
    file.line("ErrorLimit = 1e-6");
    file.line("SamplingInterval = 1497");
    file.number("Mass", star.mass * kKgPerSolarMass);
    file.number("Size", star.radius * 696000000.0);
    target.save(target.folder / (S + ".cfg"), file.text());
}

WrittenBody writtenBody(const std::string& systemName, const PlanetRecord& body) {
    // Body files are in fixed notation from their "Size =" on (see writeBodyFile).
    return {bodyName(systemName, body), asWritten(body.radius * 1000.0), asWritten(body.mass * kKgPerSolarMass)};
}

void writeBodyFile(ExportTarget& target, std::size_t slot, PlanetRecord& body, const TexturePlugin* plugin,
                   LcgRandom& random) {
    const std::string name = bodyName(target.systemName, body);
    ConfigFile file(target.numbers);
    writeOrbit(file, "; === Configuration file for Planet " + target.systemName + " " + std::to_string(slot), name,
               body);
    file.blank();
    file.line("; === Physical Parameters === ");
    target.numbers.switchToFixed();
    writePhysics(file, body);
    // The simulator reads the axis tilt in radians; the record holds degrees.
    writeRotation(file, body, body.axtilt * kRadiansPerDegree);
    if (hasAtmosphere(body) && !body.atmcompounds.empty()) writeAtmosphere(file, body, plugin, random);
    file.blank();
    file.line("; === Visualization Parameters === ");
    file.line("MaxPatchResolution = 8");
    file.line("MinCloudResolution = 1");
    file.line("MaxCloudResolution = 8");
    target.save(target.folder / (name + ".cfg"), file.text());
}

void writeAsteroidFile(ExportTarget& target, PlanetRecord& asteroid, LcgRandom& random) {
    asteroid.longperihelion = 6.283 * unit(random);
    asteroid.meanlongitude = 6.283 * unit(random);
    ConfigFile file(target.numbers);
    writeOrbit(file, "; === Configuration file for Asteroid " + asteroid.name, asteroid.name, asteroid);
    file.blank();
    file.line("; === Physical Parameters === ");
    writePhysics(file, asteroid);
    writeRotation(file, asteroid, asteroid.axtilt);  // drawn in radians already
    target.save(target.folder / (asteroid.name + ".cfg"), file.text());
}

void writeMarkerFile(ExportTarget& target, const std::filesystem::path& path, const GeneratedSystem& system,
                     bool toCache) {
    std::error_code error;
    if (!std::filesystem::is_directory(path.parent_path(), error)) return;
    std::ostringstream marker;
    marker << (toCache ? ";This file was created by starvane to indicate habitable planets to UMMU 2.0. It will "
                         "be deleted along with your texture files and system configs when the system gets "
                         "removed from cache"
                       : ";This file was created by starvane to indicate habitable planets to UMMU 2.0. It was "
                         "exported with the rest of a system to a custom folder. You'll need to place it in "
                         "Config/UMMUPermanentBase")
           << "\n";
    for (const PlanetSlot& planet : system.planets) {
        if (isBelt(planet)) continue;
        for (const PlanetRecord& body : planet.bodies)
            if (habitable(body)) marker << fixedSix(body.radius * 1000.0) << ",-999,1,0\n";
    }
    target.save(path, marker.str());
}
