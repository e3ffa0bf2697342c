#include "galaxy/jump_network.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <fstream>
#include <memory>
#include <set>
#include <sstream>
#include <string_view>

#include "text/format_limits.h"
#include "text/text_lines.h"
#include "text/text_number.h"
#include "galaxy/cube_population.h"
#include "galaxy/population_model.h"

namespace {

// The near search gives up at this level.
constexpr int kDeepestLevel = 10000;
// The galaxy picture is 4000 x 4000 cubes, so no straight line across the galaxy is longer
// than about 5660 cubes, and its discs and halo are far thinner than they are wide. A longer
// corridor, or an end farther than this from the centre on any axis, lies outside the galaxy,
// where cubes hold no stars to jump by: the far search gives up instead of filling them.
constexpr double kLongestCorridor = 6000.0;

std::string_view fieldAt(const std::vector<std::string_view>& fields, std::size_t index) {
    return index < fields.size() ? fields[index] : std::string_view{};
}

struct Position {
    double x, y, z;
};

Position positionOf(const StarRecord& star) {
    return {10.0 * star.cube.x + static_cast<double>(star.offset[0]),
            10.0 * star.cube.y + static_cast<double>(star.offset[2]),
            10.0 * star.cube.z + static_cast<double>(star.offset[1])};
}

// Cubes in the corridor of a far search over `distance` parsecs: it stops about three cubes
// short of the start, where the window around the start takes over.
double corridorLength(double distance) { return std::trunc(0.1 * distance - 3.0); }

// The unit vector from `from` towards `to`; a vector of (almost) no length stays as it is.
Position unitVector(const Position& from, const Position& to) {
    Position u{to.x - from.x, to.y - from.y, to.z - from.z};
    const double squared = u.x * u.x + u.y * u.y + u.z * u.z;
    if (std::fabs(squared) > 1e-8) {
        const double length = std::sqrt(squared);
        u = {u.x / length, u.y / length, u.z / length};
    }
    return u;
}

bool sameStar(const StarRecord& a, const StarRecord& b) {
    return &a == &b || (a.cube.x == b.cube.x && a.cube.y == b.cube.y && a.cube.z == b.cube.z &&
                        a.offset == b.offset && a.physical && b.physical &&
                        a.physical->name == b.physical->name);
}

// The view window's own record of `star`, or null when the window does not hold it.
StarRecord* shownCopy(GalaxyWindow& window, const StarRecord& star) {
    for (int node = 0; node < GalaxyWindow::kCubeCount; ++node)
        for (StarRecord* candidate : window.cube(node).stars)
            if (sameStar(*candidate, star)) return candidate;
    return nullptr;
}

// One star of a search with the way it was reached, and what the jump test needs of it.
struct SearchNode {
    StarRecord* star;
    int level;
    int parent;
    Position position{};
    std::vector<int> categories;
};

// The chain from the level-2 node down to `node`, in order from the start side.
std::vector<StarRecord*> chainTo(const std::vector<SearchNode>& nodes, int node) {
    std::vector<StarRecord*> chain;
    for (int n = node; n > 0; n = nodes[n].parent) chain.insert(chain.begin(), nodes[n].star);
    return chain;
}

// The jump test over prepared nodes: the same answer as canJump, without looking up the
// categories and positions again for every pair.
class JumpSearch {
public:
    JumpSearch(const JumpNetwork& network, std::vector<SearchNode>& nodes, StarRecord& target)
        : network_(network), nodes_(nodes), target_{&target, 0, -1, positionOf(target), {}} {
        spread_ = network.tolerance * static_cast<double>(0.01f);
        float longest = 0.0f;
        for (float length : network.lengths) longest = std::max(longest, length);
        reach_ = (1.0 + std::fabs(spread_)) * static_cast<double>(longest);
        prepare(target_);
        for (SearchNode& node : nodes_) prepare(node);
    }

    // Breadth-first search from node 0. Each newly reached star is tested against the target,
    // so a route always has at least one star between start and target. Up to `candidates`
    // chains of the first level that reaches the target are compared, and the one with the
    // fewest entries wins (the first on a tie).
    std::vector<StarRecord*> run(int candidates) {
        int visited = 1;
        const int total = static_cast<int>(nodes_.size());
        for (int level = 1; level < kDeepestLevel && visited < total; ++level) {
            bool any = false;
            std::vector<std::vector<StarRecord*>> found;
            for (int n = 0; n < total && static_cast<int>(found.size()) < candidates; ++n) {
                if (nodes_[n].level != level) continue;
                any = true;
                for (int m = 1; m < total; ++m) {
                    if (nodes_[m].level != 0 || !jumps(nodes_[n], nodes_[m])) continue;
                    nodes_[m].level = level + 1;
                    nodes_[m].parent = n;
                    ++visited;
                    if (jumps(nodes_[m], target_)) {
                        found.push_back(chainTo(nodes_, m));
                        if (static_cast<int>(found.size()) >= candidates) break;
                    }
                }
            }
            if (!found.empty()) {
                std::size_t best = 0;
                for (std::size_t i = 1; i < found.size(); ++i)
                    if (found[i].size() < found[best].size()) best = i;
                return found[best];
            }
            if (!any) break;
        }
        return {};
    }

private:
    const JumpNetwork& network_;
    std::vector<SearchNode>& nodes_;
    SearchNode target_;
    double spread_ = 0.0;
    double reach_ = 0.0;

