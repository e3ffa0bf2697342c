#include "files/saved_system_file.h"

#include <algorithm>
#include <cstring>
#include <cmath>
#include <fstream>
#include <limits>
#include <sstream>
#include <string_view>
#include <vector>

#include "generation/gas_table.h"
#include "text/format_limits.h"
#include "text/general_number.h"
#include "files/safe_name.h"
#include "text/text_lines.h"
#include "text/text_number.h"
#include "generation/atmosphere.h"
#include "generation/body_node.h"
#include "generation/planet_physics.h"
#include "generation/main_sequence.h"
#include "generation/planet_fields.h"

namespace {

constexpr const char* kSeparator = "-------------------------------";
constexpr std::size_t kLongestValue = 80;

constexpr double kNoSurface = std::numeric_limits<double>::infinity();

const char* const kTypeWords[] = {
    "unknown", "rock",     "venusian",  "terrestrial", "jovian",     "martian",
    "oceanic", "ice",      "icegiant",  "gasdwarf",    "asteroids",  "oneface",
    "sudarskyi", "sudarskyii", "sudarskyiii", "sudarskyiv", "sudarskyv",
};

std::string number(double value) { return generalNumber(std::isfinite(value) ? value : 0.0); }

// The field the file stores under `fileKey`; a key the field table lacks does not compile.
consteval const PlanetField* stored(std::string_view fileKey) {
    for (const PlanetField& field : kPlanetFields)
        if (field.fileKey != nullptr && fileKey == field.fileKey) return &field;
    throw "the field table stores nothing under this key";
}

// The stored lines of a body block in the order of the file. The writer adds the lines that
// are no single field (name, type, gases, temperature range, gas fraction) between them.
constexpr const PlanetField* kOrbitLines[] = {stored("sma"), stored("ecc"), stored("axtilt"), stored("mass")};
constexpr const PlanetField* kBodyLines[] = {
    stored("radius"),        stored("albedo"),      stored("period"),        stored("day"),
    stored("hydrofraction"), stored("icefraction"), stored("cloudfraction"), stored("coreradius"),
};
// The orbit's orientation, in radians as Orbiter reads it.
constexpr const PlanetField* kOrientationLines[] = {stored("Inclination"), stored("LongAscNode"),
                                                    stored("LongPerihelion"), stored("MeanLongitude")};

void writeLine(std::ostringstream& out, const PlanetRecord& body, const PlanetField* field) {
    out << "\n" << field->fileKey << " " << number(body.*field->real * field->toFile);
}

template <std::size_t N>
void writeLines(std::ostringstream& out, const PlanetRecord& body, const PlanetField* const (&fields)[N]) {
    for (const PlanetField* field : fields) writeLine(out, body, field);
}

void writeBody(std::ostringstream& out, const PlanetRecord& body, int planet, int index,
               int moons) {
    out << "\nplanetnumber " << planet << " " << index;
    if (index == 0) out << "\nmoons " << moons;
    out << "\nname " << oneLineName(body.name);
    out << "\ntype " << planetTypeWord(body.type);
    writeLines(out, body, kOrbitLines);
    if (body.surfpressure > 0.1 && body.surfpressure != kNoSurface) {
        writeLine(out, body, stored("surfpressure"));
        out << "\natmcompounds " << body.atmcompounds.size() << " ";
        for (const AtmosphereGas& gas : body.atmcompounds)
            out << gas.gasnumber << " " << number(gas.percentage) << " "
                << number(gas.partialpressure) << " ";
        writeLine(out, body, stored("molconst"));
    }
    if (body.medsurftemp != kNoSurface) {
        writeLine(out, body, stored("medsurftemp"));
        out << "\ntemprange " << number(body.lowtemp) << " " << number(body.hightemp) << " "
            << number(body.mintemp) << " " << number(body.maxtemp);
    }
    writeLines(out, body, kBodyLines);
    out << "\ngasfraction " << number(body.mass != 0.0 ? body.gasmass / body.mass : 0.0);
    writeLines(out, body, kOrientationLines);
    out << "\n\n\n" << kSeparator << "\n";
}

// Steps through the blank-separated value tokens of a line after its key.
class Tokens {
public:
    Tokens(std::string_view line, std::size_t keyLength)
        : rest_(line.size() > keyLength ? line.substr(keyLength + 1) : std::string_view{}) {}

