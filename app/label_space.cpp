#include "app/label_space.h"

#include <algorithm>

LabelSpace::LabelSpace(int width, int height)
    : columns_(std::max(1, (width + kCell - 1) / kCell)),
      rows_(std::max(1, (height + kCell - 1) / kCell)),
      cells_(static_cast<std::size_t>(columns_) * static_cast<std::size_t>(rows_)) {}

int LabelSpace::column(int x) const { return std::clamp(x / kCell, 0, columns_ - 1); }
int LabelSpace::row(int y) const { return std::clamp(y / kCell, 0, rows_ - 1); }

bool LabelSpace::claim(int left, int top, int right, int bottom) {
    if (right <= left || bottom <= top) return false;
    const Box box{left, top, right, bottom};
    const int firstColumn = column(left), lastColumn = column(right - 1);
    const int firstRow = row(top), lastRow = row(bottom - 1);
    for (int r = firstRow; r <= lastRow; ++r)
        for (int c = firstColumn; c <= lastColumn; ++c)
            for (const Box& other : cells_[static_cast<std::size_t>(r * columns_ + c)])
                if (other.left < box.right && box.left < other.right && other.top < box.bottom && box.top < other.bottom)
                    return false;
    for (int r = firstRow; r <= lastRow; ++r)
        for (int c = firstColumn; c <= lastColumn; ++c) cells_[static_cast<std::size_t>(r * columns_ + c)].push_back(box);
    return true;
}
