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

std::vector<int> columnWidths(const std::vector<int>& widest, int room, std::size_t kept) {
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
    // The kept columns take their widths while there is room; of the others, the narrowest
    // first, each keeps its width while it is within an even share of what is left.
    kept = std::min(kept, widest.size());
    int left = std::max(room, 0);
    for (std::size_t column = 0; column < kept; ++column) {
        widths[column] = std::min(widest[column], left);
        left -= widths[column];
    }
    std::vector<std::size_t> order(widest.size() - kept);
    std::iota(order.begin(), order.end(), kept);
    std::stable_sort(order.begin(), order.end(), [&](std::size_t a, std::size_t b) { return widest[a] < widest[b]; });
    for (std::size_t k = 0; k < order.size(); ++k) {
        const std::size_t column = order[k];
        widths[column] = std::min(widest[column], left / static_cast<int>(order.size() - k));
        left -= widths[column];
    }
    widths[order.empty() ? kept - 1 : order.back()] += left;
    return widths;
}
