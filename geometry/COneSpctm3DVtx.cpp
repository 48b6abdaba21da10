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
    // A grid whose strips would need more than this is refused before anything is allocated,
    // so that nonsense sizes fail quietly instead of exhausting memory.
    constexpr long long kMaxGridBytes = 1LL << 34;
    constexpr long long kVtxBytes = static_cast<long long>(sizeof(D3DVTX_PNCd));
    if (T > kMaxGridBytes / (2 * kVtxBytes))
        return nullptr;
    const long long stripBytes = static_cast<long long>(sizeof(CMVBzq)) + 2 * T * kVtxBytes;
    if (F - 1 > kMaxGridBytes / stripBytes)
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

namespace {

using Column = CSpctmLattice::Column;

// A difference vector's two rotations for the cross product, made once because every
// vector of a ring takes part in two faces.
struct Rotated {
    __m128 yzx;
    __m128 zxy;
    explicit Rotated(__m128 v)
        : yzx(_mm_shuffle_ps(v, v, _MM_SHUFFLE(3, 0, 2, 1))),
          zxy(_mm_shuffle_ps(v, v, _MM_SHUFFLE(3, 1, 0, 2))) {}
};

// a x b in the first three lanes; the fourth is cleared once per sum by clearW.
__m128 face(const Rotated& a, const Rotated& b) {
    return _mm_sub_ps(_mm_mul_ps(a.yzx, b.zxy), _mm_mul_ps(a.zxy, b.yzx));
}

__m128 clearW(__m128 v) {
    return _mm_and_ps(v, _mm_castsi128_ps(_mm_setr_epi32(-1, -1, -1, 0)));
}

// Four-neighbour normal of c from its neighbours along time (next, previous) and frequency.
__m128 fourNeighbourNormal(__m128 c, __m128 timeNext, __m128 freqNext, __m128 timePrev,
                           __m128 freqPrev) {
    const Rotated e1(_mm_sub_ps(timeNext, c));
    const Rotated e2(_mm_sub_ps(freqNext, c));
    const Rotated e3(_mm_sub_ps(timePrev, c));
    const Rotated e4(_mm_sub_ps(freqPrev, c));
    __m128 n = _mm_add_ps(face(e2, e1), face(e3, e2));
    n = _mm_add_ps(n, face(e4, e3));
    n = clearW(_mm_add_ps(n, face(e1, e4)));
    return CNmlMath::normalize(_mm_mul_ps(n, _mm_set1_ps(0.25f)));
}

// All six faces of an interior point, summed in ring order and averaged.
__m128 interiorSixFaces(const __m128 d[7]) {
    const Rotated r1(d[1]), r2(d[2]), r3(d[3]), r4(d[4]), r5(d[5]), r6(d[6]);
    __m128 sum = _mm_add_ps(_mm_setzero_ps(), face(r1, r2));
    sum = _mm_add_ps(sum, face(r2, r3));
    sum = _mm_add_ps(sum, face(r3, r4));
    sum = _mm_add_ps(sum, face(r4, r5));
    sum = _mm_add_ps(sum, face(r5, r6));
    sum = clearW(_mm_add_ps(sum, face(r6, r1)));
    return _mm_div_ps(sum, _mm_set1_ps(6.0f));
}

__m128 load(const D3DVTX_PNCd* column, long long i) {
    return _mm_loadu_ps(column[2 * i].pos);
}

// Column f of the four-neighbour pass; a border neighbour falls back to the point itself.
void optimColumn(const CSpctmLattice& lat, long long f) {
    const long long T = lat.rows();
    const long long F = lat.cols();
    const Column prev = lat.column(f >= 1 ? f - 1 : f);
    const Column cur = lat.column(f);
    const Column next = lat.column(f + 1 < F ? f + 1 : f);
    auto point = [&](long long i) {
        const __m128 c = cur.pos(i);
        const __m128 n = fourNeighbourNormal(c, cur.pos(i + 1 < T ? i + 1 : i), next.pos(i),
                                             cur.pos(i >= 1 ? i - 1 : i), prev.pos(i));
        cur.setNormal(i, n);
    };
    const D3DVTX_PNCd* p = prev.whole(T);
    const D3DVTX_PNCd* c = cur.whole(T);
    const D3DVTX_PNCd* n = next.whole(T);
    if (!p || !c || !n || T < 3) {
        for (long long i = 0; i < T; ++i)
            point(i);
        return;
    }
    // Interior rows read every neighbour straight from the strips.
    point(0);
    for (long long i = 1; i < T - 1; ++i)
        cur.setNormal(i, fourNeighbourNormal(load(c, i), load(c, i + 1), load(n, i), load(c, i - 1),
                                             load(p, i)));
    point(T - 1);
}

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
    return interiorSixFaces(d);
}

// Six-neighbour normal of the ring around c: (i+1, f), (i+1, f-1), (i, f-1), (i-1, f),
// (i-1, f+1), (i, f+1).
void sixRing(__m128 c, __m128 r1, __m128 r2, __m128 r3, __m128 r4, __m128 r5, __m128 r6,
             __m128 d[7]) {
    d[0] = c;
    d[1] = _mm_sub_ps(r1, c);
    d[2] = _mm_sub_ps(r2, c);
    d[3] = _mm_sub_ps(r3, c);
    d[4] = _mm_sub_ps(r4, c);
    d[5] = _mm_sub_ps(r5, c);
    d[6] = _mm_sub_ps(r6, c);
}

// Column f of the six-neighbour pass; points outside the lattice read as zero.
void allColumn(const CSpctmLattice& lat, long long f) {
    const long long T = lat.rows();
    const long long F = lat.cols();
    const Column prev = lat.column(f - 1);
    const Column cur = lat.column(f);
    const Column next = lat.column(f + 1);
    __m128 d[7];
    auto point = [&](long long i) {
        sixRing(lat.pos(i, f), lat.pos(i + 1, f), lat.pos(i + 1, f - 1), lat.pos(i, f - 1),
                lat.pos(i - 1, f), lat.pos(i - 1, f + 1), lat.pos(i, f + 1), d);
        cur.setNormal(i, CNmlMath::normalize(sixNeighbourFaces(d, i, f, T, F)));
    };
    const D3DVTX_PNCd* p = prev.whole(T);
    const D3DVTX_PNCd* c = cur.whole(T);
    const D3DVTX_PNCd* n = next.whole(T);
    if (!p || !c || !n || T < 3) {
        for (long long i = 0; i < T; ++i)
            point(i);
        return;
    }
    // Interior rows of an interior column: all six faces, read straight from the strips.
    point(0);
    for (long long i = 1; i < T - 1; ++i) {
        sixRing(load(c, i), load(c, i + 1), load(p, i + 1), load(p, i), load(c, i - 1),
                load(n, i - 1), load(n, i), d);
        cur.setNormal(i, CNmlMath::normalize(interiorSixFaces(d)));
    }
    point(T - 1);
}

// Runs a whole-grid normal pass column by column inside the access brackets.
int passColumns(COneSpctm3DVtx& grid, void (*column)(const CSpctmLattice&, long long)) {
    if (!grid._01LockAll())
        return 0;
    const CSpctmLattice lat(grid.strips, grid.stripCount);
    for (long long f = 0; f < lat.cols(); ++f)
        column(lat, f);
    grid._02UnLockAll();
    return 1;
}

} // namespace

int COneSpctm3DVtx::normalOptim() {
    return passColumns(*this, &optimColumn);
}

int COneSpctm3DVtx::normalAll() {
    return passColumns(*this, &allColumn);
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
