// The lattice of grid points that the drawings wrote into the strips. Grid point (row r,
// column c) is vertex 2r of strip c and vertex 2r + 1 of strip c - 1, so most points exist
// twice; reads take the first copy that exists and writes go to both, which keeps lighting
// smooth across strips.
#pragma once

#include "engine/CMVBzq.h"

#include <xmmintrin.h>

class CSpctmLattice {
public:
    // One lattice column: point i is primary[2i] where the column's own strip holds it, else
    // secondary[2i] (the odd vertices of the strip before).
    struct Column {
        D3DVTX_PNCd* primary = nullptr;
        long long primaryRows = 0;
        D3DVTX_PNCd* secondary = nullptr;
        long long secondaryRows = 0;

        __m128 pos(long long i) const {
            if (i < primaryRows)
                return _mm_loadu_ps(primary[2 * i].pos);
            if (i < secondaryRows)
                return _mm_loadu_ps(secondary[2 * i].pos);
            return _mm_setzero_ps();
        }
        void setNormal(long long i, __m128 normal) const {
            if (i < primaryRows)
                _mm_storeu_ps(primary[2 * i].nml, normal);
            if (i < secondaryRows)
                _mm_storeu_ps(secondary[2 * i].nml, normal);
        }
        // Where every point of rows 0..rows-1 is read from (stride two vertices), or null when
        // the reads would switch between the copies.
        const D3DVTX_PNCd* whole(long long rows) const {
            if (primaryRows >= rows)
                return primary;
            return primaryRows == 0 && secondaryRows >= rows ? secondary : nullptr;
        }
    };

    // Spans the filled strips (vertex count >= 2): rows are the pairs of the fullest strip,
    // columns run from the first filled strip to one past the last.
    CSpctmLattice(CMVBzq* strips, long long stripCount);

    long long rows() const { return m_rows; }
    long long cols() const { return m_cols; }
    // Column f; outside the lattice it holds nothing.
    Column column(long long f) const;
    // Position of point (i, f), or (0, 0, 0, 0) where no strip holds it.
    __m128 pos(long long i, long long f) const {
        if (i < 0 || i >= m_rows || f < 0 || f >= m_cols)
            return _mm_setzero_ps();
        return column(f).pos(i);
    }

private:
    // Readable vertices of a strip (0 for a missing one).
    long long used(long long strip) const;

    CMVBzq* m_strips;
    long long m_stripCount;
    long long m_firstStrip = 0;
    long long m_rows = 0;
    long long m_cols = 0;
};
