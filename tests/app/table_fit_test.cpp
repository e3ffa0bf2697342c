// How the system view's tables fit their place: whole rows above the edge, and column widths
// from the widest texts within the table's width.

#include <gtest/gtest.h>

#include <tuple>
#include <vector>

#include "app/table_fit.h"

namespace {

// A table of 19-pixel rows shows a header, whole rows and two lines of frame.
TEST(TableFitTest, WholeRowsEndAboveTheEdge) {
    const struct { int rows, rowHeight, top, bottom, height, shown; bool scrolls; } cases[] = {
        {9, 19, 270, 730, 192, 9, false},    // the star table at 1280 x 800
        {25, 19, 270, 730, 458, 23, true},   // the body table: two rows behind its scroll bar
        {25, 19, 100, 730, 496, 25, false},  // the panel scrolled up: all rows
        {21, 19, 472, 730, 249, 12, true},   // the system list below the star table
        {3, 10, 0, 42, 42, 3, false},        // just fits
        {3, 10, 0, 41, 32, 2, true},         // one pixel short of the last row
        {0, 10, 0, 100, 12, 0, false},       // no rows: the header
        {4, 10, 0, 5, 12, 0, true},          // not even the header fits
        {4, 0, 0, 100, 0, 0, false},         // no font height
    };
    for (const auto& c : cases) {
        const TableHeight fit = fitRows(c.rows, c.rowHeight, c.top, c.bottom);
        EXPECT_EQ(std::tie(fit.height, fit.shownRows, fit.scrolls), std::tie(c.height, c.shown, c.scrolls))
            << c.rows << " rows from " << c.top << " to " << c.bottom;
    }
}

// Spare room is spread evenly, its remainder to the last column; short of room, the kept
// columns and then the narrow ones keep their widths and the widest give way.
TEST(TableFitTest, ColumnsShareTheRoom) {
    using Widths = std::vector<int>;
    const struct { Widths widest; int room; std::size_t kept; Widths widths; } cases[] = {
        {{100, 50}, 200, 1, {125, 75}},
        {{100, 50, 30}, 181, 1, {100, 50, 31}},
        {{100, 50}, 150, 1, {100, 50}},
        {{250, 120, 180}, 450, 1, {250, 100, 100}},
        {{250, 90, 180}, 450, 1, {250, 90, 110}},
        {{250, 120, 180}, 450, 2, {250, 120, 80}},  // the body table: the notes give way
        {{250, 120, 180}, 300, 2, {250, 50, 0}},
        {{10, 50, 50}, 61, 1, {10, 25, 26}},
        {{10, 50, 50}, 61, 0, {10, 25, 26}},
        {{20, 20, 153, 88, 82, 62}, 400, 1, {20, 20, 128, 88, 82, 62}},  // the system list: the type gives way
        {{300, 50}, 200, 1, {200, 0}},
        {{300, 50}, 200, 5, {200, 0}},
        {{10, 10}, -5, 1, {0, 0}},
        {{}, 100, 1, {}},
    };
    for (const auto& c : cases) EXPECT_EQ(columnWidths(c.widest, c.room, c.kept), c.widths) << "room " << c.room;
}

}  // namespace
