#pragma once
// Room on the screen for names: rectangles are claimed one after another, and one that would
// overlap a rectangle claimed before is refused. A grid of cells keeps each claim to the few
// rectangles near it, so thousands of names a frame stay cheap.

#include <vector>

class LabelSpace {
public:
    LabelSpace(int width, int height);
    // Claims the rectangle (right and bottom excluded) unless it overlaps one claimed before;
    // whether it did. Empty rectangles are refused.
    bool claim(int left, int top, int right, int bottom);

private:
    struct Box {
        int left, top, right, bottom;
    };
    static constexpr int kCell = 64;
    int columns_;
    int rows_;
    std::vector<std::vector<Box>> cells_;

    int column(int x) const;
    int row(int y) const;
};
