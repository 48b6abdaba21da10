// Fiducial layer: a place in the chain for head fiducials; it adds nothing yet.
#pragma once

#include "viewbase/CStatD3DM03SnsXHull.h"

class CStatD3DM04FidPts : public CStatD3DM03SnsXHull {};
