// The small rules of the views: the map's screen/map conversion and zoom limits, the command
// memory of the frame before, the double-click rule and the search for the next qualifying star.

#include <gtest/gtest.h>

#include <set>
#include <utility>
#include <vector>

#include "app/view_logic.h"

namespace {

// A galaxy picture of 4000 pixels square (unless told) in a window of 1280 x 800.
MapProjection startMap(int pictureWidth = 4000, int pictureHeight = 4000) {
    MapProjection map{pictureWidth, pictureHeight, 1280, 800, pictureWidth / 2, pictureHeight / 2};
    map.zoom = map.widestZoom();
    return map;
}

TEST(MapProjectionTest, ScreenAndMapConvertBothWays) {
    const MapProjection start = startMap();
    EXPECT_FLOAT_EQ(start.zoom, 3.125f);
    EXPECT_EQ(std::make_pair(start.screenX(0), start.screenY(0)), std::make_pair(640, 400));
    EXPECT_EQ(std::make_pair(start.mapX(1280), start.mapY(0)), std::make_pair(2000, 1250));  // y grows upwards
    EXPECT_EQ(start.screenY(-798), 655);
    const MapProjection odd = startMap(4001, 3001);  // the integer half of an odd picture
    EXPECT_EQ(std::make_pair(odd.mapX(640), odd.mapY(400)), std::make_pair(0, 0));

    MapProjection map = startMap();
    map.zoom = 1.5f;
    EXPECT_EQ(map.mapX(641), 1);
    EXPECT_EQ(map.mapX(639), -1);  // -1.5 becomes -1, not -2
    EXPECT_EQ(map.mapY(401), -1);
    map.centreX += 100;  // panned right and down on the picture
    map.centreY += 40;
    EXPECT_EQ(std::make_pair(map.mapX(640), map.mapY(400)), std::make_pair(100, -40));
    EXPECT_EQ(std::make_pair(map.screenX(100), map.screenY(-40)), std::make_pair(640, 400));

    // Where a cube covers several screen pixels, a cube comes back to itself.
    map.zoom = 0.25f;
    for (int m : {-411, -270, 0, 7})
        EXPECT_EQ(std::make_pair(map.mapX(map.screenX(m)), map.mapY(map.screenY(m))), std::make_pair(m, m));
}

// Panning past the picture's edge keeps the shown region inside it, and the centre with it, so
// that the point under the crosshair stays the picture's point drawn there.
TEST(MapProjectionTest, TheCentreStaysWithTheRegionInsideThePicture) {
    struct Case {
        float zoom;
        int centreX, centreY;
        int clampedX, clampedY;
    };
    const Case cases[] = {
        {3.125f, 5600, 2000, 2000, 2000},  // the whole width shows: no sideways room at all
        {3.125f, 2000, 9000, 2000, 2750},  // a region 2500 high stops 1250 above the bottom
        {3.125f, 2000, -50, 2000, 1250},
        {1.0f, 3500, 300, 3360, 400},      // 1280 x 800 pixels of picture
        {1.0f, 1000, 3000, 1000, 3000},    // inside: untouched
        {1.0f, 640, 400, 640, 400},        // exactly at the corner
    };
    for (const Case& c : cases) {
        MapProjection map = startMap();
        map.zoom = c.zoom;
        map.centreX = c.centreX;
        map.centreY = c.centreY;
        map.clampCentre();
        EXPECT_EQ(std::make_pair(map.centreX, map.centreY), std::make_pair(c.clampedX, c.clampedY))
            << "zoom " << c.zoom << " centre " << c.centreX << "," << c.centreY;
    }
    MapProjection tall{4000, 4000, 800, 1280, 2000, 100};  // a region taller than the picture
    tall.zoom = tall.widestZoom();
    tall.clampCentre();
    EXPECT_EQ(std::make_pair(tall.centreY, tall.regionTop()), std::make_pair(2000, -1200));
}

TEST(MapProjectionTest, ZoomStaysBetweenTheWholeWidthAndPointTwo) {
    MapProjection map = startMap();
    const float widest = map.zoom;
    map.zoomOut();  // Q at the start: the whole width shows already
    EXPECT_FLOAT_EQ(map.zoom, widest);
    map.zoomIn();
    EXPECT_FLOAT_EQ(map.zoom, widest * 0.9f);
    for (int i = 0; i < 3; ++i) map.zoomOut();  // back to the whole width, no further
    EXPECT_FLOAT_EQ(map.zoom, widest);
    for (int i = 0; i < 200; ++i) map.zoomIn();
    EXPECT_FLOAT_EQ(map.zoom, 0.2f);
    map.zoomOut();
    EXPECT_FLOAT_EQ(map.zoom, 0.2f * 1.1f);
}

TEST(ViewLogicTest, CommandMemoryActsOnceForTheSameCommandInFramesRunning) {
    CommandMemory memory;
    // 201 three frames running, a frame without a click, then 201, 203, 201.
    const int ids[] = {201, 201, 201, 0, 201, 203, 201};
    const bool acts[] = {true, false, false, false, true, true, true};
    for (int i = 0; i < 7; ++i) {
        if (ids[i] == 0) memory.idle();
        else EXPECT_EQ(memory.accept(ids[i]), acts[i]) << "frame " << i;
    }
}

TEST(ViewLogicTest, DoubleClickActsOnASecondActivationWithinOneSecond) {
    // 'c' activates and arms, 'C' activates and acts, a digit n lets n tenths of a second pass,
    // 'a' and 'x' check that it is or is not armed. Exactly one second is still in time; after
    // acting the next activation arms again; re-arming starts the timer from zero.
    for (const char* script : {"c55aCxcCcC", "c66xc9Cc7a2Cc77xca"}) {
        SCOPED_TRACE(script);
        DoubleClick click;
        for (const char* c = script; *c != '\0'; ++c) {
            if (*c >= '0' && *c <= '9') click.advance(static_cast<float>(*c - '0') / 10.0f);
            if (*c == 'c' || *c == 'C') EXPECT_EQ(click.activate(), *c == 'C') << c - script;
            if (*c == 'a' || *c == 'x') EXPECT_EQ(click.armed(), *c == 'a') << c - script;
        }
    }
}

TEST(ViewLogicTest, NextQualifyingStarStepsAndWrapsBothWays) {
    const std::set<int> ready = {1, 3, 6};
    auto qualifies = [&](int i) { return ready.count(i) > 0; };
    const int table[][3] = {{1, +1, 3}, {3, -1, 1}, {1, -1, 6}, {6, +1, 1}, {0, -1, 6}, {7, +1, 1}};
    for (const auto& row : table)
        EXPECT_EQ(nextQualifyingIndex(8, row[0], row[1], qualifies), row[2]) << row[0] << " step " << row[1];

    // No other star qualifies: back at the start, each star tried once at most.
    for (int step : {+1, -1}) {
        std::multiset<int> asked;
        EXPECT_EQ(nextQualifyingIndex(5, 2, step, [&](int i) { return asked.insert(i), false; }), 2);
        for (int i : asked) EXPECT_EQ(asked.count(i), 1u);
    }
    EXPECT_EQ(nextQualifyingIndex(5, 4, +1, [](int i) { return i == 4; }), 4);
    EXPECT_EQ(nextQualifyingIndex(1, 0, -1, [](int) { return true; }), 0);
}

}  // namespace
