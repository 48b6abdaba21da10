// Facade layer of the EEG contour-map windows (their operations arrive with those windows).
#pragma once

#include "facade/CVelmoraFace06DlgMeg.h"

class CVelmoraFace07DlgEeg : public CVelmoraFace06DlgMeg {};
