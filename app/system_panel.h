#pragma once
// The system view's scrolling panel: the star's table, the list of planets and moons, the
// selected body's table with its name, and the strip of body thumbnails (buttons whose ids
// name the body).

#include <climits>
#include <vector>

#include <irrlicht/irrlicht.h>

#include "app/atlas_context.h"

// A body shown in the panel: its planet's index and its own (0 the planet, then its moons).
struct BodyChoice {
    int planet = 0;
    int moon = 0;
};

class SystemPanel {
public:
    static constexpr int kBodyButtonBase = 10000;  // a thumbnail's id: base + 100 * planet + moon
    static constexpr int kTablesTop = 270;         // where the tables start, in panel pixels
    static constexpr int kScrolledUp = kTablesTop - 100;  // the farthest the panel scrolls up

    explicit SystemPanel(AtlasContext& atlas) : atlas_(atlas) {}

    // Fills the tables, the list and the thumbnails for `star`, showing `body`.
    void fill(const StarRecord& star, BodyChoice body);
    // Places everything scrolled up by `scroll` pixels, the chosen body's thumbnail framed.
    void layout(const StarRecord& star, int scroll, BodyChoice body);
    void removeBodyButtons();
    // Whether the pointer is on a table that scrolls its own rows; the table takes the focus,
    // which the wheel's turns go to.
    bool wheelToTable() const;

private:
    void fillStarTable(const StarRecord& star);
    void fillSystemList(const GeneratedSystem& system);
    void showBody(const GeneratedSystem& system, BodyChoice body);
    void layoutTables(int scroll);
    int rightSideWidth(int span) const;
    void layoutBodyButtons(const GeneratedSystem& system, int scroll, BodyChoice body);
    void buildBodyButtons(const StarRecord& star);

    AtlasContext& atlas_;
    irr::gui::IGUITable* systemList_ = nullptr;
    std::vector<irr::gui::IGUIButton*> bodyButtons_;
    // What each table's columns need, measured when filled.
    std::vector<int> starWidest_;
    std::vector<int> bodyWidest_;
    std::vector<int> listWidest_;
    int placedScroll_ = INT_MIN;  // the scroll the tables were placed for
};
