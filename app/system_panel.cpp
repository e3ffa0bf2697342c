#include "app/system_panel.h"

#include <algorithm>
#include <cmath>

#include "app/info_text.h"
#include "app/panel_table.h"
#include "app/sprite_layout.h"

namespace {

using irr::core::rect;
using irr::s32;

// Layout of the scrolling panel, in panel pixels before scrolling.
constexpr int kStripTop = 10;
constexpr int kStripHeight = 200;
constexpr int kTitleTop = 220;
constexpr int kTablesTop = SystemPanel::kTablesTop;
constexpr int kBodyButtonBase = SystemPanel::kBodyButtonBase;
constexpr int kTableGap = 10;     // between the star table and the system list
constexpr int kSideGap = 14;      // between the body table and the tables on the right
constexpr int kBottomGap = 5;     // between the lowest table and the panel's edge

const std::vector<const wchar_t*> kListCaptions = {L"#", L"#", L"TYPE", L"S-M AXIS", L"MASS", L"RADIUS"};

rect<s32> shifted(const rect<s32>& area, int scroll) {
    return rect<s32>(area.UpperLeftCorner.X, area.UpperLeftCorner.Y - scroll, area.LowerRightCorner.X,
                     area.LowerRightCorner.Y - scroll);
}

rect<s32> sheetRect(const SheetRect& r) { return rect<s32>(r.left, r.top, r.right, r.bottom); }

}  // namespace

void SystemPanel::fill(const StarRecord& star, BodyChoice body) {
    fillStarTable(star);
    const GeneratedSystem* system = star.system.get();
    const bool hasPlanets = system != nullptr && system->planetcount > 0;
    if (systemList_ == nullptr) {
        systemList_ = atlas_.gui->addTable(rect<s32>(0, 0, 10, 10), atlas_.controls.systempanel, -1, true);
        for (const wchar_t* caption : kListCaptions) systemList_->addColumn(caption);
        makeReadOnly(atlas_.gui, systemList_);
    }
    systemList_->setVisible(hasPlanets);
    atlas_.controls.bodytable->setVisible(hasPlanets);
    atlas_.controls.systemtitle->setVisible(hasPlanets);
    if (hasPlanets) {
        fillSystemList(*system);
        showBody(*system, body);
    }
    irr::gui::IGUIFont* font = atlas_.gui->getSkin()->getFont();
    starWidest_ = widestTexts(font, atlas_.controls.startable, kStarTableCaptions);
    bodyWidest_ = widestTexts(font, atlas_.controls.bodytable, {});
    listWidest_ = widestTexts(font, systemList_, kListCaptions);
    placedScroll_ = INT_MIN;
    buildBodyButtons(star);
}

void SystemPanel::layout(const StarRecord& star, int scroll, BodyChoice body) {
    layoutTables(scroll);
    const GeneratedSystem* system = star.system.get();
    if (system == nullptr || system->planetcount == 0 || bodyButtons_.empty()) return;
    layoutBodyButtons(*system, scroll, body);
}

void SystemPanel::fillStarTable(const StarRecord& star) {
    const auto starRows = starTableRows(*star.physical);
    for (irr::u32 row = 0; row < 9; ++row)
        atlas_.controls.startable->setCellText(row, 1, widen(starRows[row]).c_str());
}

void SystemPanel::fillSystemList(const GeneratedSystem& system) {
    systemList_->clearRows();
    irr::u32 next = 0;
    for (const SystemListRow& row : systemListRows(system)) {
        const irr::u32 index = systemList_->addRow(next++);
        for (int c = 0; c < 6; ++c) systemList_->setCellText(index, static_cast<irr::u32>(c), widen(row[c]).c_str());
    }
}

