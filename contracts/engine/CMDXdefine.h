// Small helpers around primitive types.
#pragma once

#include "engine/D3DPRIMITIVETYPE.h"

class CMDXdefine {
public:
    // Whole primitives that n vertices make; 0 for n too small, negative or an unknown type.
    static long long vertexCount2primitiveCount(D3DPRIMITIVETYPE type, long long n);
};
