#include "export/system_export.h"

#include <charconv>
#include <cmath>
#include <fstream>
#include <limits>
#include <optional>
#include <sstream>

#include "export/asteroids.h"
#include "export/habitability.h"
#include "files/general_number.h"
#include "files/safe_name.h"
#include "files/simulator_paths.h"
#include "generation/lcg_random.h"

namespace {

constexpr double kMetresPerAu = 149597870691.0;
constexpr double kKgPerSolarMass = 1.9889194444e30;
constexpr double kRadiansPerDegree = 0.017453292519943295;

// Numbers of one export: general notation with six significant digits until the first body
// file's "Size = ", fixed notation with six decimals from there on, in every later file too.
class ExportNumbers {
public:
    std::string operator()(double value) const {
        if (!fixed_) return generalNumber(value);
        char text[400];
        const auto result = std::to_chars(text, text + sizeof text, value, std::chars_format::fixed, 6);
        return std::string(text, result.ptr);
    }
    void switchToFixed() { fixed_ = true; }

private:
    bool fixed_ = false;
};

std::string fixedSix(double value) {
    char text[400];
    const auto result = std::to_chars(text, text + sizeof text, value, std::chars_format::fixed, 6);
    return std::string(text, result.ptr);
}

// One configuration file: every line preceded by a line break.
class ConfigFile {
public:
    explicit ConfigFile(const ExportNumbers& numbers) : numbers_(numbers) {}

    void line(const std::string& text) { text_ << "\n" << text; }
    void blank() { text_ << "\n"; }
    // "key = value", left out when the value is not a number.
    void number(const std::string& key, double value) {
        if (std::isfinite(value)) line(key + " = " + numbers_(value));
    }
    // As number(), also left out when the value is 0 (a period of 0 would divide by zero).
    void period(const std::string& key, double value) {
        if (value != 0.0) number(key, value);
    }
    void numbers(const std::string& key, std::initializer_list<double> values) {
        std::string text = key + " =";
        for (const double value : values) {
            if (!std::isfinite(value)) return;
            text += " " + numbers_(value);
        }
        line(text);
    }
    std::string text() const { return text_.str(); }

private:
    const ExportNumbers& numbers_;
    std::ostringstream text_;
};

void writeFile(const std::filesystem::path& path, const std::string& text) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    if (out) out << text;
}

// The next draw as a real number from 0 to 1.
double unit(LcgRandom& random) { return random.next() / 32767.0; }

int cloudAltitude(double pressure, LcgRandom& random) {
    const double r = unit(random);
    double height;
    if (pressure < 0.5) height = 10.0 + 90.0 * r;
    else if (pressure < 150.0) height = 100.0 + 900.0 * r;
    else if (pressure < 600.0) height = 1000.0 + 4000.0 * r;
    else if (pressure < 2000.0) height = 5000.0 + 5000.0 * r;
    else if (pressure < 10000.0) height = 10000.0 + 40000.0 * r;
    else height = 50000.0 + 50000.0 * r;
    return static_cast<int>(std::trunc(height));
}

void askColour(PlanetRecord& body, const TexturePlugin* plugin) {
    if (plugin == nullptr || !plugin->loaded()) return;
    TextureRequest request{};
    request.basename = kColourRequestTag;
    request.radius = 1000;
    request.style = 1;
    request.cloudclass = 3;
    request.atmosphereclass = atmosphereClass(body);
    request.cloudcover = 0.0;
    request.watercover = 0.0;
    request.icecover = 0.0;
    request.colour = 0;
    plugin->justInitialize(request);
    body.colour = {static_cast<float>(request.colour & 0xFFu), static_cast<float>((request.colour >> 8) & 0xFFu),
                   static_cast<float>((request.colour >> 16) & 0xFFu)};
    plugin->clearGen(request);
}

