// The vertex buffer that callers instantiate.
#pragma once

#include "engine/CMVB06Rend.h"

class CMVBzq : public CMVB06Rend {};
