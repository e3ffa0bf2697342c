#include "app/gui_controls.h"

namespace {

using irr::core::rect;
using irr::s32;

irr::gui::IGUIElement* addPanel(irr::gui::IGUIEnvironment* gui, const rect<s32>& area, bool visible) {
    EmptyPanel* panel = new EmptyPanel(gui, gui->getRootGUIElement(), -1, area);
    panel->setVisible(visible);
    panel->drop();  // the GUI root keeps it
    return panel;
}

irr::gui::IGUIButton* addButton(irr::gui::IGUIEnvironment* gui, irr::gui::IGUIElement* panel, const rect<s32>& area,
                                s32 id, const wchar_t* text, const wchar_t* tooltip, bool visible = true) {
    irr::gui::IGUIButton* button = gui->addButton(area, panel, id, text, tooltip);
    button->setVisible(visible);
    return button;
}

irr::gui::IGUIButton* addImageButton(irr::gui::IGUIEnvironment* gui, irr::gui::IGUIElement* panel,
                                     const rect<s32>& area, s32 id, irr::video::ITexture* sheet,
                                     const rect<s32>& source) {
    irr::gui::IGUIButton* button = gui->addButton(area, panel, id);
    if (sheet != nullptr) {
        button->setImage(sheet, source);
        button->setPressedImage(sheet, source);
        button->setUseAlphaChannel(true);
    }
    return button;
}

irr::gui::IGUIListBox* addList(irr::gui::IGUIEnvironment* gui, irr::gui::IGUIElement* panel, const rect<s32>& area,
                               s32 id, std::initializer_list<const wchar_t*> items = {}) {
    irr::gui::IGUIListBox* list = gui->addListBox(area, panel, id, true);
    for (const wchar_t* item : items) list->addItem(item);
    if (items.size() > 0) list->setSelected(0);
    return list;
}

}  // namespace

