#include "galaxy/stellar_tables.h"

#include <cmath>
#include <fstream>
#include <sstream>
#include <string_view>

#include "text/text_lines.h"
#include "text/text_number.h"
#include "galaxy/star_record.h"
#include "generation/main_sequence.h"

namespace {

constexpr int kTableLines = kSpectralClassCount * kSubtypeCount * kLuminosityClassCount;  // 1040

// Takes the next field ended by `separator` (or the rest of the line) off the front of `line`.
std::string_view takeField(std::string_view& line, char separator) {
    const std::size_t end = line.find(separator);
    std::string_view field = line.substr(0, end);
    line = end == std::string_view::npos ? std::string_view{} : line.substr(end + 1);
    return field;
}

void readRecordFields(std::string_view line, StellarClassRecord& record) {
    takeField(line, ';');  // the record's own name; the slot decides what it is
    record.mass = leadingNumber(takeField(line, ';'));
    record.luminosity = leadingNumber(takeField(line, ';'));
    record.radius = leadingNumber(takeField(line, ';'));
    record.temperature = leadingNumber(takeField(line, ';'));
    for (double& value : record.extra) value = leadingNumber(takeField(line, ';'));
    for (float& value : record.colour)
        value = static_cast<float>(leadingNumber(takeField(line, ' ')));
}

const char* classOfRed(int red) {
    switch (red) {
    case 0: return "V";
    case 78: return "DC";
    case 107: return "IV";
    case 139: return "III";
    case 162: return "II";
    case 180: return "Ib";
    case 192: return "Ia";
    case 210: return "Ia0";
    default: return "";
    }
}

StellarClassRecord fixedRemnant(const char* spectralclass, double mass, double luminosity,
                                double radius, double temperature,
                                std::array<double, 4> extra) {
    StellarClassRecord record;
    record.spectralclass = spectralclass;
    record.mass = mass;
    record.luminosity = luminosity;
    record.radius = radius;
    record.temperature = temperature;
    record.extra = extra;
    return record;
}

// Spreads every input bit over the whole word (a 32-bit integer hash finaliser), so that
// neighbouring identities give unrelated values.
std::uint32_t mixBits(std::uint32_t value) {
    value ^= value >> 16;
    value *= 0x7feb352du;
    value ^= value >> 15;
    value *= 0x846ca68bu;
    value ^= value >> 16;
    return value;
}

}  // namespace

int remnantDraw(const StarIdentity& identity) {
    std::uint32_t hash = 0x9e3779b9u;
    for (const std::int32_t part : {identity.x, identity.y, identity.z, identity.index})
        hash = mixBits(hash ^ static_cast<std::uint32_t>(part));
    return static_cast<int>(hash >> 17);  // the top 15 bits
}

bool StellarTables::load(const std::filesystem::path& root, const ImageLoader& images) {
    const std::filesystem::path data = root / "Starvane" / "Data";
    bool tableOk = false;
    bool tracksOk = false;
    readStellarTable(readTextFile(data / "StellarTable.csv", &tableOk));
    readTracks(readTextFile(data / "EvoTracks.dat", &tracksOk));
    hrimage_ = images.load((data / "HRRef.bmp").string());
    return tableOk && tracksOk && hrimage_ != nullptr;
}

void StellarTables::readStellarTable(const std::string& text) {
    table_ = {};
    const std::vector<std::string_view> lines = splitLines(text);
    const int available = static_cast<int>(lines.size());
    for (int i = 0; i < kTableLines + kSubtypeCount && i < available; ++i) {
        if (i < kTableLines) {
            const int block = i / (kSubtypeCount * kLuminosityClassCount);
            const int subtype = (i / kLuminosityClassCount) % kSubtypeCount;
            const int lum = i % kLuminosityClassCount;
            StellarClassRecord& record = table_[block][subtype][lum];
            readRecordFields(lines[i], record);
            record.code = luminosityClassCode(lum);
            record.spectralclass = spectralClassName(block);
            record.subtype = subtype;
        } else {
            const int subtype = i - kTableLines;
            StellarClassRecord& record = table_[kWhiteDwarfBlock][subtype][0];
            readRecordFields(lines[i], record);
            record.code.clear();
            record.spectralclass = "DC";
            record.subtype = subtype;
        }
    }
}