    std::string_view next() {
        const std::size_t end = rest_.find(' ');
        std::string_view token = rest_.substr(0, end);
        rest_ = end == std::string_view::npos ? std::string_view{} : rest_.substr(end + 1);
        if (token.size() > kLongestValue) token = token.substr(0, kLongestValue);
        return token;
    }
    double number() { return leadingNumber(next()); }
    int integer() { return leadingInteger(next()); }

private:
    std::string_view rest_;
};

std::string textValue(std::string_view line, std::size_t keyLength) {
    std::string_view value = line.size() > keyLength ? line.substr(keyLength + 1) : std::string_view{};
    if (value.size() > kLongestValue) value = value.substr(0, kLongestValue);
    return std::string(value);
}

bool startsWith(std::string_view line, std::string_view key) {
    return line.substr(0, key.size()) == key;
}

// A line of a field the table stores; lines of unknown keys are ignored.
void storedLine(PlanetRecord& b, std::string_view line) {
    for (const PlanetField& field : kPlanetFields) {
        if (field.fileKey == nullptr || !startsWith(line, field.fileKey)) continue;
        b.*field.real = Tokens(line, std::strlen(field.fileKey)).number() * field.fromFile;
        return;
    }
}

// The keys of a body block that name no single field of the table. No key of a body block
// begins like another, so a line matches one key at most and the reader may try them in any
// order.
constexpr std::string_view kCompositeKeys[] = {"planetnumber", "moons",       "name",        "type",
                                               "temprange",    "gasfraction", "atmcompounds"};

constexpr bool bodyKeysArePrefixFree() {
    std::vector<std::string_view> keys(std::begin(kCompositeKeys), std::end(kCompositeKeys));
    for (const PlanetField& field : kPlanetFields)
        if (field.fileKey != nullptr) keys.push_back(field.fileKey);
    for (std::size_t i = 0; i < keys.size(); ++i)
        for (std::size_t j = 0; j < keys.size(); ++j)
            if (i != j && keys[j].starts_with(keys[i])) return false;
    return true;
}
static_assert(bodyKeysArePrefixFree());

bool isGiantWord(PlanetType type) {
    return type == icegiant || type == gasdwarf || (type >= sudarskyi && type <= sudarskyv);
}

// Reading state: which body the lines describe.
struct Reader {
    GalaxyCatalogue& catalogue;
    StarRecord& star;
    bool bodyPhase = false;
    PlanetRecord* body = nullptr;
    int planet = 0;  // from 1; the planet the current body belongs to
    int index = 0;   // 0 for the planet, moons from 1
    int lineNumber = 0;
    int bodyTotal = 0;     // body records of the system so far
    std::string problem{};  // the first count that was cut, with its line
    int cutLines = 0;

    GeneratedSystem& system() { return *star.system; }

    // Remembers the first count of the file that had to be cut, with its line.
    void noteCut(const std::string& what) {
        if (cutLines++ == 0) problem = "line " + std::to_string(lineNumber) + ": " + what;
    }

    // A count of the file, at most `most`, and 0 when negative.
    int boundedCount(int count, int most, const char* what) {
        if (count <= most) return count < 0 ? 0 : count;
        noteCut(std::to_string(count) + " " + what + ", more than the " + std::to_string(most) +
                " allowed; the first " + std::to_string(most) + " are kept");
        return most;
    }

    void countBodies() {
        bodyTotal = 0;
        for (const PlanetSlot& slot : system().planets) bodyTotal += static_cast<int>(slot.bodies.size());
    }

    // The derived quantities of a body, which the file does not hold.
    void finishBody() {
        if (body == nullptr) return;
        PlanetRecord& b = *body;
        if (isGiantWord(b.type)) {
            b.atmdensity = kNoSurface;
            b.surfpressure = kNoSurface;
            b.medsurftemp = kNoSurface;
            b.gasgiant = 1;
            b.hydrofraction = 1.0;
            b.cloudfraction = 1.0;
        }
        const double cm = b.radius * 100000.0;
        b.density = b.mass * 1.98892e33 / (4.0 / 3.0 * 3.1415926536 * (cm * cm * cm));
        b.escvelocity = escapeVelocity(b.mass, b.radius);
        b.surfaccel = surfaceAcceleration(b.mass, b.radius);
        b.surfgrav = surfaceGravity(b.surfaccel);
        b.minmolweight = retainedWeight(b);
        // The file keeps the gases but not the air's density, which the export needs.
        if (b.surfpressure > 0.1 && std::isfinite(b.surfpressure) && !b.atmcompounds.empty())
            b.atmdensity = surfaceAtmosphereDensity(meanMolarMass(b.atmcompounds), b.surfpressure, b.maxtemp,
                                                    b.mintemp);
        body = nullptr;
    }