GuiControls createControls(irr::gui::IGUIEnvironment* gui, int W, int H, irr::video::ITexture* pictograms) {
    GuiControls c;
    c.barpanel = addPanel(gui, rect<s32>(0, 0, W, H), true);
    c.filterpanel = addPanel(gui, rect<s32>(0, 0, W, H - 65), false);
    c.routepanel = addPanel(gui, rect<s32>(0, 0, 200, H - 65), false);
    c.bookmarkpanel = addPanel(gui, rect<s32>(0, 0, W, H), false);
    c.systempanel = addPanel(gui, rect<s32>(0, 0, W, H - 65), false);

    const s32 mid = (W - 200) / 2;
    c.mapbutton = addImageButton(gui, c.barpanel, rect<s32>(W - 180, H - 50, W - 140, H - 10), kMapButton, pictograms,
                                 rect<s32>(200, 0, 240, 40));
    c.galaxybutton = addImageButton(gui, c.barpanel, rect<s32>(W - 120, H - 50, W - 80, H - 10), kGalaxyButton,
                                    pictograms, rect<s32>(200, 40, 240, 80));
    c.systembutton = addImageButton(gui, c.barpanel, rect<s32>(W - 60, H - 50, W - 20, H - 10), kSystemButton,
                                    pictograms, rect<s32>(200, 80, 240, 120));
    c.previoussystem = addButton(gui, c.barpanel, rect<s32>(mid - 395, H - 50, mid - 345, H - 10), kPreviousSystem,
                                 L"<<<", L"previous system in current cube (filter sensitive)", false);
    c.setwaypoint = addButton(gui, c.barpanel, rect<s32>(mid - 335, H - 50, mid - 175, H - 10), kSetWaypoint,
                              L"Set waypoint", L"sets this system as next waypoint", false);
    c.savetocache = addButton(gui, c.barpanel, rect<s32>(mid - 165, H - 50, mid - 5, H - 10), kSaveToCache,
                              L"Save to cache", L"saves the current system to cache for use in orbiter", false);
    c.setastarget = addButton(gui, c.barpanel, rect<s32>(mid + 5, H - 50, mid + 165, H - 10), kSetAsTarget,
                              L"Set as target", L"sets this system as final target and tries calculating a path",
                              false);
    c.savetofolder = addButton(gui, c.barpanel, rect<s32>(mid + 175, H - 50, mid + 335, H - 10), kSaveToFolder,
                               L"Save to folder", L"saves the current system to a folder for editing", false);
    c.nextsystem = addButton(gui, c.barpanel, rect<s32>(mid + 345, H - 50, mid + 395, H - 10), kNextSystem, L">>>",
                             L"next system in current cube (filter sensitive)", false);

    c.classlist = addList(gui, c.filterpanel, rect<s32>(W - 180, 40, W - 20, 140), kClassList,
                          {L"All Stars", L"O-Stars", L"B-Stars", L"A-Stars", L"F-Stars", L"G-Stars", L"K-Stars",
                           L"M-Stars", L"D-Stars", L"Neutr. & Black Holes"});
    c.luminositylist = addList(gui, c.filterpanel, rect<s32>(W - 180, 160, W - 20, 260), kLuminosityList,
                               {L"All Stars", L"I Stars", L"II Stars", L"III Stars", L"IV Stars", L"V Stars",
                                L"VI Stars"});
    c.stalksbox = gui->addCheckBox(true, rect<s32>(W - 180, 290, W - 20, 310), c.filterpanel, kStalksBox, L"Stalks");
    c.labelsbox = gui->addCheckBox(true, rect<s32>(W - 180, 320, W - 20, 340), c.filterpanel, kLabelsBox, L"Labels");
    c.surroundingsbox = gui->addCheckBox(true, rect<s32>(W - 180, 350, W - 20, 370), c.filterpanel, kSurroundingsBox,
                                         L"Surroundings");
    c.searchbox = gui->addEditBox(L"", rect<s32>(W - 180, 500, W - 20, 520), true, c.filterpanel, kSearchBox);
    c.searchresults = addList(gui, c.filterpanel, rect<s32>(W - 180, 540, W - 20, 640), kSearchResults);

    c.connectedonly = gui->addCheckBox(false, rect<s32>(20, 40, 180, 60), c.routepanel, kConnectedOnlyBox,
                                       L"show only connected systems");
    c.waypointlist = addList(gui, c.routepanel, rect<s32>(20, 80, 180, 390), kWaypointList);
    c.addwaypoint = addButton(gui, c.routepanel, rect<s32>(20, 410, 180, 440), kAddWaypoint, L"add waypoint",
                              L"add currently centered system as waypoint");
    c.findroute = addButton(gui, c.routepanel, rect<s32>(20, 460, 180, 490), kFindRoute, L"find route",
                            L"attempts to find a route to the current target system");
    c.removewaypoint = addButton(gui, c.routepanel, rect<s32>(20, 510, 180, 540), kRemoveWaypoint,
                                 L"remove waypoint", L"removes the last waypoint");

    c.folderlist = addList(gui, c.bookmarkpanel, rect<s32>(W - 180, 10, W - 20, 210), kFolderList);
    addButton(gui, c.bookmarkpanel, rect<s32>(W - 180, 220, W - 120, 260), kAddFolder, L"Add",
              L"Create a new HotSpot folder");
    addButton(gui, c.bookmarkpanel, rect<s32>(W - 80, 220, W - 20, 260), kDeleteFolder, L"Delete",
              L"Double click to Delete current HotSpot folder");
    c.hotspotlist = addList(gui, c.bookmarkpanel, rect<s32>(W - 180, 280, W - 20, H - 225), kHotSpotList);
    addButton(gui, c.bookmarkpanel, rect<s32>(W - 180, H - 215, W - 120, H - 175), kAddHotSpot, L"Add",
              L"Create a new HotSpot in the current folder");
    addButton(gui, c.bookmarkpanel, rect<s32>(W - 80, H - 215, W - 20, H - 175), kDeleteHotSpot, L"Delete",
              L"Double click to Delete current HotSpot");
    c.namebox = gui->addEditBox(L"FileName", rect<s32>(W - 180, H - 155, W - 20, H - 135), true, c.bookmarkpanel,
                                kNameBox);
    c.namebox->setToolTipText(L"Name of the HotSpot, folder or file");
    addButton(gui, c.bookmarkpanel, rect<s32>(W - 180, H - 125, W - 120, H - 85), kSaveHotSpots, L"Save",
              L"Save HotSpots to file");
    addButton(gui, c.bookmarkpanel, rect<s32>(W - 80, H - 125, W - 20, H - 85), kLoadHotSpots, L"Load",
              L"Double click to load HotSpots file");

    c.nextplanet = addButton(gui, c.systempanel, rect<s32>(0, 0, 80, 40), kNextPlanet, L">>", L"next planet");
    c.previousplanet = addButton(gui, c.systempanel, rect<s32>(0, 0, 80, 40), kPreviousPlanet, L"<<",
                                 L"previous planet");
    c.nextmoon = addButton(gui, c.systempanel, rect<s32>(0, 0, 80, 40), kNextMoon, L">", L"next moon");
    c.previousmoon = addButton(gui, c.systempanel, rect<s32>(0, 0, 80, 40), kPreviousMoon, L"<", L"previous moon");
    c.backtotop = addButton(gui, c.systempanel, rect<s32>(0, 0, 40, 40), kBackToTop, L"^", L"back to top");

    const s32 m = static_cast<s32>(static_cast<double>(W) * 0.03);
    const s32 e = static_cast<s32>(static_cast<double>(W) - static_cast<double>(W) * 0.03);
    c.startable = gui->addTable(rect<s32>(m, 300, e, 502), c.systempanel, kStarTable, true);
    const s32 starWidth = e - m;
    c.startable->addColumn(L"SOLAR PROPERTIES");
    c.startable->addColumn(L"");
    c.startable->setColumnWidth(0, static_cast<irr::u32>(starWidth / 2));
    c.startable->setColumnWidth(1, static_cast<irr::u32>(starWidth / 2));
    const wchar_t* starRows[] = {L"Name", L"Classification", L"Type", L"Mass", L"Radius", L"Surface Temperature",
                                 L"Age", L"Duration of Main Sequence", L"Luminosity"};
    for (irr::u32 row = 0; row < 9; ++row) {
        c.startable->addRow(row);
        c.startable->setCellText(row, 0, starRows[row]);
    }

    c.bodytable = gui->addTable(rect<s32>(m, 920, e, 1423), c.systempanel, -1, true);
    const s32 bodyWidth = e - m;
    c.bodytable->addColumn(L"");
    c.bodytable->addColumn(L"");
    c.bodytable->addColumn(L"");
    c.bodytable->setColumnWidth(0, static_cast<irr::u32>(bodyWidth / 3));
    c.bodytable->setColumnWidth(1, static_cast<irr::u32>(bodyWidth / 3));
    c.bodytable->setColumnWidth(2, static_cast<irr::u32>(bodyWidth / 3 - 1));
    const wchar_t* bodyRows[] = {L"Type/Characteristics", L"semi-major axis", L"Mass", L"Surface Gravity",
                                 L"Surface Pressure", L"Surface Temperature", L"Temp. range (N/D - Min/Max)",
                                 L"Equatorial radius", L"Density", L"Eccentricity", L"Escape velocity",
                                 L"Mol. weight retained / Atm. compounds", L"Axial tilt", L"Planetary albedo",
                                 L"Exospheric Temperature", L"Length of year", L"Length of day",
                                 L"Boiling point of water", L"Hydrosphere percentage", L"Cloud cover percentage",
                                 L"Ice cover percentage", L"Core radius", L"Gas mass", L"Rock mass"};
    for (irr::u32 row = 0; row < 24; ++row) {
        c.bodytable->addRow(row);
        c.bodytable->setCellText(row, 0, bodyRows[row]);
    }
    c.systemtitle = gui->addStaticText(L"static text", rect<s32>(1, 1, bodyWidth / 3 - 159, 41), true, true,
                                       c.systempanel, -1);
    c.systemtitle->setTextAlignment(irr::gui::EGUIA_CENTER, irr::gui::EGUIA_CENTER);
    return c;
}