void SystemPanel::showBody(const GeneratedSystem& system, BodyChoice choice) {
    const PlanetSlot& slot = system.planets[static_cast<std::size_t>(choice.planet)];
    const PlanetRecord& body = slot.bodies[static_cast<std::size_t>(choice.moon)];
    atlas_.controls.systemtitle->setText(widen(body.name).c_str());
    irr::gui::IGUITable* table = atlas_.controls.bodytable;
    const auto rows = bodyTableRows(body);
    for (irr::u32 row = 0; row < rows.size(); ++row) {
        const irr::u32 shown = row + (row >= kHabitabilityRow);
        table->setCellText(shown, 1, widen(rows[row].first).c_str());
        table->setCellText(shown, 2, widen(rows[row].second).c_str());
    }
    // The verdict in green, amber or red; the reasons may be longer than their cell, so the
    // table's tool tip holds them in full.
    const HabitabilityCells habitability = habitabilityCells(body);
    const irr::video::SColor colour = habitability.verdict == HabitabilityVerdict::habitable ? irr::video::SColor(255, 130, 235, 130)
                                      : habitability.verdict == HabitabilityVerdict::hostile ? irr::video::SColor(255, 255, 140, 125)
                                                                                             : irr::video::SColor(255, 255, 205, 70);
    table->setCellText(kHabitabilityRow, 1, widen(habitability.verdictText).c_str(), colour);
    table->setCellText(kHabitabilityRow, 2, widen(habitability.reasons).c_str(), colour);
    const std::string tip = "Habitability: " + habitability.verdictText +
                            (habitability.reasons.empty() ? "" : " (" + habitability.reasons + ")");
    table->setToolTipText(widen(tip).c_str());
}

// The title with its buttons, the body table on the left, the star table and the system list
// on the right; all scroll together, and the tables take whole rows down to the panel's edge.
void SystemPanel::layoutTables(int scroll) {
    GuiControls& c = atlas_.controls;
    for (irr::gui::IGUITable* table : {c.bodytable, c.startable, systemList_})
        if (table != nullptr) alignToRows(atlas_.gui, table);
    if (scroll == placedScroll_) return;
    placedScroll_ = scroll;
    const int W = atlas_.W;
    const int m = static_cast<int>(static_cast<double>(W) * 0.03);
    const int e = static_cast<int>(static_cast<double>(W) - static_cast<double>(W) * 0.03);
    const int rightLeft = e - rightSideWidth(e - m - kSideGap);
    c.systemtitle->setRelativePosition(shifted(rect<s32>(m, kTitleTop, m + 300, kTitleTop + 40), scroll));
    c.previousplanet->setRelativePosition(shifted(rect<s32>(m + 310, kTitleTop, m + 390, kTitleTop + 40), scroll));
    c.nextplanet->setRelativePosition(shifted(rect<s32>(m + 400, kTitleTop, m + 480, kTitleTop + 40), scroll));
    c.previousmoon->setRelativePosition(shifted(rect<s32>(m + 500, kTitleTop, m + 580, kTitleTop + 40), scroll));
    c.nextmoon->setRelativePosition(shifted(rect<s32>(m + 590, kTitleTop, m + 670, kTitleTop + 40), scroll));
    c.savepicture->setRelativePosition(shifted(rect<s32>(m + 690, kTitleTop, m + 850, kTitleTop + 40), scroll));
    c.backtotop->setRelativePosition(shifted(rect<s32>(e - 40, kTitleTop, e, kTitleTop + 40), scroll));
    const int top = kTablesTop - scroll;
    const int bottom = c.systempanel->getRelativePosition().getHeight() - kBottomGap;
    // Short of room, the body table's names and first values keep their width, the notes
    // beside them give way; the tables on the right keep their names.
    placeTable(atlas_.gui, c.bodytable, bodyWidest_, rect<s32>(m, top, rightLeft - kSideGap, bottom), 2);
    placeTable(atlas_.gui, c.startable, starWidest_, rect<s32>(rightLeft, top, e, bottom), 1);
    if (systemList_ != nullptr) {
        const int listTop = c.startable->getRelativePosition().LowerRightCorner.Y + kTableGap;
        placeTable(atlas_.gui, systemList_, listWidest_, rect<s32>(rightLeft, listTop, e, bottom), 1);
    }
}

