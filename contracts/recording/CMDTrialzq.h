// The instantiated trial.
#pragma once

#include "recording/CMDTrial4Spctm.h"

class CMDTrialzq : public CMDTrial4Spctm {};
