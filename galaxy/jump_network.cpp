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

// What the route keeps of a star: its id, place and physical description, not its system.
StarRecord routeCopy(const StarRecord& star) {
    StarRecord copy;
    copy.id = star.id;
    copy.cube = star.cube;
    copy.offset = star.offset;
    if (star.physical) copy.physical = std::make_unique<StellarData>(*star.physical);
    copy.alias = star.alias;
    copy.cntname = star.cntname;
    copy.ecliptic = star.ecliptic;
    copy.classified = star.classified;
    copy.systemfromfile = star.systemfromfile;
    return copy;
}

// One star of a search with the way it was reached, and what the jump test needs of it.
struct SearchNode {
    const StarRecord* star;
    int level;
    int parent;
    Position position{};
    std::vector<int> categories;
};

// The chain from the level-2 node down to `node`, in order from the start side.
std::vector<const StarRecord*> chainTo(const std::vector<SearchNode>& nodes, int node) {
    std::vector<const StarRecord*> chain;
    for (int n = node; n > 0; n = nodes[n].parent) chain.insert(chain.begin(), nodes[n].star);
    return chain;
}

// The jump test over prepared nodes: the same answer as canJump, without looking up the
// categories and positions again for every pair.
class JumpSearch {
public:
    JumpSearch(const JumpNetwork& network, std::vector<SearchNode>& nodes, const StarRecord& target)
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
    std::vector<const StarRecord*> run(int candidates) {
        int visited = 1;
        const int total = static_cast<int>(nodes_.size());
        for (int level = 1; level < kDeepestLevel && visited < total; ++level) {
            bool any = false;
            std::vector<std::vector<const StarRecord*>> found;
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

bool JumpNetwork::load(const std::filesystem::path& file, const StarRecord* home) {
    bool read = false;
    readJumpData(readTextFile(file, &read));
    maxcandidates = 10;
    waypoints_.clear();
    if (home != nullptr) waypoints_.push_back(routeCopy(*home));
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

std::vector<std::string> JumpNetwork::rows() const {
    std::vector<std::string> names;
    for (const StarRecord& star : waypoints_) names.push_back(star.physical ? star.physical->name : "");
    return names;
}

void JumpNetwork::addWaypoint(const StarRecord& star) { waypoints_.push_back(routeCopy(star)); }

void JumpNetwork::addConnectedWaypoint(const StarRecord& star) {
    if (star.connected && !onRoute(star.id)) addWaypoint(star);
}

void JumpNetwork::removeWaypoint() {
    if (waypoints_.size() >= 2) waypoints_.pop_back();
}

const StarRecord* JumpNetwork::lastWaypoint() const { return waypoints_.empty() ? nullptr : &waypoints_.back(); }

bool JumpNetwork::onRoute(const StarId& id) const {
    return std::any_of(waypoints_.begin(), waypoints_.end(), [&](const StarRecord& star) { return star.id == id; });
}

void JumpNetwork::markConnected(GalaxyWindow& window, const StarRecord& from) const {
    if (!window.built()) return;
    for (int node = 0; node < GalaxyWindow::kCubeCount; ++node)
        for (StarRecord* star : window.cube(node).stars) star->connected = canJump(from, *star) ? 1 : 0;
}

bool JumpNetwork::findRoute(const StarRecord& target, GalaxyWindow& window) {
    const StarRecord* start = lastWaypoint();
    if (start == nullptr || !window.built()) return false;
    const double dx = static_cast<double>(target.cube.x) - start->cube.x;
    const double dy = static_cast<double>(target.cube.y) - start->cube.y;
    const double dz = static_cast<double>(target.cube.z) - start->cube.z;
    if (std::trunc(std::sqrt(dx * dx + dy * dy + dz * dz)) >= 2.0) return findFarRoute(*start, target, window);
    return findNearRoute(*start, target, window);
}

bool JumpNetwork::appendChecked(const StarRecord& start, std::vector<const StarRecord*> chain,
                                const StarRecord& target) {
    chain.push_back(&target);
    if (!everyHopJumps(start, chain)) return false;
    // `start` is the last waypoint: it is not used once the route grows.
    for (const StarRecord* star : chain) waypoints_.push_back(routeCopy(*star));
    return true;
}

bool JumpNetwork::findNearRoute(const StarRecord& start, const StarRecord& target, GalaxyWindow& window) {
    std::vector<SearchNode> nodes{{&start, 1, -1, {}, {}}};
    bool startInWindow = false;
    for (int node = 0; node < GalaxyWindow::kCubeCount; ++node)
        for (const StarRecord* star : window.cube(node).stars) {
            if (star->id == start.id) {
                startInWindow = true;
                continue;
            }
            if (star->id == target.id) continue;
            nodes.push_back({star, 0, -1, {}, {}});
        }
    if (!startInWindow) return false;
    const std::vector<const StarRecord*> chain = JumpSearch(*this, nodes, target).run(1);
    return !chain.empty() && appendChecked(start, chain, target);
}

bool JumpNetwork::everyHopJumps(const StarRecord& start, const std::vector<const StarRecord*>& route) const {
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

bool JumpNetwork::findFarRoute(const StarRecord& start, const StarRecord& target, GalaxyWindow& window) {
    GalaxyCatalogue& catalogue = window.catalogue();
    if (beyondCorridorSearch(catalogue, start, target)) return false;
    const Position to = positionOf(target);
    const double distance = starDistance(start, target);
    const Position u = unitVector(to, positionOf(start));

    // The cubes of the search, in the order they are built: the windows around the start and
    // the target, then the corridor from the target's side towards the start. They live as
    // long as the search; the route keeps copies of the stars it takes from them.
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
    for (const StarRecord* end : {&start, &target})
        for (int wz = -1; wz <= 1; ++wz)
            for (int wy = -1; wy <= 1; ++wy)
                for (int wx = -1; wx <= 1; ++wx) {
                    build(end->cube.x + wx, end->cube.y + wy, end->cube.z + wz, false);
                    fullCube.resize(cubes.size(), true);
                }

    const long corridor = static_cast<long>(corridorLength(distance));
    for (long i = corridor; i >= 1; --i) {
        const double step = static_cast<double>(i);
        build(static_cast<int>(std::round(to.x / 10.0 + step * u.x)),
              static_cast<int>(std::round(to.y / 10.0 + step * u.y)),
              static_cast<int>(std::round(to.z / 10.0 + step * u.z)), true);
        fullCube.resize(cubes.size(), false);
    }

    const int longHop = longHopCategory(distance);
    auto isLongHop = [&](const StarRecord& star) {
        for (int i = longHop + 1; i < categorycount; ++i)
            if (inCategory(star.physical->mass, i)) return true;
        return false;
    };
    std::vector<SearchNode> nodes{{&start, 1, -1, {}, {}}};
    for (std::size_t c = 0; c < cubes.size(); ++c)
        for (const StarRecord* star : cubes[c]->stars) {
            if (star->id == start.id || star->id == target.id) continue;
            if (!fullCube[c] && !isLongHop(*star)) continue;
            nodes.push_back({star, 0, -1, {}, {}});
        }
    const std::vector<const StarRecord*> chain = JumpSearch(*this, nodes, target).run(maxcandidates);
    return !chain.empty() && appendChecked(start, chain, target);
}
