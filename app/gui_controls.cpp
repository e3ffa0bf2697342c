#include "app/gui_controls.h"

#include <array>
#include <functional>
#include <vector>

#include "app/panel_table.h"

namespace {

using irr::core::rect;
using irr::s32;

enum class Kind { button, imageButton, list, checkBox, editBox };
enum Panel { kBar, kFilter, kRoute, kBookmark, kSystem, kPanelCount };

// Where a created control is kept in GuiControls, if anywhere.
class Slot {
public:
    Slot() = default;
    template <class Element>
    Slot(Element* GuiControls::*member)
        : keep_([member](GuiControls& c, irr::gui::IGUIElement* e) { c.*member = static_cast<Element*>(e); }) {}
    void keep(GuiControls& c, irr::gui::IGUIElement* element) const {
        if (keep_) keep_(c, element);
    }

private:
    std::function<void(GuiControls&, irr::gui::IGUIElement*)> keep_;
};

// One control; the rows are made in this order, which is also the order the Tab key follows.
struct ControlRow {
    Kind kind;
    Panel panel;
    s32 id;
    rect<s32> area;
    const wchar_t* caption;  // a button's text, a check box's label, an edit box's text
    const wchar_t* tooltip;
    bool shown;              // a button shows from the start; a check box starts checked
    Slot slot;
    std::vector<const wchar_t*> items = {};  // a list's entries, the first selected
    rect<s32> source = {};                   // an image button's picture in the pictogram sheet
};

irr::gui::IGUIElement* addPanel(irr::gui::IGUIEnvironment* gui, const rect<s32>& area, bool visible) {
    EmptyPanel* panel = new EmptyPanel(gui, gui->getRootGUIElement(), -1, area);
    panel->setVisible(visible);
    panel->drop();  // the GUI root keeps it
    return panel;
}

// The bottom bar: the view buttons in the corner, and the system view's commands from the left
// end, leaving the middle to messages.
constexpr s32 kStepWidth = 50;
constexpr s32 kCommandWidth = 110;
constexpr s32 kBarGap = 10;

s32 commandLeft(int slot) { return kBarGap + kStepWidth + kBarGap + slot * (kCommandWidth + kBarGap); }

std::vector<ControlRow> barRows(int W, int H) {
    const s32 last = commandLeft(4);
    return {
        {Kind::imageButton, kBar, kMapButton, {W - 180, H - 50, W - 140, H - 10}, nullptr, nullptr, true,
         &GuiControls::mapbutton, {}, {200, 0, 240, 40}},
        {Kind::imageButton, kBar, kGalaxyButton, {W - 120, H - 50, W - 80, H - 10}, nullptr, nullptr, true,
         &GuiControls::galaxybutton, {}, {200, 40, 240, 80}},
        {Kind::imageButton, kBar, kSystemButton, {W - 60, H - 50, W - 20, H - 10}, nullptr, nullptr, true,
         &GuiControls::systembutton, {}, {200, 80, 240, 120}},
        {Kind::button, kBar, kPreviousSystem, {kBarGap, H - 50, kBarGap + kStepWidth, H - 10}, L"<<<",
         L"previous system in current cube (filter sensitive)", false, &GuiControls::previoussystem},
        {Kind::button, kBar, kSetWaypoint, {commandLeft(0), H - 50, commandLeft(0) + kCommandWidth, H - 10}, L"Set waypoint",
         L"sets this system as next waypoint", false, &GuiControls::setwaypoint},
        {Kind::button, kBar, kSaveToCache, {commandLeft(1), H - 50, commandLeft(1) + kCommandWidth, H - 10}, L"Save to cache",
         L"saves the current system to cache for use in orbiter", false, &GuiControls::savetocache},
        {Kind::button, kBar, kSetAsTarget, {commandLeft(2), H - 50, commandLeft(2) + kCommandWidth, H - 10}, L"Set as target",
         L"sets this system as final target and tries calculating a path", false, &GuiControls::setastarget},
        {Kind::button, kBar, kSaveToFolder, {commandLeft(3), H - 50, commandLeft(3) + kCommandWidth, H - 10}, L"Save to folder",
         L"saves the current system to a folder for editing", false, &GuiControls::savetofolder},
        {Kind::button, kBar, kNextSystem, {last, H - 50, last + kStepWidth, H - 10}, L">>>",
         L"next system in current cube (filter sensitive)", false, &GuiControls::nextsystem},
    };
}

// The galaxy view's filter panel on the right: class filter, display switches, name search.
std::vector<ControlRow> filterRows(int W) {
    return {
        {Kind::list, kFilter, kClassList, {W - 180, 40, W - 20, 140}, nullptr, nullptr, true, &GuiControls::classlist,
         {L"All Stars", L"O-Stars", L"B-Stars", L"A-Stars", L"F-Stars", L"G-Stars", L"K-Stars", L"M-Stars", L"D-Stars",
          L"Neutr. & Black Holes"}},
        {Kind::list, kFilter, kLuminosityList, {W - 180, 160, W - 20, 260}, nullptr, nullptr, true,
         &GuiControls::luminositylist,
         {L"All Stars", L"I Stars", L"II Stars", L"III Stars", L"IV Stars", L"V Stars", L"VI Stars"}},
        {Kind::checkBox, kFilter, kStalksBox, {W - 180, 290, W - 20, 310}, L"Stalks", nullptr, true,
         &GuiControls::stalksbox},
        {Kind::checkBox, kFilter, kLabelsBox, {W - 180, 320, W - 20, 340}, L"Labels", nullptr, true,
         &GuiControls::labelsbox},
        {Kind::checkBox, kFilter, kSurroundingsBox, {W - 180, 350, W - 20, 370}, L"Surroundings", nullptr, true,
         &GuiControls::surroundingsbox},
        {Kind::editBox, kFilter, kSearchBox, {W - 180, 500, W - 20, 520}, L"", nullptr, true, &GuiControls::searchbox},
        {Kind::list, kFilter, kSearchResults, {W - 180, 540, W - 20, 640}, nullptr, nullptr, true,
         &GuiControls::searchresults},
    };
}

// The galaxy view's route panel on the left.
std::vector<ControlRow> routeRows() {
    return {
        // Two lines: the caption is wider than the panel.
        {Kind::checkBox, kRoute, kConnectedOnlyBox, {20, 34, 196, 70}, L"show only connected\nsystems", nullptr, false,
         &GuiControls::connectedonly},
        {Kind::list, kRoute, kWaypointList, {20, 80, 180, 390}, nullptr, nullptr, true, &GuiControls::waypointlist},
        {Kind::button, kRoute, kAddWaypoint, {20, 410, 180, 440}, L"add waypoint",
         L"add currently centered system as waypoint", true, &GuiControls::addwaypoint},
        {Kind::button, kRoute, kFindRoute, {20, 460, 180, 490}, L"find route",
         L"attempts to find a route to the current target system", true, &GuiControls::findroute},
        {Kind::button, kRoute, kRemoveWaypoint, {20, 510, 180, 540}, L"remove waypoint", L"removes the last waypoint",
         true, &GuiControls::removewaypoint},
    };
}

// The map view's bookmark panel on the right.
std::vector<ControlRow> bookmarkRows(int W, int H) {
    return {
        {Kind::list, kBookmark, kFolderList, {W - 180, 10, W - 20, 210}, nullptr, nullptr, true, &GuiControls::folderlist},
        {Kind::button, kBookmark, kAddFolder, {W - 180, 220, W - 120, 260}, L"Add", L"Create a new HotSpot folder", true,
         {}},
        {Kind::button, kBookmark, kDeleteFolder, {W - 80, 220, W - 20, 260}, L"Delete",
         L"Double click to Delete current HotSpot folder", true, {}},
        {Kind::list, kBookmark, kHotSpotList, {W - 180, 280, W - 20, H - 225}, nullptr, nullptr, true,
         &GuiControls::hotspotlist},
        {Kind::button, kBookmark, kAddHotSpot, {W - 180, H - 215, W - 120, H - 175}, L"Add",
         L"Create a new HotSpot in the current folder", true, {}},
        {Kind::button, kBookmark, kDeleteHotSpot, {W - 80, H - 215, W - 20, H - 175}, L"Delete",
         L"Double click to Delete current HotSpot", true, {}},
        {Kind::editBox, kBookmark, kNameBox, {W - 180, H - 155, W - 20, H - 135}, L"FileName",
         L"Name of the HotSpot, folder or file", true, &GuiControls::namebox},
        {Kind::button, kBookmark, kSaveHotSpots, {W - 180, H - 125, W - 120, H - 85}, L"Save", L"Save HotSpots to file",
         true, {}},
        {Kind::button, kBookmark, kLoadHotSpots, {W - 80, H - 125, W - 20, H - 85}, L"Load",
         L"Double click to load HotSpots file", true, {}},
    };
}

// The system view's buttons beside the body's title; the view places them.
std::vector<ControlRow> systemRows() {
    return {
        {Kind::button, kSystem, kNextPlanet, {0, 0, 80, 40}, L">>", L"next planet", true, &GuiControls::nextplanet},
        {Kind::button, kSystem, kPreviousPlanet, {0, 0, 80, 40}, L"<<", L"previous planet", true,
         &GuiControls::previousplanet},
        {Kind::button, kSystem, kNextMoon, {0, 0, 80, 40}, L">", L"next moon", true, &GuiControls::nextmoon},
        {Kind::button, kSystem, kPreviousMoon, {0, 0, 80, 40}, L"<", L"previous moon", true, &GuiControls::previousmoon},
        {Kind::button, kSystem, kBackToTop, {0, 0, 40, 40}, L"^", L"back to top", true, &GuiControls::backtotop},
        {Kind::button, kSystem, kSavePicture, {0, 0, 160, 40}, L"Save picture",
         L"saves a picture of the system (SVG) beside its saved-system file", true, &GuiControls::savepicture},
    };
}

irr::gui::IGUIElement* addControl(irr::gui::IGUIEnvironment* gui, irr::gui::IGUIElement* panel, const ControlRow& row,
                                  irr::video::ITexture* pictograms) {
    switch (row.kind) {
    case Kind::imageButton: {
        irr::gui::IGUIButton* button = gui->addButton(row.area, panel, row.id);
        if (pictograms != nullptr) {
            button->setImage(pictograms, row.source);
            button->setPressedImage(pictograms, row.source);
            button->setUseAlphaChannel(true);
        }
        return button;
    }
    case Kind::list: {
        irr::gui::IGUIListBox* list = gui->addListBox(row.area, panel, row.id, true);
        for (const wchar_t* item : row.items) list->addItem(item);
        if (!row.items.empty()) list->setSelected(0);
        return list;
    }
    case Kind::checkBox: return gui->addCheckBox(row.shown, row.area, panel, row.id, row.caption);
    case Kind::editBox: {
        irr::gui::IGUIEditBox* box = gui->addEditBox(row.caption, row.area, true, panel, row.id);
        // The skin writes button text in white; an edit field keeps its white ground, so its
        // text is the bar's dark blue.
        box->setOverrideColor(irr::video::SColor(0xff04054c));
        if (row.tooltip != nullptr) box->setToolTipText(row.tooltip);
        return box;
    }
    default: {
        irr::gui::IGUIButton* button = gui->addButton(row.area, panel, row.id, row.caption, row.tooltip);
        button->setVisible(row.shown);
        return button;
    }
    }
}

// The star's table: one row per property, the values filled in by the system view.
void addStarTable(irr::gui::IGUIEnvironment* gui, GuiControls& c, s32 m, s32 e) {
    c.startable = gui->addTable(rect<s32>(m, 300, e, 502), c.systempanel, kStarTable, true);
    for (const wchar_t* caption : kStarTableCaptions) c.startable->addColumn(caption);
    makeReadOnly(gui, c.startable);
    const wchar_t* starRows[] = {L"Name", L"Classification", L"Type", L"Mass", L"Radius", L"Surface Temperature",
                                 L"Age", L"Duration of Main Sequence", L"Luminosity"};
    for (irr::u32 row = 0; row < 9; ++row) {
        c.startable->addRow(row);
        c.startable->setCellText(row, 0, starRows[row]);
    }
}

// The selected body's table, and its name above it.
void addBodyTable(irr::gui::IGUIEnvironment* gui, GuiControls& c, s32 m, s32 e) {
    c.bodytable = gui->addTable(rect<s32>(m, 920, e, 1423), c.systempanel, -1, true);
    const s32 bodyWidth = e - m;
    for (irr::u32 column = 0; column < 3; ++column) c.bodytable->addColumn(L"");
    makeReadOnly(gui, c.bodytable);
    const wchar_t* bodyRows[] = {L"Type/Characteristics", L"semi-major axis", L"Mass", L"Surface Gravity",
                                 L"Surface Pressure", L"Surface Temperature", L"Temp. range (N/D - Min/Max)",
                                 L"Equatorial radius", L"Density", L"Eccentricity", L"Escape velocity",
                                 L"Mol. weight retained / Atm. compounds", L"Axial tilt", L"Planetary albedo",
                                 L"Exospheric Temperature", L"Length of year", L"Length of day",
                                 L"Boiling point of water", L"Hydrosphere percentage", L"Cloud cover percentage",
                                 L"Ice cover percentage", L"Core radius", L"Gas mass", L"Rock mass"};
    for (irr::u32 row = 0; row < kBodyTableRows; ++row) {
        c.bodytable->addRow(row);
        c.bodytable->setCellText(row, 0, row == kHabitabilityRow ? L"Habitability" : bodyRows[row - (row > kHabitabilityRow)]);
    }
    c.systemtitle = gui->addStaticText(L"static text", rect<s32>(1, 1, bodyWidth / 3 - 159, 41), true, true,
                                       c.systempanel, -1);
    c.systemtitle->setTextAlignment(irr::gui::EGUIA_CENTER, irr::gui::EGUIA_CENTER);
}

}  // namespace

