#pragma once
// How a table of the system view fits its place: how many whole rows it shows above the
// panel's edge, and how wide its columns are from the widest text of each. No engine needed.

#include <cstddef>
#include <vector>

// A table of `rows` rows of `rowHeight` pixels below a header row as tall, from `top` to at
// most `bottom`.
struct TableHeight {
    int height = 0;        // header, whole rows and frame: the rows end at the table's edge
    int shownRows = 0;
    bool scrolls = false;  // rows are hidden: the table shows its vertical scroll bar
};
TableHeight fitRows(int rows, int rowHeight, int top, int bottom);

// The widths of columns that need `widest` pixels each, sharing `room`: spare room is spread
// evenly; short of room, the first `kept` columns (which name the row, or hold what matters
// most) and then the narrow ones keep their width, and the widest give way.
std::vector<int> columnWidths(const std::vector<int>& widest, int room, std::size_t kept = 1);
