#include "galaxy/kept_stars.h"

#include <algorithm>

void KeptStars::collect() {
    std::erase_if(stars_, [](const std::unique_ptr<StarRecord>& star) { return !star->jumpnode; });
}