    // The lightest gas the body keeps over its star's age, with the exosphere the body has
    // at its distance from the star (a moon shares its planet's distance).
    double retainedWeight(const PlanetRecord& b) {
        const StellarData& stellar = *star.physical;
        const std::vector<PlanetRecord>& bodies = system().planets[planet - 1].bodies;
        const double distance = index == 0 ? b.sma : bodies[0].sma;
        GeneratorStar generatorStar;
        generatorStar.mass = stellar.mass;
        generatorStar.luminosity = stellar.luminosity;
        generatorStar.ecosphereradius = std::sqrt(stellar.luminosity);
        generatorStar.age = stellar.age * 1e6;
        BodyNode node;
        node.mass = b.mass;
        node.radius = b.radius;
        node.sma = distance;
        node.surfgrav = b.surfgrav;
        node.exotemp = exosphereTemp(distance, generatorStar.ecosphereradius);
        node.star = &generatorStar;
        const double weight = minMolecularWeight(node);
        return std::isfinite(weight) ? weight : 0.0;
    }

    void selectBody(int planetNumber, int bodyIndex) {
        finishBody();
        planet = planetNumber;
        index = bodyIndex;
        const auto& planets = system().planets;
        if (planetNumber >= 1 && planetNumber <= static_cast<int>(planets.size())) {
            auto& bodies = system().planets[planetNumber - 1].bodies;
            if (bodyIndex >= 0 && bodyIndex < static_cast<int>(bodies.size())) {
                body = &bodies[bodyIndex];
                body->planetnumber = bodyIndex == 0 ? planetNumber : bodyIndex;
            }
        }
    }

