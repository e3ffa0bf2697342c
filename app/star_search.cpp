#include "app/star_search.h"

#include <cctype>

#include "app/atlas_actions.h"

namespace {

constexpr int kMostResults = 1000;

std::string lowerCase(std::string text) {
    for (char& c : text) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return text;
}

}  // namespace

void StarSearch::update() {
    const wchar_t* text = atlas_.controls.searchbox->getText();
    const std::wstring current = text != nullptr ? text : L"";
    if (current == seen_) return;
    seen_ = current;
    results_.clear();
    atlas_.controls.searchresults->clear();
    if (current.empty()) return;
    const std::string needle = lowerCase(narrow(current.c_str()));
    addWindowStars(needle);
    addCatalogueStars(needle);
    for (const SearchResult& result : results_) atlas_.controls.searchresults->addItem(widen(result.name).c_str());
}

void StarSearch::addWindowStars(const std::string& needle) {
    for (int node = 0; node < GalaxyWindow::kCubeCount && static_cast<int>(results_.size()) < kMostResults; ++node) {
        for (const StarRecord* star : atlas_.window->cube(node).stars) {
            if (star->id.isCatalogue()) continue;  // catalogue stars are found below
            if (lowerCase(star->physical->name).find(needle) == std::string::npos) continue;
            SearchResult result;
            result.name = star->physical->name;
            result.star = star->id;
            result.inWindow = true;
            result.position = irr::core::vector3df(star->offset[0] + 10.0f * static_cast<float>(node % 3 - 1),
                                                   star->offset[1] + 10.0f * static_cast<float>(node / 9 - 1),
                                                   star->offset[2] + 10.0f * static_cast<float>((node / 3) % 3 - 1));
            results_.push_back(result);
            if (static_cast<int>(results_.size()) >= kMostResults) break;
        }
    }
}

void StarSearch::addCatalogueStars(const std::string& needle) {
    for (const auto& star : atlas_.catalogue.stars) {
        if (static_cast<int>(results_.size()) >= kMostResults) break;
        if (lowerCase(star->physical->name).find(needle) == std::string::npos) continue;
        SearchResult result;
        result.name = star->physical->name;
        result.star = star->id;
        result.position = irr::core::vector3df(star->offset[0], star->offset[1], star->offset[2]);
        results_.push_back(result);
    }
}

void StarSearch::activateSelected() {
    const int selected = atlas_.controls.searchresults->getSelected();
    if (selected < 0 || selected >= static_cast<int>(results_.size())) return;
    const SearchResult result = results_[static_cast<std::size_t>(selected)];
    if (!result.inWindow)
        if (const StarRecord* star = atlas_.window->find(result.star))
            rebuildWindowAt(atlas_, star->cube.x, star->cube.y, star->cube.z);
    moveCentreTo(atlas_, result.position);
}
