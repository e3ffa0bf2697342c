// Where the thumbnails of bodies and the star sprites lie on the thumbnail sheet, where a star
// is drawn by luminosity class, and how large a body's picture is relative to the largest
// planet of its system.

#include <gtest/gtest.h>

#include <tuple>

#include "app/sprite_layout.h"

namespace {

std::tuple<int, int, int, int> corners(const SheetRect& r) { return {r.left, r.top, r.right, r.bottom}; }

TEST(BodyThumbnailTest, EveryTypeHasItsSheetRectangle) {
    const struct {
        PlanetType type;
        std::tuple<int, int, int, int> rect;
    } table[] = {
        {ice, {30, 0, 93, 63}},          {asteroids, {30, 192, 93, 255}}, {venusian, {94, 192, 157, 255}},
        {icegiant, {158, 0, 285, 127}},  {sudarskyi, {158, 128, 285, 255}}, {sudarskyv, {414, 128, 541, 255}},
        {gasdwarf, {542, 0, 669, 127}},
    };
    for (const auto& entry : table) {
        EXPECT_EQ(corners(bodyThumbnail(entry.type)), entry.rect) << planetTypeName(entry.type);
        // The galaxy view's pictogram uses the same pictures except for the gas dwarf.
        if (entry.type != gasdwarf) {
            ASSERT_TRUE(pictogramBody(entry.type).has_value()) << planetTypeName(entry.type);
            EXPECT_EQ(corners(*pictogramBody(entry.type)), entry.rect) << planetTypeName(entry.type);
        }
    }
}

TEST(BodyThumbnailTest, PictogramDiffersForGasDwarfAndJovianAndSkipsUnknown) {
    ASSERT_TRUE(pictogramBody(gasdwarf).has_value());
    EXPECT_EQ(corners(*pictogramBody(gasdwarf)), std::make_tuple(541, 0, 669, 127));
    ASSERT_TRUE(pictogramBody(jovian).has_value());
    EXPECT_EQ(corners(*pictogramBody(jovian)), std::make_tuple(286, 0, 541, 255));
    EXPECT_FALSE(pictogramBody(unknown).has_value());
}

StellarData star(const std::string& spectral, const std::string& lum, const std::string& type = "Main Sequence Star") {
    StellarData s;
    s.spectralclass = spectral;
    s.lumclass = lum;
    s.typename_ = type;
    return s;
}

TEST(StarSpriteTest, SpriteBySpectralClass) {
    const struct {
        const char* spectral;
        std::tuple<int, int, int, int> rect;
    } table[] = {
        {"O", {0, 128, 14, 191}}, {"A", {0, 0, 14, 63}}, {"DC", {15, 192, 29, 255}}, {"M", {15, 0, 29, 63}},
    };
    for (const auto& entry : table) {
        const auto sprite = starSprite(star(entry.spectral, "V"));
        ASSERT_TRUE(sprite.has_value()) << entry.spectral;
        EXPECT_EQ(corners(*sprite), entry.rect) << entry.spectral;
    }
    const auto neutron = starSprite(star("Neut", "", "Neutron Star"));
    ASSERT_TRUE(neutron.has_value());
    EXPECT_EQ(corners(*neutron), std::make_tuple(15, 192, 29, 255));
    EXPECT_FALSE(starSprite(star("BH", "", "Black Hole")).has_value());
    EXPECT_FALSE(starSprite(star("WC", "I")).has_value());
}

TEST(StarSpriteTest, TargetByLuminosityClassBelowTheStripTop) {
    const int top = 100;
    const struct {
        const char* lum;
        std::tuple<int, int, int, int> rect;
    } table[] = {
        {"V", {0, 168, 15, 232}}, {"IV", {0, 160, 15, 240}}, {"III", {0, 140, 15, 260}}, {"II", {0, 130, 15, 270}},
        {"I", {0, 110, 15, 290}}, {"Ia", {0, 110, 15, 290}}, {"Ib", {0, 110, 15, 290}},  {"Ia0", {0, 110, 15, 290}},
    };
    for (const auto& entry : table) {
        const auto target = starTarget(star("G", entry.lum), top);
        ASSERT_TRUE(target.has_value()) << entry.lum;
        EXPECT_EQ(corners(*target), entry.rect) << entry.lum;
    }
    // Stars without a luminosity class: white dwarfs and neutron stars have their own sizes.
    const auto dwarf = starTarget(star("DC", "", "White Dwarf"), top);
    ASSERT_TRUE(dwarf.has_value());
    EXPECT_EQ(corners(*dwarf), std::make_tuple(0, 180, 15, 220));
    const auto neutron = starTarget(star("Neut", "", "Neutron Star"), top);
    ASSERT_TRUE(neutron.has_value());
    EXPECT_EQ(corners(*neutron), std::make_tuple(0, 190, 8, 210));
    EXPECT_FALSE(starTarget(star("M", "VI"), top).has_value());
    EXPECT_FALSE(starTarget(star("BH", "", "Black Hole"), top).has_value());
}

PlanetSlot slotOf(std::initializer_list<double> radii, PlanetType type = rock) {
    PlanetSlot s;
    for (double r : radii) {
        PlanetRecord b;
        b.type = type;
        b.radius = r;
        s.bodies.push_back(b);
    }
    s.mooncount = static_cast<std::int32_t>(s.bodies.size()) - 1;
    return s;
}

TEST(BodySizeTest, LargestPlanetRadiusCountsPlanetsOnlyAndIsAtLeast40000) {
    GeneratedSystem small;
    small.planets = {slotOf({2439.7}), slotOf({6371.0, 1737.0})};
    small.planetcount = 2;
    EXPECT_DOUBLE_EQ(largestPlanetRadius(small), 40000.0);

    GeneratedSystem giants;
    // A moon larger than every planet does not count.
    giants.planets = {slotOf({6371.0, 90000.0}), slotOf({71492.0}), slotOf({60268.0})};
    giants.planetcount = 3;
    EXPECT_DOUBLE_EQ(largestPlanetRadius(giants), 71492.0);

    GeneratedSystem empty;
    EXPECT_DOUBLE_EQ(largestPlanetRadius(empty), 40000.0);
}

TEST(BodySizeTest, EdgeGrowsWithTheSquareRootOfTheRadiusAndBeltsGetAQuarter) {
    PlanetRecord b;
    b.type = terrestrial;
    b.radius = 10000.0;
    EXPECT_EQ(bodyEdge(b, 80, 40000.0), 40);  // a quarter of the radius: half the edge
    b.radius = 40000.0;
    EXPECT_EQ(bodyEdge(b, 80, 40000.0), 80);  // the largest planet fills the base size
    b.radius = 6371.0;
    EXPECT_EQ(bodyEdge(b, 80, 71492.0), 23);  // 23.88 truncated
    b.radius = 2439.7;
    EXPECT_EQ(bodyEdge(b, 30, 40000.0), 7);  // 7.41 truncated
    b.type = asteroids;
    b.radius = 40000.0;
    EXPECT_EQ(bodyEdge(b, 80, 40000.0), 20);
    EXPECT_EQ(bodyEdge(b, 30, 40000.0), 7);  // integer quarter
}

}  // namespace