    void headerLine(std::string_view line);
    void bodyLine(std::string_view line);
    void moonsLine(std::string_view line);
    bool compositeLine(PlanetRecord& b, std::string_view line);
    void finish();
};

void Reader::headerLine(std::string_view line) {
    StellarData& data = *star.physical;
    if (startsWith(line, "name")) {
        data.name = textValue(line, 4);
    } else if (startsWith(line, "alias")) {
        star.alias = textValue(line, 5);
    } else if (startsWith(line, "coord")) {
        Tokens t(line, line.find(' ') == std::string_view::npos ? line.size() : line.find(' '));
        star.cube.x = t.integer();
        star.cube.y = t.integer();
        star.cube.z = t.integer();
        for (float& value : star.offset) value = static_cast<float>(t.integer());
    } else if (startsWith(line, "ecliptic")) {
        Tokens t(line, 8);
        for (float& value : star.ecliptic) value = static_cast<float>(t.number());
    } else if (startsWith(line, "cntname")) {
        star.cntname = textValue(line, 7);
    } else if (startsWith(line, "path")) {
        star.path = textValue(line, 4);
        star.systemfromfile = 1;
    } else if (startsWith(line, "class")) {
        Tokens t(line, 5);
        data.spectralclass = std::string(t.next());
        data.subtype = t.integer();
        data.lumclass = std::string(t.next());
    } else if (startsWith(line, "mass")) {
        data.mass = Tokens(line, 4).number();
    } else if (startsWith(line, "radius")) {
        data.radius = Tokens(line, 6).number();
    } else if (startsWith(line, "surftemp")) {
        data.surftemp = Tokens(line, 8).integer();
    } else if (startsWith(line, "age")) {
        data.age = Tokens(line, 3).number();
    } else if (startsWith(line, "luminosity")) {
        data.luminosity = Tokens(line, 10).number();
    } else if (startsWith(line, "planets")) {
        if (!star.system) return;  // the file dropped its system before
        const int count = boundedCount(Tokens(line, 7).integer(), kMostPlanets, "planets in a system");
        system().planets.assign(static_cast<std::size_t>(count), PlanetSlot{});
        system().planetcount = count;
        bodyTotal = 0;
    } else if (startsWith(line, "gensystem")) {
        const double seed = std::trunc(Tokens(line, 9).number());
        if (seed == 0.0) {
            star.system.reset();
            star.systemready = 0;
            star.systemfromfile = 0;
        } else {
            if (!star.system) star.system = std::make_unique<GeneratedSystem>();
            finish();
            star.system->generateFor(seed, data, catalogue.systemRandom);
            star.systemready = 1;
            countBodies();
        }
    } else if (startsWith(line, "planetnumber")) {
        bodyPhase = true;
        bodyLine(line);
    }
}

void Reader::bodyLine(std::string_view line) {
    if (startsWith(line, "planetnumber")) {
        if (!star.system) return;
        Tokens t(line, 12);
        const int p = t.integer();
        selectBody(p, t.integer());
    } else if (startsWith(line, "moons")) {
        moonsLine(line);
    } else if (body != nullptr && !compositeLine(*body, line)) {
        storedLine(*body, line);
    }
}

// Gives the current planet its slot of bodies: itself and its moons, all empty rocks.
void Reader::moonsLine(std::string_view line) {
    if (!star.system || planet < 1 || planet > static_cast<int>(system().planets.size())) return;
    body = nullptr;
    PlanetSlot& slot = system().planets[planet - 1];
    bodyTotal -= static_cast<int>(slot.bodies.size());
    const int moons = boundedCount(Tokens(line, 5).integer(), kMostMoons, "moons of a planet");
    int bodies = moons + 1;
    if (bodies > kMostBodies - bodyTotal) {
        bodies = std::max(0, kMostBodies - bodyTotal);
        noteCut("planet " + std::to_string(planet) + " and its moons would make more than the " +
                std::to_string(kMostBodies) + " planets and moons a system may hold; it keeps " +
                std::to_string(bodies));
    }
    PlanetRecord empty;
    empty.type = rock;
    slot.bodies.assign(static_cast<std::size_t>(bodies), empty);
    slot.mooncount = bodies > 0 ? bodies - 1 : 0;
    bodyTotal += bodies;
    selectBody(planet, index);
}

// The lines that are no single field of the table. Returns false for any other line.
bool Reader::compositeLine(PlanetRecord& b, std::string_view line) {
    if (startsWith(line, "name")) {
        b.name = textValue(line, 4);
    } else if (startsWith(line, "type")) {
        if (const auto type = planetTypeOfWord(Tokens(line, 4).next())) b.type = *type;
    } else if (startsWith(line, "temprange")) {
        Tokens t(line, 9);
        b.lowtemp = t.number();
        b.hightemp = t.number();
        b.mintemp = t.number();
        b.maxtemp = t.number();
    } else if (startsWith(line, "gasfraction")) {
        b.gasmass = Tokens(line, 11).number() * b.mass;
        b.dustmass = b.mass - b.gasmass;
    } else if (startsWith(line, "atmcompounds")) {
        Tokens t(line, 12);
        const int count = boundedCount(t.integer(), kMostGases, "gases in an atmosphere");
        b.atmcompounds.assign(static_cast<std::size_t>(count), AtmosphereGas{});
        for (AtmosphereGas& gas : b.atmcompounds) {
            gas.gasnumber = t.integer();
            gas.percentage = t.number();
            gas.partialpressure = t.number();
        }
        b.gascount = count;
    } else {
        return false;
    }
    return true;
}

// What the file does not say about the star: a star read from a file is taken as it is now,
// so its main-sequence values are its present ones where the file gives none; and a system
// without a name takes the star's.
void Reader::finish() {
    StellarData& data = *star.physical;
    if (data.initialmass == 0.0) data.initialmass = data.mass;
    if (data.initialluminosity == 0.0) data.initialluminosity = data.luminosity;
    if (data.mslifetime == 0.0 && data.mass > 0.0) data.mslifetime = mainSequenceLifetime(data.mass);
    if (star.system && star.system->name.empty()) star.system->name = data.name;
}

std::vector<std::string_view> lines(std::string_view text) {
    std::vector<std::string_view> result;
    std::size_t start = 0;
    while (start <= text.size()) {
        std::size_t end = text.find('\n', start);
        if (end == std::string_view::npos) end = text.size();
        std::string_view line = text.substr(start, end - start);
        if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
        result.push_back(line);
        if (end == text.size()) break;
        start = end + 1;
    }
    return result;
}

}  // namespace

const char* planetTypeWord(PlanetType type) {
    return type >= 0 && type < kPlanetTypeCount ? kTypeWords[type] : "unknown";
}

