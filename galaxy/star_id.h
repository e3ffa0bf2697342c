#pragma once
// The lasting name of a star: a catalogue star by its place in the catalogue, a generated star
// by its cube and its place among the stars generated for that cube. A cube's generated stars
// depend only on the cube, so the name still holds after the cube was released and populated
// again; the records themselves live only as long as the catalogue or their cube.

#include <cstddef>
#include <cstdint>
#include <string>

struct CubeIndex {
    std::int32_t x = 0;
    std::int32_t y = 0;
    std::int32_t z = 0;
};

inline bool operator==(const CubeIndex& a, const CubeIndex& b) { return a.x == b.x && a.y == b.y && a.z == b.z; }
inline bool operator!=(const CubeIndex& a, const CubeIndex& b) { return !(a == b); }

struct StarId {
    enum Kind : std::uint8_t { kNone = 0, kCatalogue = 1, kGenerated = 2 };
    Kind kind = kNone;
    std::int32_t index = 0;  // place in the catalogue, or among the cube's generated stars
    CubeIndex cube;          // generated stars only

    static StarId catalogueStar(std::int32_t index) { return {kCatalogue, index, {}}; }
    static StarId generatedStar(const CubeIndex& cube, std::int32_t index) { return {kGenerated, index, cube}; }
    bool isCatalogue() const { return kind == kCatalogue; }
    bool isGenerated() const { return kind == kGenerated; }
};

inline bool operator==(const StarId& a, const StarId& b) {
    return a.kind == b.kind && a.index == b.index && (a.kind != StarId::kGenerated || a.cube == b.cube);
}
inline bool operator!=(const StarId& a, const StarId& b) { return !(a == b); }

struct StarIdHash {
    std::size_t operator()(const StarId& id) const;
};

// "catalogue star 12", "star 3 of cube (1, -2, 0)", "unnamed star": for messages.
std::string starIdText(const StarId& id);