void StellarTables::readTracks(const std::string& text) {
    tracks_.assign(kTrackCount, EvolutionTrack{});
    const std::vector<std::string_view> lines = splitLines(text);
    std::size_t next = 0;
    for (EvolutionTrack& track : tracks_) {
        if (next >= lines.size()) break;
        std::string_view header = lines[next++];
        track.mass = leadingNumber(takeField(header, ';'));
        int count = leadingInteger(header);
        const std::size_t remaining = lines.size() - next;
        if (count < 0) count = 0;
        if (static_cast<std::size_t>(count) > remaining) count = static_cast<int>(remaining);
        track.count = count;
        track.points.resize(static_cast<std::size_t>(count));
        const bool heavy = track.mass > 7.0;
        for (TrackPoint& point : track.points) {
            std::string_view line = lines[next++];
            point.age = leadingNumber(takeField(line, ';'));
            if (heavy) point.currentmass = leadingNumber(takeField(line, ';'));
            point.logluminosity = leadingNumber(takeField(line, ';'));
            point.logtemperature = leadingNumber(takeField(line, ';'));
            point.loggravity = leadingNumber(takeField(line, ';'));
        }
    }
}

StellarClassRecord StellarTables::lookupByClass(const std::string& spectralclass, int subtype,
                                                const std::string& lumclass) const {
    const int block = spectralClassIndex(spectralclass);
    const int entry = subtype < 0 ? 0 : subtype > 9 ? 9 : subtype;
    return table_[block][entry][luminosityClassIndex(lumclass)];
}

StellarClassRecord StellarTables::mainSequenceByMass(double mass) const {
    for (int block = 0; block < kSpectralClassCount; ++block)
        for (int subtype = 0; subtype < kSubtypeCount; ++subtype) {
            const StellarClassRecord& record = table_[block][subtype][kMainSequenceIndex];
            if (record.mass < mass) return record;
        }
    return StellarClassRecord{};
}

const StellarClassRecord& StellarTables::whiteDwarf(int subtype) const {
    const int entry = subtype < 0 ? 0 : subtype > 9 ? 9 : subtype;
    return table_[kWhiteDwarfBlock][entry][0];
}

StellarClassRecord StellarTables::remnantRecord(const std::string& typeName, double mass) const {
    if (typeName == "White Dwarf") {
        const double limit = 0.21 * mass;
        for (int subtype = 0; subtype < kSubtypeCount; ++subtype)
            if (table_[kWhiteDwarfBlock][subtype][0].mass < limit)
                return table_[kWhiteDwarfBlock][subtype][0];
        // A white dwarf lighter than every record still is a white dwarf: the lightest one.
        return table_[kWhiteDwarfBlock][kSubtypeCount - 1][0];
    }
    if (typeName == "Neutron Star") return fixedRemnant("Neut", 1.5, 5, 10, 7000, {0, 25, -30, -5});
    if (typeName == "Black Hole") return fixedRemnant("BH", 4, 5, 0.0001, 0, {0, 30, 0, 30});
    return table_[0][0][0];
}

int StellarTables::trackIndexFor(double mass) const {
    const int last = static_cast<int>(tracks_.size()) - 1;
    if (last < 0) return -1;
    if (mass >= 120.0) return last;
    if (!(mass > tracks_[0].mass)) return 0;  // below the lightest track: the nearest end
    for (int i = 0; i < last; ++i) {
        const double lighter = tracks_[i].mass;
        const double heavier = tracks_[i + 1].mass;
        if (lighter < mass && mass <= heavier) return heavier - mass < mass - lighter ? i + 1 : i;
    }
    return last;  // above the heaviest track
}

std::string StellarTables::classAt(double surftemp, double luminosity) const {
    if (hrimage_ == nullptr) return "";
    const double column = std::trunc((std::log10(surftemp) - 3.3) * 100.0);
    const double row = std::trunc(80.0 - 10.0 * std::log10(luminosity));
    if (!std::isfinite(column) || !std::isfinite(row)) return "";
    if (column < 0 || row < 0 || column >= hrimage_->width() || row >= hrimage_->height()) return "";
    return classOfRed(hrimage_->pixel(static_cast<int>(column), static_cast<int>(row)).red);
}

