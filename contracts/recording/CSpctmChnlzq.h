// The instantiated channel spectrum.
#pragma once

#include "recording/CSpctmChnl.h"

class CSpctmChnlzq : public CSpctmChnl {};
