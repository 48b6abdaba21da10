// The contour window that the hull meshes stand for.
#include "viewbase/CStatD3DM03SnsXHull.h"

int CStatD3DM03SnsXHull::setCntmpWindow4Hull(long long t0, long long f0, long long t1,
                                             long long f1) {
    m_hullMeg.setWindowKey(t0, f0, t1, f1);
    m_hullEeg.setWindowKey(t0, f0, t1, f1);
    return 1;
}
