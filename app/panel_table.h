#pragma once
// The system view's tables as read-only tables: no sort mark, a header that takes no clicks
// (so nothing sorts or resizes them), columns as wide as their widest text within the table,
// as many whole rows as fit above a given edge, and scrolling by whole rows.

#include <vector>

#include <irrlicht/irrlicht.h>

// Makes `table`, which has its columns and no rows yet, read-only.
void makeReadOnly(irr::gui::IGUIEnvironment* gui, irr::gui::IGUITable* table);

// The height of one row (and of the header) of the engine's tables in `font`.
int tableRowHeight(irr::gui::IGUIFont* font);

// The pixels each column needs for its caption (as given) and its widest cell.
std::vector<int> widestTexts(irr::gui::IGUIFont* font, irr::gui::IGUITable* table,
                             const std::vector<const wchar_t*>& captions);

// Places `table` at `left`, `top`, `width` pixels wide, ending above `bottom` with whole rows,
// its columns sharing the width left beside the scroll bar, if it needs one.
void placeTable(irr::gui::IGUIEnvironment* gui, irr::gui::IGUITable* table, const std::vector<int>& widest,
                irr::core::rect<irr::s32> place);

// Moves a scrolled table to the nearest whole row.
void alignToRows(irr::gui::IGUIEnvironment* gui, irr::gui::IGUITable* table);

// Whether `element` is, or lies on, a table whose rows do not all show.
bool onScrollingTable(const irr::gui::IGUIElement* element);
