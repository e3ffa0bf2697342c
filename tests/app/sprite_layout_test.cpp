// Where body thumbnails and star sprites lie on the thumbnail sheet, where a star is drawn by
// luminosity class, and how large a body's picture is beside the largest planet.

#include <gtest/gtest.h>

#include <optional>
#include <tuple>
#include <utility>

#include "app/sprite_layout.h"

namespace {

using Corners = std::tuple<int, int, int, int>;
constexpr Corners kNone{-1, -1, -1, -1};

Corners corners(const std::optional<SheetRect>& r) {
    return r ? Corners{r->left, r->top, r->right, r->bottom} : kNone;
}

StellarData star(const char* spectral, const char* lum, const char* type = "Main Sequence Star") {
    StellarData s;
    s.spectralclass = spectral;
    s.lumclass = lum;
    s.typename_ = type;
    return s;
}

TEST(SpriteLayoutTest, SheetRectanglesOfBodiesAndStars) {
    // The galaxy view's pictogram uses the same pictures except for the gas dwarf and jovians.
    const struct { PlanetType type; Corners thumbnail, pictogram; } bodies[] = {
        {ice, {30, 0, 93, 63}, {30, 0, 93, 63}},           {asteroids, {30, 192, 93, 255}, {30, 192, 93, 255}},
        {venusian, {94, 192, 157, 255}, {94, 192, 157, 255}}, {icegiant, {158, 0, 285, 127}, {158, 0, 285, 127}},
        {sudarskyv, {414, 128, 541, 255}, {414, 128, 541, 255}}, {gasdwarf, {542, 0, 669, 127}, {541, 0, 669, 127}},
        {jovian, {158, 128, 285, 255}, {286, 0, 541, 255}},   {unknown, {30, 64, 93, 127}, kNone},
    };
    for (const auto& b : bodies) {
        EXPECT_EQ(corners(bodyThumbnail(b.type)), b.thumbnail) << planetTypeName(b.type);
        EXPECT_EQ(corners(pictogramBody(b.type)), b.pictogram) << planetTypeName(b.type);
    }
    // Sprites by spectral class; targets by luminosity class below a strip top of 100.
    const struct { StellarData star; Corners sprite, target; } stars[] = {
        {star("O", "V"), {0, 128, 14, 191}, {0, 168, 15, 232}},   {star("A", "IV"), {0, 0, 14, 63}, {0, 160, 15, 240}},
        {star("M", "III"), {15, 0, 29, 63}, {0, 140, 15, 260}},   {star("K", "II"), {15, 64, 29, 127}, {0, 130, 15, 270}},
        {star("G", "I"), {15, 128, 29, 191}, {0, 110, 15, 290}},  {star("B", "Ia"), {0, 64, 14, 127}, {0, 110, 15, 290}},
        {star("F", "Ib"), {15, 192, 29, 255}, {0, 110, 15, 290}}, {star("M", "Ia0"), {15, 0, 29, 63}, {0, 110, 15, 290}},
        {star("DC", "", "White Dwarf"), {15, 192, 29, 255}, {0, 180, 15, 220}},
        {star("Neut", "", "Neutron Star"), {15, 192, 29, 255}, {0, 190, 8, 210}},
        {star("BH", "", "Black Hole"), kNone, kNone},             {star("WC", "VI"), kNone, kNone},
    };
    for (const auto& s : stars) {
        EXPECT_EQ(corners(starSprite(s.star)), s.sprite) << s.star.spectralclass << s.star.lumclass;
        EXPECT_EQ(corners(starTarget(s.star, 100)), s.target) << s.star.spectralclass << s.star.lumclass;
    }
}

PlanetSlot slotOf(std::initializer_list<double> radii) {
    PlanetSlot s;
    for (double r : radii) s.bodies.emplace_back().radius = r;
    return s;
}

TEST(SpriteLayoutTest, BodyEdgeGrowsWithTheSquareRootOfTheRadius) {
    // Only planets count (a moon larger than every planet does not), and at least 40000 km.
    GeneratedSystem small, giants;
    small.planets = {slotOf({2439.7}), slotOf({6371.0, 1737.0})};
    giants.planets = {slotOf({6371.0, 90000.0}), slotOf({71492.0}), slotOf({60268.0})};
    EXPECT_EQ(std::make_pair(largestPlanetRadius(small), largestPlanetRadius(giants)), std::make_pair(40000.0, 71492.0));

    const struct { PlanetType type; double radius; int size; double largest; int edge; } rows[] = {
        {terrestrial, 10000.0, 80, 40000.0, 40}, {terrestrial, 40000.0, 80, 40000.0, 80},
        {terrestrial, 6371.0, 80, 71492.0, 23},  // 23.88 truncated
        {terrestrial, 2439.7, 30, 40000.0, 7},   {asteroids, 40000.0, 80, 40000.0, 20},  // belts: a quarter
        {asteroids, 1.0, 30, 40000.0, 7},        {rock, -5.0, 80, 40000.0, 0},
    };
    for (const auto& row : rows) {
        PlanetRecord b;
        b.type = row.type;
        b.radius = row.radius;
        EXPECT_EQ(bodyEdge(b, row.size, row.largest), row.edge) << row.radius << " of " << row.largest;
    }
}

}  // namespace
