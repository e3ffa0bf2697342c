#pragma once
// The galaxy view: the 3D star map around the centre point, with the orbit camera, movement
// and cube crossing, hover and picking, the class filter, the display switches, name search,
// the route panel and the route lines.

#include <array>
#include <optional>

#include <irrlicht/irrlicht.h>

#include "app/atlas_context.h"
#include "app/route_panel.h"
#include "app/star_search.h"

class GalaxyView {
public:
    explicit GalaxyView(AtlasContext& atlas) : atlas_(atlas), search_(atlas), routes_(atlas) {}

    // The disc that shows the hovered star's plane; made at start-up, in its place among the
    // scene's helper objects.
    void createHoverDisc();

    // `asked` kCentreSystem: the system view was asked for elsewhere; it opens on the star at
    // the centre in the first frame.
    void enter(ViewMode asked);
    ViewMode frame(float dt);
    void leave();

private:
    // The centre point moves by these steps in a frame, the horizontal ones as the camera faces.
    struct Movement {
        float forward = 0.0f;
        float sideways = 0.0f;
        float vertical = 0.0f;
    };

    std::optional<StarId> pick(int x, int y) const;
    std::optional<StarId> pointed() const;
    StarRecord* starAtCentre() const;
    bool panelsHidden() const;

    void panelShowAndHide();
    void buttonCommands();
    void checkBoxCommands();
    void listCommands();
    void toggleStalks();
    void toggleLabels();
    void toggleSurroundings();

    void turnCamera();
    ViewMode clickOnStar();
    ViewMode openStar(const StarId& id);
    ViewMode answerRequest();
    Movement movementKeys(float dt);
    void switchKeys(float dt);
    void moveCentreBy(const Movement& movement);
    void crossCubes();
    void settleMove();
    void takeOverMove();

    void drawOverlays(const std::array<float, 3>& cubeBefore);
    void placeHoverDisc();
    void drawHover();
    void drawRouteLines();
    void drawPanels();

    AtlasContext& atlas_;
    StarSearch search_;
    RoutePanel routes_;
    irr::scene::ISceneNode* hoverDisc_ = nullptr;
    std::optional<StarId> hovered_;     // the shown star under the pointer
    std::optional<StarId> firstClick_;  // the star of a click that may become a double click
    irr::core::position2di firstClickAt_;  // and where the pointer was
    int movingDirection_ = 0;  // the crossing whose move of the window is on its way
    ViewMode request_ = kGalaxyView;  // the view asked for with a button or key, if another
};
