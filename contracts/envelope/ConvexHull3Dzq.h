// The instantiated convex-hull class of the envelope library.
#pragma once

#include "envelope/ConvexHull3D.h"

class ConvexHull3Dzq : public ConvexHull3D {};