    void prepare(SearchNode& node) const {
        node.position = positionOf(*node.star);
        node.categories.clear();
        if (!node.star->physical) return;
        for (int i = 0; i < network_.categorycount; ++i)
            if (network_.inCategory(node.star->physical->mass, i)) node.categories.push_back(i);
    }

    bool jumps(const SearchNode& from, const SearchNode& to) const {
        if (from.categories.empty() || to.categories.empty()) return false;
        const double dx = from.position.x - to.position.x;
        const double dy = from.position.y - to.position.y;
        const double dz = from.position.z - to.position.z;
        if (std::fabs(dx) > reach_ || std::fabs(dy) > reach_ || std::fabs(dz) > reach_) return false;
        const double distance = std::sqrt(dx * dx + dy * dy + dz * dz);
        const int count = network_.categorycount;
        for (const int i : from.categories)
            for (const int j : to.categories) {
                const double nominal = network_.lengths[static_cast<std::size_t>(i * count + j)];
                if ((1.0 - spread_) * nominal < distance && distance < (1.0 + spread_) * nominal) return true;
            }
        return false;
    }
};

}  // namespace

bool beyondCorridorSearch(const GalaxyCatalogue& galaxy, const StarRecord& start,
                          const StarRecord& target) {
    for (const StarRecord* end : {&start, &target}) {
        for (const std::int32_t index : {end->cube.x, end->cube.y, end->cube.z})
            if (std::fabs(static_cast<double>(index)) > kLongestCorridor) return true;
        if (galaxy.densityimage != nullptr &&
            !insideDensityPicture(*galaxy.densityimage, end->cube.x, end->cube.y))
            return true;
    }
    return !(corridorLength(starDistance(start, target)) <= kLongestCorridor);
}

double starDistance(const StarRecord& a, const StarRecord& b) {
    const Position pa = positionOf(a);
    const Position pb = positionOf(b);
    const double dx = pa.x - pb.x;
    const double dy = pa.y - pb.y;
    const double dz = pa.z - pb.z;
    return std::sqrt(dx * dx + dy * dy + dz * dz);
}

void JumpNetwork::readJumpData(const std::string& text) {
    const std::vector<std::string_view> lines = splitLines(text);
    auto line = [&](std::size_t index) { return index < lines.size() ? lines[index] : std::string_view{}; };

    const std::vector<std::string_view> head = splitFields(line(0), ',');
    int count = leadingInteger(fieldAt(head, 0));
    if (count < 0) count = 0;
    if (count > kMostJumpCategories) count = kMostJumpCategories;
    categorycount = count;
    tolerance = leadingNumber(fieldAt(head, 1));
    const double scale = leadingNumber(fieldAt(head, 2));

    bounds.assign(static_cast<std::size_t>(2 * count), 0.0f);
    const std::vector<std::string_view> limits = splitFields(line(1), ',');
    for (int i = 0; i < 2 * count; ++i) {
        const std::string_view field = fieldAt(limits, static_cast<std::size_t>(i));
        bounds[static_cast<std::size_t>(i)] =
            static_cast<float>(i == 2 * count - 1 ? leadingInteger(field) : leadingNumber(field));
    }

    lengths.assign(static_cast<std::size_t>(count) * static_cast<std::size_t>(count), 0.0f);
    for (int i = 0; i < count; ++i) {
        const std::vector<std::string_view> row = splitFields(line(2 + static_cast<std::size_t>(i)), ',');
        for (int j = 0; j < count; ++j)
            lengths[static_cast<std::size_t>(i * count + j)] =
                static_cast<float>(leadingNumber(fieldAt(row, static_cast<std::size_t>(j))) * scale);
    }
}

bool JumpNetwork::load(const std::filesystem::path& file, StarRecord* home, ListBox* list) {
    bool read = false;
    readJumpData(readTextFile(file, &read));
    maxcandidates = 10;
    waypointlist = list;
    waypoints.clear();
    if (home != nullptr) {
        home->jumpnode = 1;
        waypoints.push_back(home);
    }
    waypointcount = static_cast<std::int32_t>(waypoints.size());
    refreshList();
    return read;
}

