#include "galaxy/window_step.h"

#include <cmath>

#include "galaxy/cube_population.h"
#include "galaxy/galaxy_window.h"
#include "galaxy/population_model.h"

namespace {

int truncated(float value) { return static_cast<int>(std::trunc(value)); }

}  // namespace

WindowStep startStep(int direction, const std::array<float, 3>& centre, const GalaxyCatalogue& catalogue) {
    WindowStep step;
    step.axis = (direction - 1) / 2;
    step.sign = direction % 2 == 1 ? 1 : -1;
    step.centre = centre;
    step.starRandom = catalogue.starRandom;
    step.systemRandom = catalogue.systemRandom;
    return step;
}

void workOutStep(WindowStep& step, const GalaxyCatalogue& catalogue, const GalaxyCube& nextCentre) {
    for (int node = 0; node < GalaxyWindow::kCubeCount; ++node) {
        const std::array<int, 3> offset = nodeOffset(node);
        if (offset[step.axis] != step.sign) continue;
        CubeRequest request;
        int* index[3] = {&request.at.x, &request.at.y, &request.at.z};
        for (int a = 0; a < 3; ++a)
            *index[a] = truncated(step.centre[a]) + (a == step.axis ? 2 * step.sign : offset[a]);
        request.brightness = densityBrightness(catalogue.densityimage.get(), request.at.x, request.at.y);
        request.catalogueLimit = GalaxyWindow::kCatalogueStarsPerCube;
        auto cube = std::make_unique<GalaxyCube>();
        populateCube(catalogue, *cube, request, step.starRandom, step.completions);
        step.arriving.emplace_back(node, std::move(cube));
    }
    std::array<float, 3> centre = step.centre;
    centre[step.axis] += static_cast<float>(step.sign);
    step.centreSystems = systemsFor(nextCentre, truncated(centre[0]), truncated(centre[1]),
                                    truncated(centre[2]), catalogue.systemseed, step.starRandom,
                                    step.systemRandom);
}
