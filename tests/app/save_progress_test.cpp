// The caption and the filling of the bar shown while a system is saved.

#include <gtest/gtest.h>

#include <cmath>

#include "app/save_progress.h"

namespace {

TEST(SaveProgressTest, CaptionNamesSystemBodyAndCount) {
    EXPECT_EQ(saveCaption("Procyon", "b II", 6, 21), "Saving Procyon: b II (6/21)");
    EXPECT_EQ(saveCaption("Sol", "initialising texture export", 0, 0), "Saving Sol: initialising texture export");
}

// Bodies begun less one, plus the share of the one under way, over all bodies, within 0..1.
TEST(SaveProgressTest, FractionOverAllBodies) {
    const struct { int done, total; double body, whole; } cases[] = {
        {1, 4, 0.5, 0.125}, {4, 4, 1.0, 1.0}, {3, 4, 0.0, 0.5}, {0, 4, 0.7, 0.0}, {3, 0, 0.5, 0.0},
        {2, 4, NAN, 0.25},  {2, 4, 1.7, 0.5}, {2, 4, -1.0, 0.25}, {9, 4, 1.0, 1.0},
    };
    for (const auto& c : cases) EXPECT_DOUBLE_EQ(saveFraction(c.done, c.total, c.body), c.whole) << c.done << "/" << c.total;
}

}  // namespace