bool JumpNetwork::inCategory(double mass, int category) const {
    return bounds[static_cast<std::size_t>(2 * category)] <= mass &&
           mass <= bounds[static_cast<std::size_t>(2 * category + 1)];
}

bool JumpNetwork::canJump(const StarRecord& from, const StarRecord& to) const {
    if (!from.physical || !to.physical) return false;
    const double distance = starDistance(from, to);
    const double spread = tolerance * static_cast<double>(0.01f);
    for (int i = 0; i < categorycount; ++i) {
        if (!inCategory(from.physical->mass, i)) continue;
        for (int j = 0; j < categorycount; ++j) {
            if (!inCategory(to.physical->mass, j)) continue;
            const double nominal = lengths[static_cast<std::size_t>(i * categorycount + j)];
            if ((1.0 - spread) * nominal < distance && distance < (1.0 + spread) * nominal) return true;
        }
    }
    return false;
}

void JumpNetwork::refreshList() {
    if (waypointlist == nullptr) return;
    waypointlist->clear();
    waypointlist->setSelected(0);
    for (const StarRecord* star : waypoints) waypointlist->addItem(star->physical ? star->physical->name : "");
}

void JumpNetwork::addWaypoint(StarRecord* star) {
    if (star == nullptr) return;
    star->jumpnode = 1;
    waypoints.push_back(star);
    waypointcount = static_cast<std::int32_t>(waypoints.size());
    refreshList();
}

void JumpNetwork::addConnectedWaypoint(StarRecord* star) {
    if (star != nullptr && star->connected && !star->jumpnode) addWaypoint(star);
}

void JumpNetwork::removeWaypoint() {
    if (waypoints.size() < 2) return;
    waypoints.back()->jumpnode = 0;
    waypoints.pop_back();
    waypointcount = static_cast<std::int32_t>(waypoints.size());
    refreshList();
}

StarRecord* JumpNetwork::lastWaypoint() const { return waypoints.empty() ? nullptr : waypoints.back(); }

StarRecord* JumpNetwork::selectedWaypoint() const {
    if (waypointlist == nullptr) return nullptr;
    const int index = waypointlist->selected();
    if (index < 0 || index >= static_cast<int>(waypoints.size())) return nullptr;
    return waypoints[static_cast<std::size_t>(index)];
}

void JumpNetwork::markConnected(GalaxyWindow& window, const StarRecord& from) {
    if (!window.built()) return;
    for (int node = 0; node < GalaxyWindow::kCubeCount; ++node) {
        GalaxyCube& cube = window.cube(node);
        if (!cube.markersshown) continue;
        for (StarRecord* star : cube.stars) {
            if (canJump(from, *star)) {
                star->connected = 1;
                if (cube.stalksshown) window.display().colourStalk(*star, PixelColour{0, 255, 0});
            } else {
                star->connected = 0;
                if (cube.stalksshown)
                    window.display().colourStalk(*star, markerColour(star->physical->spectralclass));
            }
        }
    }
}

void JumpNetwork::append(const std::vector<StarRecord*>& chain, std::vector<StarRecord*>* result) {
    for (StarRecord* star : chain) {
        if (result != nullptr)
            result->push_back(star);
        else
            addWaypoint(star);
    }
}

bool JumpNetwork::findRoute(StarRecord* start, StarRecord* target, GalaxyWindow& window,
                            std::vector<StarRecord*>* result) {
    if (start == nullptr || target == nullptr || !window.built()) return false;
    const double dx = static_cast<double>(target->cube.x) - start->cube.x;
    const double dy = static_cast<double>(target->cube.y) - start->cube.y;
    const double dz = static_cast<double>(target->cube.z) - start->cube.z;
    if (std::trunc(std::sqrt(dx * dx + dy * dy + dz * dz)) >= 2.0)
        return findFarRoute(start, target, window, result);
    return findNearRoute(start, target, window, result);
}

bool JumpNetwork::findNearRoute(StarRecord* start, StarRecord* target, GalaxyWindow& window,
                                std::vector<StarRecord*>* result) {
    std::vector<SearchNode> nodes{{start, 1, -1, {}, {}}};
    bool startInWindow = false;
    for (int node = 0; node < GalaxyWindow::kCubeCount; ++node)
        for (StarRecord* star : window.cube(node).stars) {
            if (star == start) {
                startInWindow = true;
                continue;
            }
            if (star == target) continue;
            nodes.push_back({star, 0, -1, {}, {}});
        }
    if (!startInWindow) return false;
    const std::vector<StarRecord*> chain = JumpSearch(*this, nodes, *target).run(1);
    if (chain.empty()) return false;
    std::vector<StarRecord*> route = chain;
    route.push_back(target);
    if (!everyHopJumps(*start, route)) return false;
    append(route, result);
    return true;
}

