#pragma once
// The stellar tables: a record of mass, luminosity, radius and temperature for every spectral
// class, subtype and luminosity class; the evolution tracks of stars of 0.1 to 120 solar
// masses; and the HR reference image whose colours name the luminosity class of each region
// of the Hertzsprung-Russell diagram. Loaded once at start-up and read-only afterwards.

#include <array>
#include <cstdint>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "platform/pixel_image.h"
#include "galaxy/spectral_class.h"

struct StellarData;

// What names a star for the one choice its evolution leaves open: whether a star of 40 to 80
// solar masses ends as a black hole or a neutron star. A generated star is named by its cube
// and its place among the cube's generated stars, so it is the same remnant every time its
// cube is filled, whatever was drawn before.
struct StarIdentity {
    std::int32_t x = 0;
    std::int32_t y = 0;
    std::int32_t z = 0;
    std::int32_t index = 0;
};

// The value 0..32767 that an identity fixes for the remnant choice; a black hole when
// value * 3.051850947599719e-05 * 3 >= 2, one value in three.
int remnantDraw(const StarIdentity& identity);

// One row of the stellar table. The four further numbers and three floats are carried, never
// computed with; our table holds the absolute visual magnitude, the bolometric correction,
// B-V and log g, and a display colour.
struct StellarClassRecord {
    std::string code;  // luminosity-class code of the slot; empty for white dwarfs and remnants
    std::string spectralclass;
    std::int32_t subtype = 0;
    double mass = 0.0;
    double luminosity = 0.0;
    double radius = 0.0;
    double temperature = 0.0;
    std::array<double, 4> extra{0.0, 0.0, 0.0, 0.0};
    std::array<float, 3> colour{0.0f, 0.0f, 0.0f};
};

// One point of a track: age in years, base-10 logarithms of luminosity, temperature and
// surface gravity (cm/s²), and the current mass (0 on tracks of 7 solar masses or less).
struct TrackPoint {
    double age = 0.0;
    double logluminosity = 0.0;
    double logtemperature = 0.0;
    double loggravity = 0.0;
    double currentmass = 0.0;
};

struct EvolutionTrack {
    double mass = 0.0;  // initial mass
    std::int32_t count = 0;
    std::vector<TrackPoint> points;  // ascending age
};

constexpr int kTrackCount = 39;
constexpr int kLightTrackCount = 26;  // tracks 0..25 are of 7 solar masses or less

class StellarTables {
public:
    // Reads "Starvane/Data/StellarTable.csv", "EvoTracks.dat" and "HRRef.bmp" below `root`.
    // What cannot be read stays 0 or empty. Returns true when all three files were read.
    bool load(const std::filesystem::path& root, const ImageLoader& images);

    // Reads the two text files from their contents (used by load and by tests).
    void readStellarTable(const std::string& text);
    void readTracks(const std::string& text);
    void setReferenceImage(std::unique_ptr<PixelImage> image) { hrimage_ = std::move(image); }

    // The record of a classification; unknown classes map to "M", unknown luminosity classes
    // to "VI", and subtypes are kept within 0..9.
    StellarClassRecord lookupByClass(const std::string& spectralclass, int subtype,
                                     const std::string& lumclass) const;

    // The first main-sequence record, from O0 down to S9, lighter than `mass`; an empty record
    // when none is.
    StellarClassRecord mainSequenceByMass(double mass) const;

    // The record of a remnant: a white dwarf from the white-dwarf block, or the fixed neutron
    // star and black hole records; any other name gives the table's first record.
    StellarClassRecord remnantRecord(const std::string& typeName, double mass) const;

    // Moves a star older than its main-sequence life along its track. Returns false when it
    // has become a remnant (white dwarf, neutron star or black hole); `identity` decides
    // between the last two for 40 to 80 solar masses.
    bool evolve(StellarData& star, const StarIdentity& identity) const;

    // Finds the history (initial mass, age) of an evolved catalogue star on the tracks; its
    // present mass, luminosity, radius and temperature stay as they are.
    void fitEvolved(StellarData& star) const;

    // The white-dwarf record of a subtype (the only filled record of that entry).
    const StellarClassRecord& whiteDwarf(int subtype) const;

    const StellarClassRecord& record(int block, int subtype, int lumIndex) const {
        return table_[block][subtype][lumIndex];
    }
    const std::vector<EvolutionTrack>& tracks() const { return tracks_; }
    const PixelImage* referenceImage() const { return hrimage_.get(); }

    // The luminosity class the HR reference image names at a temperature and luminosity,
    // or empty where it names none or the point lies outside the image.
    std::string classAt(double surftemp, double luminosity) const;

private:
    using Entry = std::array<StellarClassRecord, kLuminosityClassCount>;
    using Block = std::array<Entry, kSubtypeCount>;
    std::array<Block, kSpectralClassCount + 1> table_{};
    std::vector<EvolutionTrack> tracks_;
    std::unique_ptr<PixelImage> hrimage_;

    int trackIndexFor(double mass) const;
    void becomeRemnant(StellarData& star, const StarIdentity& identity) const;
};
