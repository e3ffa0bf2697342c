#pragma once
// Name search in the galaxy view's filter panel: the generated stars of the window and the
// catalogue stars whose names hold the search box's text, and the jump to a chosen one.

#include <string>
#include <vector>

#include <irrlicht/irrlicht.h>

#include "app/atlas_context.h"

// One name-search result: a generated star of the window (at its node's position) or a
// catalogue star (at its place in its own cube).
struct SearchResult {
    std::string name;
    StarId star;
    irr::core::vector3df position;
    bool inWindow = false;
};

class StarSearch {
public:
    explicit StarSearch(AtlasContext& atlas) : atlas_(atlas) {}

    // Searches again when the search box's text changed and fills the result list.
    void update();
    // Moves the centre to the result selected in the list (rebuilding the window when the
    // star lies outside it).
    void activateSelected();

private:
    void addWindowStars(const std::string& needle);
    void addCatalogueStars(const std::string& needle);

    AtlasContext& atlas_;
    std::wstring seen_;
    std::vector<SearchResult> results_;
};