bool JumpNetwork::everyHopJumps(const StarRecord& start, const std::vector<StarRecord*>& route) const {
    const StarRecord* from = &start;
    for (const StarRecord* to : route) {
        if (!canJump(*from, *to)) return false;
        from = to;
    }
    return true;
}

// Half the category whose own jump length fits `distance` best (the first on a tie): stars of
// a higher category serve as long-distance hops.
int JumpNetwork::longHopCategory(double distance) const {
    int best = 0;
    double bestGap = std::numeric_limits<double>::infinity();
    for (int i = 0; i < categorycount; ++i) {
        const double gap = std::fabs(lengths[static_cast<std::size_t>(i * categorycount + i)] - distance);
        if (gap < bestGap) {
            bestGap = gap;
            best = i;
        }
    }
    return best / 2;
}

bool JumpNetwork::findFarRoute(StarRecord* start, StarRecord* target, GalaxyWindow& window,
                               std::vector<StarRecord*>* result) {
    GalaxyCatalogue& catalogue = window.catalogue();
    if (beyondCorridorSearch(catalogue, *start, *target)) return false;
    const Position to = positionOf(*target);
    const double distance = starDistance(*start, *target);
    const Position u = unitVector(to, positionOf(*start));

    // The cubes of the search, in the order they are built: the window around the start,
    // then the corridor from the target's side towards the start.
    std::vector<std::unique_ptr<GalaxyCube>> cubes;
    std::set<std::array<int, 3>> built;
    auto build = [&](int x, int y, int z, bool brightonly) {
        if (!built.insert({x, y, z}).second) return;
        auto cube = std::make_unique<GalaxyCube>();
        populateCube(catalogue, *cube, x, y, z, densityBrightness(catalogue.densityimage.get(), x, y),
                     brightonly);
        cubes.push_back(std::move(cube));
    };
    // All stars near the start and near the target can join the long hops to the two ends;
    // between them only the bright stars of the corridor serve.
    std::vector<bool> fullCube;
    for (const StarRecord* end : {start, target})
        for (int wz = -1; wz <= 1; ++wz)
            for (int wy = -1; wy <= 1; ++wy)
                for (int wx = -1; wx <= 1; ++wx) {
                    build(end->cube.x + wx, end->cube.y + wy, end->cube.z + wz, false);
                    fullCube.resize(cubes.size(), true);
                }

    const int longHop = longHopCategory(distance);
    auto isLongHop = [&](const StarRecord& star) {
        for (int i = longHop + 1; i < categorycount; ++i)
            if (inCategory(star.physical->mass, i)) return true;
        return false;
    };

    const long corridor = static_cast<long>(corridorLength(distance));
    for (long i = corridor; i >= 1; --i) {
        const double step = static_cast<double>(i);
        build(static_cast<int>(std::round(to.x / 10.0 + step * u.x)),
              static_cast<int>(std::round(to.y / 10.0 + step * u.y)),
              static_cast<int>(std::round(to.z / 10.0 + step * u.z)), true);
        fullCube.resize(cubes.size(), false);
    }

    std::vector<SearchNode> nodes{{start, 1, -1, {}, {}}};
    for (std::size_t c = 0; c < cubes.size(); ++c)
        for (StarRecord* star : cubes[c]->stars) {
            if (sameStar(*star, *start) || sameStar(*star, *target)) continue;
            if (!fullCube[c] && !isLongHop(*star)) continue;
            nodes.push_back({star, 0, -1, {}, {}});
        }
    std::vector<StarRecord*> chain = JumpSearch(*this, nodes, *target).run(maxcandidates);

    const bool found = !chain.empty() && appendFarChain(chain, *start, target, window, result);
    NoCubeDisplay display;
    for (auto& cube : cubes) releaseCube(*cube, display, window.kept());
    return found;
}

bool JumpNetwork::appendFarChain(std::vector<StarRecord*> chain, const StarRecord& start,
                                 StarRecord* target, GalaxyWindow& window,
                                 std::vector<StarRecord*>* result) {
    // Stars the view's window holds are taken from there; the others outlive the search
    // cubes as route stars, once every hop has been checked on the stars the route holds.
    std::vector<StarRecord*> copies;
    for (StarRecord*& star : chain) {
        if (star->custom) continue;
        StarRecord* shown = shownCopy(window, *star);
        if (shown != nullptr)
            star = shown;
        else
            copies.push_back(star);
    }
    chain.push_back(target);
    if (!everyHopJumps(start, chain)) return false;
    for (StarRecord* star : copies) star->jumpnode = 1;
    append(chain, result);
    return true;
}
