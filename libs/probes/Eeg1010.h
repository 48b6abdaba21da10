// Electrode positions of the 10-10 system computed on a head sphere.
#pragma once

#include "probes/CSensorLayout.h"

#include <vector>

// The 10-10 electrodes on a sphere of `radius` centred at the origin: nasion, inion and the
// preauricular points on the equator, Cz at the top; x right, y front, z up.
std::vector<CSensorLayout::Channel> makeEeg1010Channels(double radius);
