// The instantiated spectrum trial.
#pragma once

#include "recording/CSpctmTrial03Process.h"

class CSpctmTrialzq : public CSpctmTrial03Process {};
