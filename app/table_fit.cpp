#include "app/table_fit.h"

#include <algorithm>
#include <numeric>

namespace {

// The engine's table draws a line above the header and one below the rows.
constexpr int kFrame = 2;

}  // namespace

TableHeight fitRows(int rows, int rowHeight, int top, int bottom) {
    TableHeight fit;
    if (rowHeight <= 0) return fit;
    const int fitting = std::max(0, (bottom - top - kFrame) / rowHeight - 1);
    fit.shownRows = std::min(std::max(rows, 0), fitting);
    fit.scrolls = fit.shownRows < rows;
    fit.height = (fit.shownRows + 1) * rowHeight + kFrame;
    return fit;
}

std::vector<int> columnWidths(const std::vector<int>& widest, int room) {
    std::vector<int> widths(widest.size());
    if (widest.empty()) return widths;
    const int count = static_cast<int>(widest.size());
    const int needed = std::accumulate(widest.begin(), widest.end(), 0);
    if (needed <= room) {
        const int spare = room - needed;
        for (std::size_t i = 0; i < widths.size(); ++i) widths[i] = widest[i] + spare / count;
        widths.back() += spare % count;
        return widths;
    }
    // The first column keeps its width if it can; of the others, the narrowest first, each
    // keeps its width while it is within an even share of what is left.
    const int first = std::min(widest.front(), std::max(room, 0));
    widths.front() = first;
    std::vector<int> order(widest.size() - 1);
    std::iota(order.begin(), order.end(), 1);
    std::stable_sort(order.begin(), order.end(),
                     [&](int a, int b) { return widest[static_cast<std::size_t>(a)] < widest[static_cast<std::size_t>(b)]; });
    int left = std::max(room, 0) - first;
    for (std::size_t k = 0; k < order.size(); ++k) {
        const std::size_t column = static_cast<std::size_t>(order[k]);
        const int share = left / static_cast<int>(order.size() - k);
        widths[column] = std::min(widest[column], share);
        left -= widths[column];
    }
    widths[order.empty() ? 0 : static_cast<std::size_t>(order.back())] += left;
    return widths;
}
