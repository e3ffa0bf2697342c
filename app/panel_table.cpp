#include "app/panel_table.h"

#include <algorithm>

#include "app/table_fit.h"

namespace {

using irr::core::rect;
using irr::s32;

// The engine's table pads every cell by 5 pixels on each side and every row by 2 above and
// below; a text is cut short when it reaches the padding.
constexpr int kCellPadding = 2 * 5 + 2;
constexpr int kRowPadding = 2 * 2;

// Lies over a table's header and keeps clicks from it: a click there would sort the table or
// mark a column as sorted, and a drag would resize a column.
class HeaderCover : public irr::gui::IGUIElement {
public:
    HeaderCover(irr::gui::IGUIEnvironment* gui, irr::gui::IGUIElement* table)
        : irr::gui::IGUIElement(irr::gui::EGUIET_ELEMENT, gui, table, -1, rect<s32>(0, 0, 1, 1)) {}
    bool OnEvent(const irr::SEvent& event) override { return event.EventType == irr::EET_MOUSE_INPUT_EVENT; }
};

// The table's vertical scroll bar: the first of its own two, the one taller than wide.
irr::gui::IGUIScrollBar* verticalBar(const irr::gui::IGUIElement* table) {
    for (irr::gui::IGUIElement* child : table->getChildren()) {
        const rect<s32>& area = child->getRelativePosition();
        if (child->getType() == irr::gui::EGUIET_SCROLL_BAR && area.getHeight() > area.getWidth())
            return static_cast<irr::gui::IGUIScrollBar*>(child);
    }
    return nullptr;
}

irr::gui::IGUIElement* headerCover(const irr::gui::IGUIElement* table) {
    for (irr::gui::IGUIElement* child : table->getChildren())
        if (child->getType() == irr::gui::EGUIET_ELEMENT) return child;
    return nullptr;
}

}  // namespace

void makeReadOnly(irr::gui::IGUIEnvironment* gui, irr::gui::IGUITable* table) {
    // The engine marks the first column as sorted when the table gets columns and has no call
    // to take the mark away; a table read back from its own attributes starts without it.
    irr::io::IAttributes* attributes = gui->getFileSystem()->createEmptyAttributes();
    table->serializeAttributes(attributes);
    table->deserializeAttributes(attributes);
    attributes->drop();
    table->setResizableColumns(false);
    (new HeaderCover(gui, table))->drop();  // the table keeps it
}

int tableRowHeight(irr::gui::IGUIFont* font) {
    return static_cast<int>(font->getDimension(L"A").Height) + kRowPadding;
}

std::vector<int> widestTexts(irr::gui::IGUIFont* font, irr::gui::IGUITable* table,
                             const std::vector<const wchar_t*>& captions) {
    const irr::u32 columns = static_cast<irr::u32>(table->getColumnCount());
    std::vector<int> widest(columns, 0);
    auto measure = [font](const wchar_t* text) {
        return text == nullptr || *text == 0 ? 0 : static_cast<int>(font->getDimension(text).Width) + kCellPadding;
    };
    for (irr::u32 column = 0; column < columns; ++column) {
        int& width = widest[column];
        // An empty caption still takes the engine's least width: the padding.
        width = std::max(kCellPadding, column < captions.size() ? measure(captions[column]) : 0);
        for (s32 row = 0; row < table->getRowCount(); ++row)
            width = std::max(width, measure(table->getCellText(static_cast<irr::u32>(row), column)));
    }
    return widest;
}

void placeTable(irr::gui::IGUIEnvironment* gui, irr::gui::IGUITable* table, const std::vector<int>& widest,
                rect<s32> place, std::size_t kept) {
    irr::gui::IGUISkin* skin = gui->getSkin();
    const int rowHeight = tableRowHeight(skin->getFont());
    const TableHeight fit = fitRows(table->getRowCount(), rowHeight, place.UpperLeftCorner.Y, place.LowerRightCorner.Y);
    // The engine's rows begin one pixel in from the left edge, beside the scroll bar if any.
    const int room = place.getWidth() - 1 - (fit.scrolls ? skin->getSize(irr::gui::EGDS_SCROLLBAR_SIZE) : 0);
    place.LowerRightCorner.Y = place.UpperLeftCorner.Y + fit.height;
    table->setRelativePosition(place);
    // Setting a width has the table check its scroll bars against its new place.
    const std::vector<int> widths = columnWidths(widest, room, kept);
    for (std::size_t column = 0; column < widths.size(); ++column)
        table->setColumnWidth(static_cast<irr::u32>(column), static_cast<irr::u32>(std::max(widths[column], 0)));
    if (irr::gui::IGUIElement* cover = headerCover(table))
        cover->setRelativePosition(rect<s32>(0, 0, place.getWidth(), rowHeight + 1));
    alignToRows(gui, table);
}

void alignToRows(irr::gui::IGUIEnvironment* gui, irr::gui::IGUITable* table) {
    irr::gui::IGUIScrollBar* bar = verticalBar(table);
    if (bar == nullptr || !bar->isVisible()) return;
    const int rowHeight = tableRowHeight(gui->getSkin()->getFont());
    const int aligned = (bar->getPos() + rowHeight / 2) / rowHeight * rowHeight;
    if (aligned != bar->getPos()) bar->setPos(std::min(aligned, bar->getMax()));
}

irr::gui::IGUIElement* scrollingTable(irr::gui::IGUIElement* element) {
    for (; element != nullptr; element = element->getParent()) {
        if (element->getType() != irr::gui::EGUIET_TABLE) continue;
        const irr::gui::IGUIScrollBar* bar = verticalBar(element);
        return bar != nullptr && bar->isVisible() ? element : nullptr;
    }
    return nullptr;
}
