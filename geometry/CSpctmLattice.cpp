// The lattice of grid points that the drawings wrote into the strips.
#include "geometry/CSpctmLattice.h"

#include <algorithm>

CSpctmLattice::CSpctmLattice(CMVBzq* strips, long long stripCount)
    : m_strips(strips), m_stripCount(strips ? stripCount : 0) {
    long long first = -1;
    long long last = -1;
    for (long long s = 0; s < m_stripCount; ++s) {
        const long long n = used(s);
        if (n < 2)
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

long long CSpctmLattice::used(long long strip) const {
    if (strip < 0 || strip >= m_stripCount || !m_strips[strip].m_pVtx)
        return 0;
    return std::max(0LL, std::min(m_strips[strip].m_nVtx, m_strips[strip].m_nVtxCapacity));
}

CSpctmLattice::Column CSpctmLattice::column(long long f) const {
    Column c;
    if (f < 0 || f >= m_cols)
        return c;
    const long long own = m_firstStrip + f;
    // Vertex 2i of the own strip exists for 2i < n, vertex 2i + 1 of the one before for
    // 2i + 1 < n; rows beyond the lattice are never addressed.
    if (const long long n = used(own); n > 0) {
        c.primary = m_strips[own].m_pVtx;
        c.primaryRows = std::min((n + 1) / 2, m_rows);
    }
    if (const long long n = used(own - 1); n > 1) {
        c.secondary = m_strips[own - 1].m_pVtx + 1;
        c.secondaryRows = std::min(n / 2, m_rows);
    }
    return c;
}
