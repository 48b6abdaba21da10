// Which facets of a sensor array's convex hull span its open side. A helmet or a cap covers
// the head from above; its hull closes the open bottom with a lid of facets that face away
// from the sensors. The draw leaves those out; a layout that surrounds its centre keeps every
// facet.
#pragma once

#include "envelope/R3.h"
#include "envelope/Tri.h"

#include <utility>
#include <vector>

namespace hullopening {

// Balance below which the sensors surround their centre: the length of the mean of the unit
// directions from the centre to the sensors (0 for a closed sphere of sensors, about 0.5 for a
// hemisphere).
constexpr double kSurroundBalance = 0.3;
// A facet faces the opening when its outward normal lies within about 45 degrees of the
// direction the sensors leave uncovered.
constexpr double kFacingCos = 0.7;

// Unit direction from the sensors' centre (their least-squares sphere, else their mean)
// towards the open side; false when the sensors surround their centre (or are too few to
// tell), so that nothing is open.
bool openDirection(const std::vector<R3>& pts, double dir[3]);
// Runs [first, end) of facet indices that the draw shows, in facet order: every facet except
// those spanning the opening.
std::vector<std::pair<long long, long long>> drawnFacetRuns(const std::vector<R3>& pts,
                                                            const std::vector<Tri>& tris);

} // namespace hullopening
