#include "galaxy/population_model.h"

#include <cmath>

const BrightClass kBrightClasses[kBrightClassCount] = {
    {3.391801344401001e-05, 90}, {6.768338549362619e-05, 60}, {0.0002717177077614611, 35},
    {0.0010315760889477216, 20}, {0.002153772818891377, 15},  {0.0048640235158782024, 10},
    {0.004110954519289363, 8},   {0.0074120324959394464, 6},  {0.016530336821411855, 4},
    {0.058386420486635324, 2},
};

const MassBin kMassBins[kMassBinCount] = {
    {90, 408.62538785773216, 408.63924808924264, 6155.722, -3.3, 5},
    {60, 408.5977297699759, 408.62538785773216, 2462.2888, -3.3, 2},
    {35, 408.48669525018386, 408.5977297699759, 1231.1444, -3.3, 1},
    {20, 408.06515277284933, 408.48669525018386, 1231.1444, -3.3, 1},
    {15, 407.20931948632835, 408.06515277284933, 123.11444, -3.3, 0.1},
    {10, 405.28339195971466, 407.20931948632835, 123.11444, -3.3, 0.1},
    {8, 403.7065811504349, 405.28339195971466, 12.311444, -2.3, 0.1},
    {6, 400.87751795490584, 403.7065811504349, 12.311444, -2.3, 0.1},
    {4, 394.12257354554225, 400.87751795490584, 12.311444, -2.3, 0.1},
    {2, 370.2635905792612, 394.12257354554225, 12.311444, -2.3, 0.1},
    {1, 319.8871322782174, 370.2635905792612, 1, -2, 0.01},
    {0.5, 243.51116602795884, 319.8871322782174, 1, -2, 0.01},
    {0.1, 0, 243.51116602795884, 1, -1.25, 0.01},
};

bool insideDensityPicture(const PixelImage& image, int x, int y) {
    const long column = static_cast<long>(image.width() / 2) + x;
    const long row = static_cast<long>(image.height() / 2) - y;
    return column >= 0 && row >= 0 && column < image.width() && row < image.height();
}

int densityBrightness(const PixelImage* image, int x, int y) {
    if (image == nullptr || !insideDensityPicture(*image, x, y)) return 0;
    const int column = image->width() / 2 + x;
    const int row = image->height() / 2 - y;
    const PixelColour colour = image->pixel(column, row);
    return (colour.red + colour.green + colour.blue) / 3;
}

float cubeDensity(int brightness, int z) {
    const float b = static_cast<float>(brightness);
    const float b2 = b * b;
    const float b3 = b2 * b;
    const float b4 = b3 * b;
    const float polynomial = 4.492048e-5f * b3 - 7.1924765e-8f * b4 - 0.0067277409f * b2 +
                             0.39918088f * b - 1.6055759f;
    return polynomial * (1.0f - static_cast<float>(z) * 0.0071428571827709675f);
}

const MassBin& massBinFor(double mass) {
    for (const MassBin& bin : kMassBins)
        if (bin.startmass <= mass) return bin;
    return kMassBins[kMassBinCount - 1];
}

double growMass(const MassBin& bin, double mass, double target) {
    double count = bin.countstart;
    while (count < target) {
        count = count + bin.scale * std::pow(mass, bin.exponent);
        mass = mass + bin.step;
    }
    return mass;
}