irr::core::rect<s32> barMessagePlace(int W, int H) {
    return {commandLeft(4) + kStepWidth + kBarGap, H - 58, W - 200 - 2 - kBarGap, H - 2};
}

GuiControls createControls(irr::gui::IGUIEnvironment* gui, int W, int H, irr::video::ITexture* pictograms) {
    GuiControls c;
    const std::array<irr::gui::IGUIElement*, kPanelCount> panels = {
        c.barpanel = addPanel(gui, rect<s32>(0, 0, W, H), true),
        c.filterpanel = addPanel(gui, rect<s32>(0, 0, W, H - 65), false),
        c.routepanel = addPanel(gui, rect<s32>(0, 0, 200, H - 65), false),
        c.bookmarkpanel = addPanel(gui, rect<s32>(0, 0, W, H), false),
        c.systempanel = addPanel(gui, rect<s32>(0, 0, W, H - 65), false),
    };
    for (const auto& rows : {barRows(W, H), filterRows(W), routeRows(), bookmarkRows(W, H), systemRows()})
        for (const ControlRow& row : rows) row.slot.keep(c, addControl(gui, panels[row.panel], row, pictograms));

    const s32 m = static_cast<s32>(static_cast<double>(W) * 0.03);
    const s32 e = static_cast<s32>(static_cast<double>(W) - static_cast<double>(W) * 0.03);
    addStarTable(gui, c, m, e);
    addBodyTable(gui, c, m, e);
    return c;
}
