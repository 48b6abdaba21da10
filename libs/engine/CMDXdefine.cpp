// Primitive counts per primitive type.
#include "engine/CMDXdefine.h"

long long CMDXdefine::vertexCount2primitiveCount(D3DPRIMITIVETYPE type, long long n) {
    if (n <= 0) {
        return 0;
    }
    switch (type) {
    case D3DPT_POINTLIST:
        return n;
    case D3DPT_LINELIST:
        return n / 2;
    case D3DPT_LINESTRIP:
        return n - 1;
    case D3DPT_TRIANGLELIST:
        return n / 3;
    case D3DPT_TRIANGLESTRIP:
    case D3DPT_TRIANGLEFAN:
        return n >= 3 ? n - 2 : 0;
    default:
        return 0;
    }
}
