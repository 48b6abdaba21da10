// Facade layer of the MEG contour-map windows (their operations arrive with those windows).
#pragma once

#include "facade/CVelmoraFace04DlgOneChnl.h"

class CVelmoraFace06DlgMeg : public CVelmoraFace04DlgOneChnl {};