void writeAtmosphere(ConfigFile& file, PlanetRecord& body, const TexturePlugin* plugin, LcgRandom& random) {
    askColour(body, plugin);
    const double p = body.surfpressure;
    const double rho = body.atmdensity;
    file.blank();
    file.line("; === Atmospheric Parameters === ");
    file.number("AtmPressure0", p * 100.0);
    file.number("AtmDensity0", rho);
    file.number("AtmGasConstant", body.molconst);
    const float toUnit = 0.003921568859368563f;
    file.numbers("AtmColor0", {body.colour[0] * toUnit, body.colour[1] * toUnit, body.colour[2] * toUnit});
    const double p0 = p * 100.0;
    const double g = body.surfaccel * 0.01;
    const double limit = (p0 * (std::log(p0) - std::log(0.01))) / (rho * g);
    file.number("AtmAltLimit", limit);
    file.number("AtmHorizonAlt", 0.8 * limit);
    file.number("AtmHazeExtent", rho * 0.011111111111111112 + 0.1);
    const double haze = 0.0031372549019607846;
    file.numbers("AtmHazeColor", {body.colour[0] * haze, body.colour[1] * haze, body.colour[2] * haze});
    file.blank();
    file.line("; === Cloud Parameters === ");
    const int height = cloudAltitude(p, random);
    file.line("CloudAlt = " + std::to_string(height));
    file.period("CloudRotPeriod", (body.mintemp / body.maxtemp) * 345600.0);
    file.line("CloudMicrotextureAlt = " + std::to_string(2 * height) + " " + std::to_string(5 * height));
}

}  // namespace

ExportDestination exportDestination(const std::filesystem::path& root, const std::string& systemName,
                                    bool toCache) {
    const std::string name = safeFileName(systemName);
    ExportDestination destination;
    if (toCache) {
        const std::filesystem::path config = resolveInside(root, "Config").value_or(root / "Config");
        destination.folder = config / "StarvaneSystems" / name;
        destination.reference = "StarvaneSystems/" + name + "/";
        destination.marker = resolveInside(config, "UMMUPermanentBase").value_or(config / "UMMUPermanentBase") /
                             ("SV_" + name + ".cfg");
    } else {
        destination.folder = root / "Starvane" / "SavedSystems" / name;
        destination.reference = "XXXXXXXXX/" + name + "/";
        destination.marker = destination.folder / ("SV_" + name + ".cfg");
    }
    return destination;
}

