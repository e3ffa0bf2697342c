#pragma once
// Travel between systems by jumps whose length depends on the masses of both stars. The jump
// data give mass categories and, for every pair of categories, a nominal jump length with a
// tolerance. On them the network keeps the route (waypoint stars from the home star on),
// marks the stars reachable in one jump from the last waypoint, and searches chains of jumps
// to a target: through the window's stars when the target is near, and through a corridor of
// cubes along the straight line when it is far.

#include <filesystem>
#include <string>
#include <vector>

#include "galaxy/galaxy_window.h"

class JumpNetwork {
public:
    // Nominal jump lengths in parsecs, categorycount x categorycount, already scaled.
    std::vector<float> lengths;
    std::int32_t categorycount = 0;
    std::vector<float> bounds;  // [low_i, high_i] mass interval of each category, inclusive
    double tolerance = 0.0;     // percent
    std::int32_t maxcandidates = 10;  // candidate routes the far search keeps

    // Reads the jump data file and starts the route at `home`. Returns false when the file
    // could not be read (no star can jump then).
    bool load(const std::filesystem::path& file, const StarRecord* home);

    // Reads jump data from text (what load reads from the file).
    void readJumpData(const std::string& text);

    // Whether a star of the given mass belongs to category i.
    bool inCategory(double mass, int category) const;

    // Whether one jump takes a star from `from` to `to`.
    bool canJump(const StarRecord& from, const StarRecord& to) const;

    // The route, the home star first. It holds copies of its stars (id, place and physical
    // description), so it outlives the cubes they came from.
    const std::vector<StarRecord>& waypoints() const { return waypoints_; }
    void addWaypoint(const StarRecord& star);
    // Adds the star only when it is reachable from the last waypoint and not on the route yet.
    void addConnectedWaypoint(const StarRecord& star);
    // Drops the last waypoint; the home star stays.
    void removeWaypoint();
    const StarRecord* lastWaypoint() const;
    bool onRoute(const StarId& id) const;
    // The rows of the route's list: the names of its stars.
    std::vector<std::string> rows() const;

    // Marks the stars of the window that one jump from `from` reaches.
    void markConnected(GalaxyWindow& window, const StarRecord& from) const;

    // Searches a chain of jumps from the last waypoint to `target` and appends it (without the
    // start, with the target) to the route. Returns true when one was found, every hop checked
    // once more on the stars appended; a failed search changes nothing.
    bool findRoute(const StarRecord& target, GalaxyWindow& window);

private:
    std::vector<StarRecord> waypoints_;

    bool findNearRoute(const StarRecord& start, const StarRecord& target, GalaxyWindow& window);
    bool findFarRoute(const StarRecord& start, const StarRecord& target, GalaxyWindow& window);
    bool everyHopJumps(const StarRecord& start, const std::vector<const StarRecord*>& route) const;
    // Checks the chain with the target behind it and, when every hop jumps, appends it.
    bool appendChecked(const StarRecord& start, std::vector<const StarRecord*> chain, const StarRecord& target);
    int longHopCategory(double distance) const;
};

// Whether a search from `start` to `target` gives up at once because it would have to leave
// the galaxy: an end outside the density picture or far from the galaxy's centre, or a
// corridor longer than any straight line across the galaxy.
bool beyondCorridorSearch(const GalaxyCatalogue& galaxy, const StarRecord& start,
                          const StarRecord& target);

// Distance in parsecs between two stars.
double starDistance(const StarRecord& a, const StarRecord& b);