bool StellarTables::evolve(StellarData& star, const StarIdentity& identity) const {
    const int trackIndex = trackIndexFor(star.mass);
    if (trackIndex < 0 || tracks_[trackIndex].points.empty()) return true;
    const EvolutionTrack& track = tracks_[trackIndex];

    const double years = star.age * 1000000.0;
    const TrackPoint& last = track.points.back();
    if (years >= 1.1 * last.age) {
        becomeRemnant(star, identity);
        return false;
    }
    const TrackPoint* point = &last;
    if (!(last.age <= years)) {
        for (const TrackPoint& candidate : track.points)
            if (candidate.age > years) {
                point = &candidate;
                break;
            }
    }

    const StellarClassRecord reference = mainSequenceByMass(track.mass);
    star.initialmass = star.mass;
    star.initialluminosity = star.luminosity;
    star.luminosity = std::pow(10.0, point->logluminosity) - reference.luminosity +
                      star.initialluminosity;
    star.surftemp = std::pow(10.0, point->logtemperature) - reference.temperature + star.surftemp;
    star.radius = std::sqrt(star.luminosity /
                            std::pow(star.surftemp * 0.00017307026652821047, 4.0));
    if (trackIndex < kLightTrackCount) {
        const double metres = star.radius * 695500000.0;
        star.mass = std::pow(10.0, point->loggravity) * 0.0010197162129779282 * 9.81 *
                    (metres * metres) * 14830634157.916592 * 5.027904872039821e-31;
    } else {
        star.mass = star.initialmass - reference.mass + point->currentmass;
    }

    const std::string named = classAt(star.surftemp, star.luminosity);
    if (!named.empty()) star.lumclass = named;
    for (int block = 0; block <= 6; ++block)
        for (int subtype = 0; subtype < kSubtypeCount; ++subtype)
            if (table_[block][subtype][kMainSequenceIndex].temperature < star.surftemp) {
                star.spectralclass = spectralClassName(block);
                star.subtype = subtype;
                return true;
            }
    return true;
}

void StellarTables::becomeRemnant(StellarData& star, const StarIdentity& identity) const {
    std::string typeName;
    if (star.mass < 9.0) {
        typeName = "White Dwarf";
    } else if (star.mass < 40.0) {
        typeName = "Neutron Star";
    } else if (star.mass >= 80.0) {
        typeName = "Black Hole";
    } else {
        // One chance in three of a black hole.
        const int draw = remnantDraw(identity);
        typeName = draw * 3.051850947599719e-05 * 3.0 >= 2.0 ? "Black Hole" : "Neutron Star";
    }
    const StellarClassRecord record = remnantRecord(typeName, star.mass);
    star.typename_ = typeName;
    star.mass = record.mass;
    star.luminosity = record.luminosity;
    star.lumclass = record.code;
    star.subtype = record.subtype;
    star.spectralclass = record.spectralclass;
    star.radius = record.radius;
    star.surftemp = record.temperature;
}

void StellarTables::fitEvolved(StellarData& star) const {
    if (tracks_.empty() || tracks_[0].points.empty()) return;
    const double logL = std::log10(star.luminosity);
    const double logT = std::log10(star.surftemp);
    const TrackPoint* best = &tracks_[0].points[0];
    double bestMass = tracks_[0].mass;
    for (int t = static_cast<int>(tracks_.size()) - 1; t >= 0; --t) {
        const EvolutionTrack& track = tracks_[t];
        const double lifetime = mainSequenceLifetime(track.mass);
        for (auto point = track.points.rbegin(); point != track.points.rend(); ++point) {
            if (std::fabs(logL - point->logluminosity) < std::fabs(logL - best->logluminosity) &&
                std::fabs(logT - point->logtemperature) < std::fabs(logT - best->logtemperature) &&
                point->age * 1e-06 > lifetime) {
                best = &*point;
                bestMass = track.mass;
            }
        }
    }
    star.initialmass = bestMass;
    star.age = best->age * 1e-06;
    star.initialluminosity = mainSequenceByMass(star.initialmass).luminosity;
    star.mslifetime = mainSequenceLifetime(star.initialmass);
}
