#include "app/save_progress.h"

#include <algorithm>
#include <cmath>

std::string saveCaption(const std::string& system, const std::string& body, int done, int total) {
    std::string caption = "Saving " + system + ": " + body;
    if (done > 0 && total > 0) caption += " (" + std::to_string(done) + "/" + std::to_string(total) + ")";
    return caption;
}

double saveFraction(int done, int total, double bodyFraction) {
    if (total <= 0 || done <= 0) return 0.0;
    const double part = std::isfinite(bodyFraction) ? std::clamp(bodyFraction, 0.0, 1.0) : 0.0;
    return std::clamp((done - 1 + part) / total, 0.0, 1.0);
}
