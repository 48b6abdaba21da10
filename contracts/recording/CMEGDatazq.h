// The instantiated session.
#pragma once

#include "recording/CMEGData4SpctmProcess.h"

class CMEGDatazq : public CMEGData4SpctmProcess {};
