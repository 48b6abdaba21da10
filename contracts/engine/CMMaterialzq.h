// The material that callers instantiate.
#pragma once

#include "engine/CMMaterial01Shade.h"

class CMMaterialzq : public CMMaterial01Shade {};
