// The small rules of the views: the map view's screen/map conversion and zoom limits, the
// system view's memory of the command handled in the frame before, the double-click rule and
// the search for the next or previous qualifying star of a cube.

#include <gtest/gtest.h>

#include <set>
#include <vector>

#include "app/view_logic.h"

namespace {

// The galaxy picture is 4000 pixels square; the window 1280 x 800.
MapProjection startMap(int pictureWidth = 4000, int pictureHeight = 4000) {
    MapProjection map;
    map.pictureWidth = pictureWidth;
    map.pictureHeight = pictureHeight;
    map.W = 1280;
    map.H = 800;
    map.centreX = pictureWidth / 2;
    map.centreY = pictureHeight / 2;
    map.zoom = map.widestZoom();
    return map;
}

TEST(MapProjectionTest, ScreenCentreIsTheMapOriginAtStart) {
    const MapProjection map = startMap();
    EXPECT_FLOAT_EQ(map.zoom, 3.125f);
    EXPECT_EQ(map.screenX(0), 640);
    EXPECT_EQ(map.screenY(0), 400);
    // y grows upwards on the map: the top of the window is north of the centre.
    EXPECT_EQ(map.mapX(1280), 2000);
    EXPECT_EQ(map.mapY(0), 1250);
    // An odd picture size: its half is the integer half.
    const MapProjection odd = startMap(4001, 3001);
    EXPECT_EQ(odd.mapX(640), 0);
    EXPECT_EQ(odd.mapY(400), 0);
}

TEST(MapProjectionTest, ConversionTruncatesTowardZeroAndFollowsTheCentre) {
    MapProjection map = startMap();
    map.zoom = 1.5f;
    EXPECT_EQ(map.mapX(641), 1);
    EXPECT_EQ(map.mapX(639), -1);  // -1.5 becomes -1, not -2
    EXPECT_EQ(map.mapY(401), -1);
    // Panned 100 pixels right and 40 down on the picture: the screen centre shows (100, -40).
    map.centreX += 100;
    map.centreY += 40;
    EXPECT_EQ(map.mapX(640), 100);
    EXPECT_EQ(map.mapY(400), -40);
    EXPECT_EQ(map.screenX(100), 640);
    EXPECT_EQ(map.screenY(-40), 400);
    // The start cube of the atlas, 798 cubes south of the centre line.
    const MapProjection start = startMap();
    EXPECT_EQ(start.screenY(-798), 400 + static_cast<int>(798 / 3.125f));
}

TEST(MapProjectionTest, RoundTripsBetweenScreenAndMap) {
    // Where a cube spans whole screen pixels, a screen point comes back to itself ...
    for (float zoom : {1.0f, 2.0f, 4.0f}) {
        MapProjection map = startMap();
        map.zoom = zoom;
        map.centreX = 1730;
        map.centreY = 2410;
        for (int sx : {0, 1, 333, 640, 641, 1279}) EXPECT_EQ(map.screenX(map.mapX(sx)), sx) << "zoom " << zoom;
        for (int sy : {0, 5, 399, 400, 799}) EXPECT_EQ(map.screenY(map.mapY(sy)), sy) << "zoom " << zoom;
    }
    // ... and where a cube covers several screen pixels, a cube comes back to itself.
    for (float zoom : {1.0f, 0.5f, 0.25f}) {
        MapProjection map = startMap();
        map.zoom = zoom;
        map.centreX = 1730;
        map.centreY = 2410;
        for (int mx : {-270, -271, -100, 0, 3}) EXPECT_EQ(map.mapX(map.screenX(mx)), mx) << "zoom " << zoom;
        for (int my : {-410, -411, -300, 0, 7}) EXPECT_EQ(map.mapY(map.screenY(my)), my) << "zoom " << zoom;
    }
    // At a zoom above one every map point has a screen point that shows it.
    MapProjection wide = startMap();
    for (int mx : {-2000, -7, 0, 15, 1999}) EXPECT_NEAR(wide.mapX(wide.screenX(mx)), mx, 3.125 + 1e-3);
    for (int my : {-1250, -798, 0, 1249}) EXPECT_NEAR(wide.mapY(wide.screenY(my)), my, 3.125 + 1e-3);
}

TEST(MapProjectionTest, ZoomStaysBetweenTheWholeWidthAndPointTwo) {
    MapProjection map = startMap();
    const float widest = map.zoom;
    map.zoomOut();  // Q at the start: the whole width shows already
    EXPECT_FLOAT_EQ(map.zoom, widest);
    map.zoomIn();  // E
    EXPECT_FLOAT_EQ(map.zoom, widest * 0.9f);
    // Three wheel notches towards the user after one step in: back to the whole width, no further.
    for (int i = 0; i < 3; ++i) map.zoomOut();
    EXPECT_FLOAT_EQ(map.zoom, widest);
    for (int i = 0; i < 200; ++i) map.zoomIn();
    EXPECT_FLOAT_EQ(map.zoom, MapProjection::kClosestZoom);
    EXPECT_FLOAT_EQ(MapProjection::kClosestZoom, 0.2f);
    map.zoomOut();
    EXPECT_FLOAT_EQ(map.zoom, 0.2f * 1.1f);
}

TEST(CommandMemoryTest, SameCommandInConsecutiveFramesActsOnce) {
    CommandMemory memory;
    EXPECT_TRUE(memory.accept(201));   // ">>" in frame 1
    EXPECT_FALSE(memory.accept(201));  // ">>" again in frame 2: ignored
    EXPECT_FALSE(memory.accept(201));  // and in frame 3, still remembered
    memory.idle();                     // a frame without a click
    EXPECT_TRUE(memory.accept(201));
    // A different command in the next frame acts, and so does the first one after it.
    EXPECT_TRUE(memory.accept(203));
    EXPECT_TRUE(memory.accept(201));
}

TEST(DoubleClickTest, SecondActivationWithinOneSecondActs) {
    DoubleClick click;
    EXPECT_FALSE(click.activate());  // arms
    EXPECT_TRUE(click.armed());
    click.advance(0.5f);
    click.advance(0.5f);  // exactly one second: still armed
    EXPECT_TRUE(click.armed());
    EXPECT_TRUE(click.activate());
    EXPECT_FALSE(click.armed());
    // After acting, the next activation arms again rather than acting.
    EXPECT_FALSE(click.activate());
    EXPECT_TRUE(click.activate());
}

TEST(DoubleClickTest, MoreThanOneSecondForgetsTheFirstClick) {
    DoubleClick click;
    EXPECT_FALSE(click.activate());
    click.advance(0.6f);
    click.advance(0.6f);
    EXPECT_FALSE(click.armed());
    EXPECT_FALSE(click.activate());  // arms again
    click.advance(0.9f);
    EXPECT_TRUE(click.activate());
    // Re-arming starts the timer from zero.
    EXPECT_FALSE(click.activate());
    click.advance(0.7f);
    EXPECT_TRUE(click.armed());
    click.advance(0.2f);
    EXPECT_TRUE(click.activate());
    EXPECT_FALSE(click.activate());
    click.advance(0.7f);
    click.advance(0.7f);
    EXPECT_FALSE(click.activate());
    EXPECT_TRUE(click.armed());
}

TEST(NextQualifyingIndexTest, StepsAndWrapsBothWays) {
    const std::set<int> ready = {1, 3, 6};
    auto qualifies = [&](int i) { return ready.count(i) > 0; };
    EXPECT_EQ(nextQualifyingIndex(8, 1, +1, qualifies), 3);
    EXPECT_EQ(nextQualifyingIndex(8, 3, -1, qualifies), 1);
    EXPECT_EQ(nextQualifyingIndex(8, 1, -1, qualifies), 6);  // "<<<" on the first wraps to the last
    EXPECT_EQ(nextQualifyingIndex(8, 6, +1, qualifies), 1);  // ">>>" on the last wraps to the first
    EXPECT_EQ(nextQualifyingIndex(8, 0, -1, qualifies), 6);  // from a star that does not qualify
    EXPECT_EQ(nextQualifyingIndex(8, 7, +1, qualifies), 1);
}

TEST(NextQualifyingIndexTest, EndsAtTheStartWhenNoOtherStarQualifies) {
    std::vector<int> asked;
    auto none = [&](int i) {
        asked.push_back(i);
        return false;
    };
    EXPECT_EQ(nextQualifyingIndex(5, 2, +1, none), 2);
    EXPECT_LE(asked.size(), 5u);  // each star is tried once at most
    EXPECT_EQ(std::set<int>(asked.begin(), asked.end()).size(), asked.size());
    asked.clear();
    EXPECT_EQ(nextQualifyingIndex(5, 2, -1, none), 2);
    EXPECT_LE(asked.size(), 5u);
    // Only the start qualifies: it stays.
    EXPECT_EQ(nextQualifyingIndex(5, 4, +1, [](int i) { return i == 4; }), 4);
    EXPECT_EQ(nextQualifyingIndex(1, 0, -1, [](int) { return true; }), 0);
}

}  // namespace