std::vector<PlanetRecord> exportSystem(const std::filesystem::path& root, GeneratedSystem& system,
                                       const StellarData& star, int maxAsteroids, int minAsteroids,
                                       bool toCache, const TexturePlugin* plugin, LcgRandom& random) {
    const std::string systemName = safeFileName(system.name);
    const ExportDestination destination = exportDestination(root, system.name, toCache);
    std::error_code error;
    // Our own folder below the simulator's configuration may be new; the configuration
    // folder itself must exist.
    if (toCache && std::filesystem::is_directory(destination.folder.parent_path().parent_path(), error))
        std::filesystem::create_directory(destination.folder.parent_path(), error);
    if (!toCache) std::filesystem::create_directories(destination.folder.parent_path(), error);
    std::filesystem::create_directory(destination.folder, error);

    std::vector<PlanetRecord> swarm = generateAsteroids(system, star.name, maxAsteroids, minAsteroids, random);
    system.asteroidtotal = static_cast<std::int32_t>(swarm.size());

    ExportNumbers numbers;
    const std::string& R = destination.reference;
    const std::string& S = systemName;

    // The system file.
    {
        ConfigFile file(numbers);
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
        writeFile(destination.folder / (S + "System.cfg"), file.text());
    }

    // The star file.
    {
        ConfigFile file(numbers);
        file.line("; === Configuration file for star " + S + " ===");
        file.line("Name = " + S);
        file.line("Module = Sun");
        file.line("ErrorLimit = 1e-6");
        file.line("SamplingInterval = 1497");
        file.number("Mass", star.mass * kKgPerSolarMass);
        file.number("Size", star.radius * 696000000.0);
        writeFile(destination.folder / (S + ".cfg"), file.text());
    }

    // The marker file lists the habitable bodies for the UMMU add-on; it has its own stream.
    std::ostringstream marker;
    marker << (toCache ? ";This file was created by starvane to indicate habitable planets to UMMU 2.0. It will "
                         "be deleted along with your texture files and system configs when the system gets "
                         "removed from cache"
                       : ";This file was created by starvane to indicate habitable planets to UMMU 2.0. It was "
                         "exported with the rest of a system to a custom folder. You'll need to place it in "
                         "Config/UMMUPermanentBase")
           << "\n";
    if (plugin != nullptr && plugin->loaded()) plugin->setOption(TEXTURE_OPTION_DETAIL, 0);

    for (std::size_t i = 0; i < system.planets.size(); ++i) {
        PlanetSlot& planet = system.planets[i];
        if (isBelt(planet)) continue;
        for (PlanetRecord& body : planet.bodies) {
            const std::string bodyName = safeFileName(body.name);
            ConfigFile file(numbers);
            file.line("; === Configuration file for Planet " + S + " " + std::to_string(i));
            file.line("Name = " + S + " " + bodyName);
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
            file.blank();
            file.line("; === Physical Parameters === ");
            numbers.switchToFixed();
            file.number("Size", body.radius * 1000.0);
            file.number("Mass", body.mass * kKgPerSolarMass);
            file.blank();
            file.line("; === Rotation Elements === ");
            file.period("SidRotPeriod", body.day * 3600.0);
            file.line("SidRotOffset = 0 ");
            // The simulator reads the axis tilt in radians; the record holds degrees.
            file.number("Obliquity", body.axtilt * kRadiansPerDegree);
            file.line("LAN = 1");
            if (hasAtmosphere(body) && !body.atmcompounds.empty()) writeAtmosphere(file, body, plugin, random);
            file.blank();
            file.line("; === Visualization Parameters === ");
            file.line("MaxPatchResolution = 8");
            file.line("MinCloudResolution = 1");
            file.line("MaxCloudResolution = 8");
            writeFile(destination.folder / (S + " " + bodyName + ".cfg"), file.text());

            if (rateHabitability(body).verdict == HabitabilityVerdict::habitable && std::isfinite(body.radius))
                marker << fixedSix(body.radius * 1000.0) << ",-999,1,0\n";
        }
    }
    writeFile(destination.marker, marker.str());

    for (PlanetRecord& asteroid : swarm) {
        ConfigFile file(numbers);
        file.line("; === Configuration file for Asteroid " + asteroid.name);
        file.line("Name = " + asteroid.name);
        file.line("EllipticOrbit = TRUE");
        file.line("HasElements = TRUE");
        file.blank();
        file.line("; === Orbital Parameters === ");
        file.line("Epoch = 2000");
        file.number("SemiMajorAxis", asteroid.sma * kMetresPerAu);
        file.number("Eccentricity", asteroid.ecc);
        file.number("Inclination", asteroid.inclination);
        file.number("LongAscNode", asteroid.longascnode);
        asteroid.longperihelion = 6.283 * unit(random);
        file.number("LongPerihelion", asteroid.longperihelion);
        asteroid.meanlongitude = 6.283 * unit(random);
        file.number("MeanLongitude", asteroid.meanlongitude);
        file.blank();
        file.line("; === Physical Parameters === ");
        file.number("Size", asteroid.radius * 1000.0);
        file.number("Mass", asteroid.mass * kKgPerSolarMass);
        file.blank();
        file.line("; === Rotation Elements === ");
        file.period("SidRotPeriod", asteroid.day * 3600.0);
        file.line("SidRotOffset = 0 ");
        file.number("Obliquity", asteroid.axtilt);  // drawn in radians already
        file.line("LAN = 1");
        writeFile(destination.folder / (asteroid.name + ".cfg"), file.text());
    }
    return swarm;
}
