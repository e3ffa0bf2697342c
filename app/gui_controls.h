#pragma once
// Every panel and control of the atlas, created once at start-up. Commands reach the views
// through the event receiver's record of the last clicked or changed element's ID.

#include <vector>

#include <irrlicht/irrlicht.h>

#include "app/irrlicht_adapters.h"

// A container that shows its children and never takes the mouse itself.
class EmptyPanel : public irr::gui::IGUIElement {
public:
    EmptyPanel(irr::gui::IGUIEnvironment* gui, irr::gui::IGUIElement* parent, irr::s32 id,
               const irr::core::rect<irr::s32>& rectangle)
        : irr::gui::IGUIElement(irr::gui::EGUIET_ELEMENT, gui, parent, id, rectangle) {}
    bool isPointInside(const irr::core::position2d<irr::s32>&) const override { return false; }
};

// Control IDs.
enum ControlId : irr::s32 {
    kMapButton = 501,
    kGalaxyButton = 502,
    kSystemButton = 503,
    kPreviousSystem = 210,
    kSetWaypoint = 208,
    kSaveToCache = 206,
    kSetAsTarget = 209,
    kSaveToFolder = 207,
    kNextSystem = 211,
    kClassList = 101,
    kLuminosityList = 102,
    kStalksBox = 103,
    kLabelsBox = 105,
    kSurroundingsBox = 104,
    kSearchBox = 106,
    kSearchResults = 107,
    kConnectedOnlyBox = 403,
    kWaypointList = 401,
    kAddWaypoint = 402,
    kFindRoute = 404,
    kRemoveWaypoint = 405,
    kFolderList = 302,
    kAddFolder = 303,
    kDeleteFolder = 304,
    kHotSpotList = 301,
    kAddHotSpot = 305,
    kDeleteHotSpot = 306,
    kNameBox = 309,
    kSaveHotSpots = 307,
    kLoadHotSpots = 308,
    kNextPlanet = 201,
    kPreviousPlanet = 202,
    kNextMoon = 203,
    kPreviousMoon = 204,
    kBackToTop = 205,
    kSavePicture = 212,
    kStarTable = 1,
};

// The body table: the 24 rows of the body's values, with its habitability second, where it is
// seen without scrolling.
constexpr irr::u32 kBodyTableRows = 25;
constexpr irr::u32 kHabitabilityRow = 1;

// The captions of the star table's two columns; the body table's three have none.
const std::vector<const wchar_t*> kStarTableCaptions = {L"SOLAR PROPERTIES", L""};

struct GuiControls {
    irr::gui::IGUIElement* barpanel = nullptr;
    irr::gui::IGUIElement* filterpanel = nullptr;
    irr::gui::IGUIElement* routepanel = nullptr;
    irr::gui::IGUIElement* bookmarkpanel = nullptr;
    irr::gui::IGUIElement* systempanel = nullptr;

    irr::gui::IGUIButton* mapbutton = nullptr;
    irr::gui::IGUIButton* galaxybutton = nullptr;
    irr::gui::IGUIButton* systembutton = nullptr;
    irr::gui::IGUIButton* previoussystem = nullptr;
    irr::gui::IGUIButton* setwaypoint = nullptr;
    irr::gui::IGUIButton* savetocache = nullptr;
    irr::gui::IGUIButton* setastarget = nullptr;
    irr::gui::IGUIButton* savetofolder = nullptr;
    irr::gui::IGUIButton* nextsystem = nullptr;

    irr::gui::IGUIListBox* classlist = nullptr;
    irr::gui::IGUIListBox* luminositylist = nullptr;
    irr::gui::IGUICheckBox* stalksbox = nullptr;
    irr::gui::IGUICheckBox* labelsbox = nullptr;
    irr::gui::IGUICheckBox* surroundingsbox = nullptr;
    irr::gui::IGUIEditBox* searchbox = nullptr;
    irr::gui::IGUIListBox* searchresults = nullptr;

    irr::gui::IGUICheckBox* connectedonly = nullptr;
    irr::gui::IGUIListBox* waypointlist = nullptr;
    irr::gui::IGUIButton* addwaypoint = nullptr;
    irr::gui::IGUIButton* findroute = nullptr;
    irr::gui::IGUIButton* removewaypoint = nullptr;

    irr::gui::IGUIListBox* folderlist = nullptr;
    irr::gui::IGUIListBox* hotspotlist = nullptr;
    irr::gui::IGUIEditBox* namebox = nullptr;

    irr::gui::IGUIButton* nextplanet = nullptr;
    irr::gui::IGUIButton* previousplanet = nullptr;
    irr::gui::IGUIButton* nextmoon = nullptr;
    irr::gui::IGUIButton* previousmoon = nullptr;
    irr::gui::IGUIButton* backtotop = nullptr;
    irr::gui::IGUIButton* savepicture = nullptr;
    irr::gui::IGUITable* startable = nullptr;
    irr::gui::IGUITable* bodytable = nullptr;  // kBodyTableRows rows
    irr::gui::IGUIStaticText* systemtitle = nullptr;
};

// Creates the five panels and their controls for a window of W x H. `pictograms` gives the
// corner buttons their images (may be null).
GuiControls createControls(irr::gui::IGUIEnvironment* gui, int W, int H, irr::video::ITexture* pictograms);

// The bottom bar's place for messages: between the system view's buttons on the left and the
// view buttons' corner on the right, three lines high.
irr::core::rect<irr::s32> barMessagePlace(int W, int H);
constexpr int kBarMessageLines = 3;

// The window sizes the layout is made for.
struct WindowSize {
    int Width;
    int Height;
};
constexpr WindowSize kSmallestWindow{1024, 768};
constexpr int kLargestWindowSide = 8192;
