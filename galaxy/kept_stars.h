#pragma once
// Generated stars that lie on the route outlive the cube that made them: when a cube is
// released, its route stars are handed here instead of being deleted, and they are deleted
// once they have left the route.

#include <memory>
#include <vector>

#include "galaxy/star_record.h"

class KeptStars {
public:
    // Takes ownership of a generated star that must outlive its cube.
    void keep(StarRecord* star) { stars_.emplace_back(star); }

    // Deletes the kept stars that are no longer on the route.
    void collect();

    int count() const { return static_cast<int>(stars_.size()); }

private:
    std::vector<std::unique_ptr<StarRecord>> stars_;
};
