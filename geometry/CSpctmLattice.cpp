// The lattice of grid points that the drawings wrote into the strips.
#include "geometry/CSpctmLattice.h"

#include <algorithm>

CSpctmLattice::CSpctmLattice(CMVBzq* strips, long long stripCount)
    : m_strips(strips), m_stripCount(strips ? stripCount : 0) {
    long long first = -1;
    long long last = -1;
    for (long long s = 0; s < m_stripCount; ++s) {
        const long long n = std::min(m_strips[s].m_nVtx, m_strips[s].m_nVtxCapacity);
        if (n < 2 || !m_strips[s].m_pVtx)
            continue;
        if (first < 0)
            first = s;
        last = s;
        m_rows = std::max(m_rows, n / 2);
    }
    if (first >= 0) {
        m_firstStrip = first;
        m_cols = last - first + 2;
    }
}