// The star table and the system list side by side with the body table: as wide as the wider
// of them needs, beside its scroll bar, between three tenths and half of the span.
int SystemPanel::rightSideWidth(int span) const {
    auto sum = [](const std::vector<int>& widths) {
        int total = 0;
        for (int width : widths) total += width;
        return total;
    };
    const int scrollBar = atlas_.gui->getSkin()->getSize(irr::gui::EGDS_SCROLLBAR_SIZE);
    const int needed = std::max(sum(starWidest_), sum(listWidest_) + scrollBar) + 1;
    return std::clamp(needed, span * 3 / 10, span / 2);
}

bool SystemPanel::wheelToTable() const {
    // A table keeps the focus only while the pointer is on it; its scroll bar keeps the focus
    // it took, for a drag of its knob.
    irr::gui::IGUIElement* table = scrollingTable(atlas_.gui->getHovered());
    if (scrollingTable(atlas_.gui->getFocus()) != table) atlas_.gui->setFocus(table);
    return table != nullptr;
}

// The thumbnails: planets along the strip, their moons below them.
void SystemPanel::layoutBodyButtons(const GeneratedSystem& system, int scroll, BodyChoice body) {
    const int W = atlas_.W;
    const int m = static_cast<int>(static_cast<double>(W) * 0.03);
    const int width = static_cast<int>(static_cast<double>(W) - static_cast<double>(W) * 0.03) - m;
    const int count = system.planetcount;
    const int slotWidth = static_cast<int>(std::trunc(width * 0.97 / (count + 1)));
    const int size = std::min(slotWidth - 10, 80);
    const double largest = largestPlanetRadius(system);
    std::size_t button = 0;
    for (int p = 0; p < count; ++p) {
        const PlanetSlot& slot = system.planets[static_cast<std::size_t>(p)];
        const int centreX = m + (p + 1) * slotWidth;
        int y = kStripTop;
        for (std::size_t j = 0; j < slot.bodies.size() && button < bodyButtons_.size(); ++j, ++button) {
            const int edge = std::max(4, bodyEdge(slot.bodies[j], size, largest));
            irr::gui::IGUIButton* element = bodyButtons_[button];
            const int top = j == 0 ? kStripTop + (size - edge) / 2 : y;
            element->setRelativePosition(shifted(rect<s32>(centreX - edge / 2, top, centreX - edge / 2 + edge, top + edge), scroll));
            element->setVisible(top + edge < kStripTop + kStripHeight);
            y = (j == 0 ? kStripTop + size + 4 : top + edge + 4);
            element->setDrawBorder(p == body.planet && static_cast<int>(j) == body.moon);
        }
    }
}

void SystemPanel::buildBodyButtons(const StarRecord& star) {
    removeBodyButtons();
    const GeneratedSystem* system = star.system.get();
    if (system == nullptr || atlas_.thumbnails == nullptr) return;
    for (std::size_t p = 0; p < system->planets.size(); ++p) {
        const PlanetSlot& slot = system->planets[p];
        for (std::size_t j = 0; j < slot.bodies.size(); ++j) {
            const s32 id = kBodyButtonBase + 100 * static_cast<s32>(p) + static_cast<s32>(j);
            irr::gui::IGUIButton* button = atlas_.gui->addButton(rect<s32>(0, 0, 10, 10), atlas_.controls.systempanel,
                                                                 id, nullptr, widen(slot.bodies[j].name).c_str());
            button->setImage(atlas_.thumbnails, sheetRect(bodyThumbnail(slot.bodies[j].type)));
            button->setScaleImage(true);
            button->setUseAlphaChannel(true);
            button->setDrawBorder(false);
            bodyButtons_.push_back(button);
        }
    }
}

void SystemPanel::removeBodyButtons() {
    for (irr::gui::IGUIButton* button : bodyButtons_) button->remove();
    bodyButtons_.clear();
}