std::optional<PlanetType> planetTypeOfWord(std::string_view word) {
    for (std::int32_t type = rock; type < kPlanetTypeCount; ++type)
        if (word == kTypeWords[type]) return static_cast<PlanetType>(type);
    return std::nullopt;
}

std::string systemFileText(const StarRecord& star) {
    const StellarData& data = *star.physical;
    // A name that spans lines would end its line early and turn the rest into other keys.
    const std::string name = oneLineName(data.name);
    std::ostringstream out;
    out << "\nname " << name;
    out << "\nalias " << name;
    out << "\npath xxxxxx";
    out << "\ncntname " << name;
    out << "\nclass " << data.spectralclass << " " << data.subtype << " " << data.lumclass;
    out << "\nmass " << number(data.mass);
    out << "\nradius " << number(data.radius);
    out << "\necliptic " << number(star.ecliptic[0]) << " " << number(star.ecliptic[1]) << " "
        << number(star.ecliptic[2]);
    out << "\nsurftemp " << number(data.surftemp);
    out << "\nage " << number(data.age);
    out << "\nluminosity " << number(data.luminosity);
    const GeneratedSystem* system = star.system.get();
    out << "\nplanets " << (system != nullptr ? system->planetcount : 0);
    out << "\n\n" << kSeparator << "\n";
    if (system != nullptr) {
        int planetNumber = 0;
        for (const PlanetSlot& slot : system->planets) {
            ++planetNumber;
            for (std::size_t j = 0; j < slot.bodies.size(); ++j)
                writeBody(out, slot.bodies[j], planetNumber, static_cast<int>(j), slot.mooncount);
        }
    }
    return out.str();
}

std::filesystem::path savedSystemPath(const std::filesystem::path& root, const StarRecord& star,
                                      bool toCache) {
    const std::string systemName = safeFileName(star.system ? star.system->name : std::string());
    if (toCache) return root / "Config" / "EPP" / (systemName + ".epp");
    const std::string starName = safeFileName(star.physical ? star.physical->name : std::string());
    return root / "Starvane" / "SavedSystems" / starName / (systemName + ".svs");
}

bool saveSystemFile(const std::filesystem::path& root, const StarRecord& star, bool toCache) {
    if (!star.physical || !star.system) return false;
    const std::filesystem::path target = savedSystemPath(root, star, toCache);
    std::error_code error;
    // A fresh simulator root has no Starvane/SavedSystems yet; the root itself must exist.
    if (!toCache && std::filesystem::is_directory(root, error))
        std::filesystem::create_directories(target.parent_path(), error);
    std::ofstream out(target, std::ios::binary | std::ios::trunc);
    if (!out) return false;
    out << systemFileText(star);
    out.close();
    return static_cast<bool>(out);
}

void readSystemText(GalaxyCatalogue& catalogue, const std::string& text, StarRecord& star, std::string* problem) {
    star.physical = std::make_unique<StellarData>();
    star.system = std::make_unique<GeneratedSystem>();
    star.alias.clear();
    star.cntname.clear();
    star.systemready = 1;
    star.systemfromfile = 1;

    Reader reader{catalogue, star};
    for (std::string_view line : lines(text)) {
        ++reader.lineNumber;
        if (reader.bodyPhase)
            reader.bodyLine(line);
        else
            reader.headerLine(line);
    }
    reader.finishBody();
    reader.finish();
    if (star.alias.empty()) ++catalogue.noaliascount;
    if (problem == nullptr) return;
    *problem = reader.problem;
    if (reader.cutLines > 1) *problem += " (and " + std::to_string(reader.cutLines - 1) + " more counts cut)";
}

bool loadSystemFile(GalaxyCatalogue& catalogue, const std::filesystem::path& path, StarRecord& star,
                    MessageSink* messages) {
    std::string text;
    std::string problem;
    const auto refusal = readBoundedFile(path, kMostSystemFileBytes, text);
    if (refusal) {
        star.physical = std::make_unique<StellarData>();
        star.system = std::make_unique<GeneratedSystem>();
        problem = *refusal;
    } else {
        readSystemText(catalogue, text, star, &problem);
    }
    if (messages != nullptr && !problem.empty())
        messages->showMessage(kFileProblemTitle, path.string() + ", " + problem);
    return !refusal;
}
