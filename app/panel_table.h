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

// Places `table` in `place`, ending above its bottom with whole rows, its columns sharing the
// width beside the scroll bar, if it needs one; short of room, the first `kept` columns keep
// their width.
void placeTable(irr::gui::IGUIEnvironment* gui, irr::gui::IGUITable* table, const std::vector<int>& widest,
                irr::core::rect<irr::s32> place, std::size_t kept);

// Moves a scrolled table to the nearest whole row.
void alignToRows(irr::gui::IGUIEnvironment* gui, irr::gui::IGUITable* table);

// The table that `element` is or lies on, if its rows do not all show.
irr::gui::IGUIElement* scrollingTable(irr::gui::IGUIElement* element);
