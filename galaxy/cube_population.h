#pragma once
// Filling a cube of space with stars: the catalogue stars that lie in it, then stars drawn
// from the population model, first the massive classes one by one, then the low-mass rest.
// A cube's generated stars depend only on its indices, the galaxy parameters and its density
// pixel, because the catalogue's random source is reseeded for each cube (and the remnant
// choice of a massive star depends on its cube and its place among the generated stars).

#include "galaxy/galaxy_catalogue.h"
#include "galaxy/galaxy_cube.h"
#include "galaxy/star_completion.h"
#include "galaxy/stellar_tables.h"

// Fills `cube` afresh for indices (x, y, z). `brightonly` leaves out the low-mass stars.
// `catalogueLimit` caps how many catalogue stars the cube takes.
void populateCube(GalaxyCatalogue& catalogue, GalaxyCube& cube, int x, int y, int z,
                  int brightness, bool brightonly, int catalogueLimit = -1);

// What a cube is filled with: its place, its density pixel, and which stars it takes.
struct CubeRequest {
    CubeIndex at;
    int brightness = 0;
    bool brightonly = false;
    int catalogueLimit = -1;
};

// The same without writing to the catalogue: draws from `random` where the catalogue's source
// would serve, and leaves the catalogue stars completed on this first visit in `completions`.
// The cube lists those records, so it shows them completed only once they are committed.
void populateCube(const GalaxyCatalogue& catalogue, GalaxyCube& cube, const CubeRequest& request,
                  MwcRandom& random, DeferredCompletions& completions);

// Where a cube lies in the galaxy's population and how many stars it should hold (before
// the catalogue stars are taken off). Draws from `random` where the region rules need it.
struct CubeExpectation {
    int region = 2;
    double expected = 0.0;
};
CubeExpectation expectStars(const GalaxyParameters& catalogue, int x, int y, int z, float density,
                            MwcRandom& random);

// Whether cube (x, y, z) lies inside the central bar.
bool insideBar(const GalaxyParameters& catalogue, int x, int y, int z);

// binom(n, j) (1-p)^(n-j) p^j, with the running product `coefficient` = binom(n, j) for small n.
double binomialTerm(int n, int j, double p, double coefficient);

// How many stars of a bright class a cube of `expected` stars gets, `generated` having been
// made already, against the threshold drawn for the class.
int brightClassCount(int expected, int generated, double probability, double threshold);

// A new star by the rules for massive classes (start mass of the class) or the fill-up rule;
// both draw offsets, mass, age and orientation from `random`. `index` is
// the star's place among the generated stars of cube (x, y, z), counted from 0.
StarRecord makeBrightStar(const GalaxyParameters& catalogue, double startmass, int region,
                          double distance, int x, int y, int z, int index, MwcRandom& random);
StarRecord makeFillUpStar(const GalaxyParameters& catalogue, int region, double distance, int x, int y,
                          int z, int index, MwcRandom& random);
