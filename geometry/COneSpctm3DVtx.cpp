// Vertex grid of one channel's spectrogram: sizing, joining, access and the whole-grid
// normal passes.
#include "geometry/COneSpctm3DVtx.h"

#include "geometry/CNmlMath.h"
#include "geometry/CSpctmLattice.h"

#include <algorithm>
#include <cstring>
#include <new>

namespace {

// Vertices of a strip that can be read: its count in use, limited to its array.
long long usedCount(const CMVBzq& strip) {
    return strip.m_pVtx ? std::min(strip.m_nVtx, strip.m_nVtxCapacity) : 0;
}

} // namespace

COneSpctm3DVtx::COneSpctm3DVtx() = default;

COneSpctm3DVtx::~COneSpctm3DVtx() {
    deleteStrips();
}

void COneSpctm3DVtx::deleteStrips() {
    delete[] strips;
    strips = nullptr;
    timePoints = 0;
    freqPoints = 0;
    stripCount = 0;
}

CMVBzq* COneSpctm3DVtx::checkInitVtxBuf(long long T, long long F) {
    if (T != timePoints || F != freqPoints)
        deleteStrips();
    if (T < 2 || F < 2)
        return nullptr;
    // Beyond this the vertex count of a strip no longer fits the byte size of its array.
    constexpr long long kMaxPoints = (1LL << 40) / static_cast<long long>(sizeof(D3DVTX_PNCd));
    if (T > kMaxPoints || F > kMaxPoints)
        return nullptr;
    stripCount = F - 1;
    if (!strips) {
        strips = new (std::nothrow) CMVBzq[static_cast<size_t>(stripCount)];
        if (!strips) {
            stripCount = 0;
            return nullptr;
        }
    }
    for (long long s = 0; s < stripCount; ++s) {
        if (strips[s].m_nVtxCapacity != 2 * T && !strips[s].initBuf4triangVtx(2 * T))
            return nullptr;
        timePoints = T;
        freqPoints = F;
    }
    return strips;
}

long long COneSpctm3DVtx::combineVb4Spctm() {
    if (stripCount < 2 || !strips)
        return 0;
    long long total = 0;
    const CMVBzq* first = nullptr;
    for (long long s = 0; s < stripCount; ++s) {
        if (usedCount(strips[s]) < 3)
            continue;
        total += usedCount(strips[s]) + 2;
        if (!first)
            first = &strips[s];
    }
    if (total < 3)
        return 0;
    combined.m_bufFlags = first->m_bufFlags;
    combined.m_vtxStride = first->m_vtxStride;
    // A buffer of the right size is reused, so a same-size redraw allocates nothing.
    if (combined.m_nVtxCapacity != total || !combined.getBufPtr()) {
        combined.releaseMVB();
        if (!combined.initBuf4triangVtx(total))
            return 0;
        combined.m_bufFlags = first->m_bufFlags;
        combined.m_vtxStride = first->m_vtxStride;
    }
    D3DVTX_PNCd* out = combined.getBufPtr();
    long long written = 0;
    const D3DVTX_PNCd* previousLast = nullptr;
    for (long long s = 0; s < stripCount; ++s) {
        const CMVBzq& strip = strips[s];
        const long long n = usedCount(strip);
        if (n < 3)
            continue;
        if (previousLast) {
            out[written++] = *previousLast;
            out[written++] = strip.m_pVtx[0];
        }
        std::memcpy(out + written, strip.m_pVtx, static_cast<size_t>(n) * sizeof(D3DVTX_PNCd));
        written += n;
        previousLast = strip.m_pVtx + n - 1;
    }
    combined.m_nVtx = written;
    return written;
}

__m128 COneSpctm3DVtx::posTimFrq(long long t, long long f) {
    __m128 p;
    if (!getPosTF(t, f, &p) || t >= strips[f].m_nVtx)
        return _mm_setzero_ps();
    return p;
}

bool COneSpctm3DVtx::getPosTF(long long t, long long f, __m128* out) {
    if (!out || t < 0 || t >= timePoints || f < 0 || f >= stripCount || !strips)
        return false;
    const D3DVTX_PNCd* v = strips[f].getBufPtr();
    if (!v || t >= strips[f].m_nVtxCapacity)
        return false;
    *out = _mm_loadu_ps(v[t].pos);
    return true;
}

int COneSpctm3DVtx::setNml4TimFrq(long long t, long long f, __m128& normal) {
    if (t < 0 || t >= timePoints || f < 0 || f >= stripCount || !strips)
        return 0;
    D3DVTX_PNCd* v = strips[f].getBufPtr();
    if (!v || t >= strips[f].m_nVtx || t >= strips[f].m_nVtxCapacity)
        return 0;
    _mm_storeu_ps(v[t].nml, normal);
    return 1;
}

__m128 COneSpctm3DVtx::cross(__m128& a, __m128& b) {
    return CNmlMath::cross(a, b);
}

