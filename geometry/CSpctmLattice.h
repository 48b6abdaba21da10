// The lattice of grid points that the drawings wrote into the strips. Grid point (row r,
// column c) is vertex 2r of strip c and vertex 2r + 1 of strip c - 1, so most points exist
// twice; reads take either copy and writes go to both, which keeps lighting smooth across
// strips.
#pragma once

#include "engine/CMVBzq.h"

#include <xmmintrin.h>

class CSpctmLattice {
public:
    // Spans the filled strips (vertex count >= 2): rows are the pairs of the fullest strip,
    // columns run from the first filled strip to one past the last.
    CSpctmLattice(CMVBzq* strips, long long stripCount);

    long long rows() const { return m_rows; }
    long long cols() const { return m_cols; }
    // Position of point (i, f) of the lattice, or (0, 0, 0, 0) where no strip holds it.
    __m128 pos(long long i, long long f) const {
        if (i < 0 || i >= m_rows || f < 0 || f >= m_cols)
            return _mm_setzero_ps();
        if (const D3DVTX_PNCd* v = vertex(m_firstStrip + f, 2 * i))
            return _mm_loadu_ps(v->pos);
        if (const D3DVTX_PNCd* v = vertex(m_firstStrip + f - 1, 2 * i + 1))
            return _mm_loadu_ps(v->pos);
        return _mm_setzero_ps();
    }
    // Writes the normal into every copy of point (i, f) that exists.
    void setNormal(long long i, long long f, __m128 normal) const {
        if (i < 0 || i >= m_rows || f < 0 || f >= m_cols)
            return;
        if (D3DVTX_PNCd* v = vertex(m_firstStrip + f, 2 * i))
            _mm_storeu_ps(v->nml, normal);
        if (D3DVTX_PNCd* v = vertex(m_firstStrip + f - 1, 2 * i + 1))
            _mm_storeu_ps(v->nml, normal);
    }

private:
    D3DVTX_PNCd* vertex(long long strip, long long index) const {
        if (strip < 0 || strip >= m_stripCount)
            return nullptr;
        CMVBzq& s = m_strips[strip];
        if (!s.m_pVtx || index >= s.m_nVtx || index >= s.m_nVtxCapacity)
            return nullptr;
        return s.m_pVtx + index;
    }

    CMVBzq* m_strips;
    long long m_stripCount;
    long long m_firstStrip = 0;
    long long m_rows = 0;
    long long m_cols = 0;
};
