// Hull layer: tells the hull meshes which contour window their colours stand for.
#pragma once

#include "viewbase/CStatD3DM03SnsOptimize.h"

class CStatD3DM03SnsXHull : public CStatD3DM03SnsOptimize {
public:
    // Sets the contour window (time and frequency indices) on both hull objects, so that a
    // moved window makes check4update ask for a new mesh. Returns 1.
    int setCntmpWindow4Hull(long long t0, long long f0, long long t1, long long f1);
};