int COneSpctm3DVtx::normalOptim() {
    if (!_01LockAll())
        return 0;
    const CSpctmLattice lat(strips, stripCount);
    const long long T = lat.rows();
    const long long F = lat.cols();
    const __m128 quarter = _mm_set1_ps(0.25f);
    for (long long f = 0; f < F; ++f) {
        const long long fNext = f + 1 < F ? f + 1 : f;
        const long long fPrev = f >= 1 ? f - 1 : f;
        for (long long i = 0; i < T; ++i) {
            const long long iNext = i + 1 < T ? i + 1 : i;
            const long long iPrev = i >= 1 ? i - 1 : i;
            const __m128 c = lat.pos(i, f);
            const __m128 e1 = _mm_sub_ps(lat.pos(iNext, f), c);
            const __m128 e2 = _mm_sub_ps(lat.pos(i, fNext), c);
            const __m128 e3 = _mm_sub_ps(lat.pos(iPrev, f), c);
            const __m128 e4 = _mm_sub_ps(lat.pos(i, fPrev), c);
            __m128 n = _mm_add_ps(CNmlMath::cross(e2, e1), CNmlMath::cross(e3, e2));
            n = _mm_add_ps(n, CNmlMath::cross(e4, e3));
            n = _mm_add_ps(n, CNmlMath::cross(e1, e4));
            lat.setNormal(i, f, CNmlMath::normalize(_mm_mul_ps(n, quarter)));
        }
    }
    _02UnLockAll();
    return 1;
}

namespace {

// Sum of the faces d[a] x d[b] for the listed pairs, divided by their number.
__m128 averageFaces(const __m128 d[7], const int (*pairs)[2], int count) {
    __m128 sum = _mm_setzero_ps();
    for (int k = 0; k < count; ++k)
        sum = _mm_add_ps(sum, CNmlMath::cross(d[pairs[k][0]], d[pairs[k][1]]));
    return _mm_div_ps(sum, _mm_set1_ps(static_cast<float>(count)));
}

// The triangles that touch point (i, f) and lie inside a T x F lattice whose quads are split
// from (i + 1, f - 1) to (i, f); d[1..6] is the ring of neighbours.
__m128 sixNeighbourFaces(const __m128 d[7], long long i, long long f, long long T, long long F) {
    static const int interior[6][2] = {{1, 2}, {2, 3}, {3, 4}, {4, 5}, {5, 6}, {6, 1}};
    static const int top[3][2] = {{6, 1}, {1, 2}, {2, 3}};
    static const int topLast[2][2] = {{1, 2}, {2, 3}};
    static const int bottomLast[1][2] = {{3, 4}};
    static const int lastColumn[3][2] = {{1, 2}, {2, 3}, {3, 4}};
    static const int bottomFirst[2][2] = {{4, 5}, {5, 6}};
    static const int firstColumn[3][2] = {{4, 5}, {5, 6}, {6, 1}};
    static const int bottom[3][2] = {{3, 4}, {4, 5}, {5, 6}};
    if (i == 0 && f > 0 && f < F - 1)
        return averageFaces(d, top, 3);
    if (i == 0 && f == 0)
        return averageFaces(d, top, 1);
    if (i == 0 && f == F - 1)
        return averageFaces(d, topLast, 2);
    if (i == T - 1 && f == F - 1)
        return averageFaces(d, bottomLast, 1);
    if (f == F - 1)
        return averageFaces(d, lastColumn, 3);
    if (i == T - 1 && f == 0)
        return averageFaces(d, bottomFirst, 2);
    if (f == 0)
        return averageFaces(d, firstColumn, 3);
    if (i == T - 1)
        return averageFaces(d, bottom, 3);
    return averageFaces(d, interior, 6);
}

} // namespace

int COneSpctm3DVtx::normalAll() {
    if (!_01LockAll())
        return 0;
    const CSpctmLattice lat(strips, stripCount);
    const long long T = lat.rows();
    const long long F = lat.cols();
    for (long long f = 0; f < F; ++f) {
        for (long long i = 0; i < T; ++i) {
            const __m128 c = lat.pos(i, f);
            const __m128 d[7] = {c,
                                 _mm_sub_ps(lat.pos(i + 1, f), c),
                                 _mm_sub_ps(lat.pos(i + 1, f - 1), c),
                                 _mm_sub_ps(lat.pos(i, f - 1), c),
                                 _mm_sub_ps(lat.pos(i - 1, f), c),
                                 _mm_sub_ps(lat.pos(i - 1, f + 1), c),
                                 _mm_sub_ps(lat.pos(i, f + 1), c)};
            lat.setNormal(i, f, CNmlMath::normalize(sixNeighbourFaces(d, i, f, T, F)));
        }
    }
    _02UnLockAll();
    return 1;
}

int COneSpctm3DVtx::_01LockAll() {
    if (timePoints < 1 || freqPoints < 1 || stripCount < 1 || !strips)
        return 0;
    for (long long s = 0; s < stripCount; ++s)
        strips[s].getBufPtr();
    return 1;
}

int COneSpctm3DVtx::_02UnLockAll() {
    if (timePoints < 1 || freqPoints < 1)
        return 0;
    for (long long s = 0; strips && s < stripCount; ++s)
        strips[s].getBufPtr();
    return 1;
}

int COneSpctm3DVtx::clean() {
    deleteStrips();
    return 1;
}

int COneSpctm3DVtx::reset() {
    strips = nullptr;
    timePoints = 0;
    freqPoints = 0;
    stripCount = 0;
    return 1;
}

void COneSpctm3DVtx::setEngine(CM3Dzq* engine) {
    combined.m_pM3D = engine;
    for (long long s = 0; strips && s < stripCount; ++s)
        strips[s].m_pM3D = engine;
}
