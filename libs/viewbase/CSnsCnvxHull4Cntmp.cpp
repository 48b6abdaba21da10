// Hull mesh holder: sizing and the out-of-date test.
#include "viewbase/CSnsCnvxHull4Cntmp.h"

#include "HullOpening.h"
#include "recording/CMEGDatazq.h"

#include <algorithm>
#include <iterator>

int CSnsCnvxHull4Cntmp::check4update(CMEGDatazq* session) {
    long long stamp = 0;
    const bool current = session && m_pTriVtx && m_pMEGData == session &&
                         session->getSelect(stamp, stamp) && stamp == m_select &&
                         std::equal(std::begin(m_winKey), std::end(m_winKey), m_builtWinKey) &&
                         m_colorKey == m_builtColorKey;
    return current ? 1 : 0;
}

int CSnsCnvxHull4Cntmp::checkInitTriVtx(const std::vector<R3>&, const std::vector<Tri>& tris,
                                        CM3Dzq* m3d, bool exact) {
    // A device buffer holds at most 2 GiB, far below this count.
    constexpr size_t kMaxTris = size_t{1} << 40;
    if (tris.size() > kMaxTris) {
        return 0;
    }
    const long long need = std::max(3LL, 3LL * static_cast<long long>(tris.size()));
    auto holder = m_pTriVtx ? std::move(m_pTriVtx) : std::make_unique<CMVBzq>();
    const long long cap = holder->m_nVtxCapacity;
    const bool fits = exact ? cap == need : cap >= need;
    const int ok = fits || holder->initBuf4triangVtx(need);
    if (ok || holder->m_nVtxCapacity > 0) {
        m_pTriVtx = std::move(holder);
    }
    if (ok) {
        m_pTriVtx->m_pM3D = m3d;
    }
    return ok;
}

void CSnsCnvxHull4Cntmp::setWindowKey(long long t0, long long f0, long long t1, long long f1) {
    m_winKey[0] = t0;
    m_winKey[1] = f0;
    m_winKey[2] = t1;
    m_winKey[3] = f1;
}

void CSnsCnvxHull4Cntmp::markBuiltWindow() {
    std::copy(std::begin(m_winKey), std::end(m_winKey), m_builtWinKey);
    m_builtColorKey = m_colorKey;
}

void CSnsCnvxHull4Cntmp::findDrawRuns(const std::vector<R3>& pts, const std::vector<Tri>& tris) {
    m_drawRuns = hullopening::drawnFacetRuns(pts, tris);
}

void CSnsCnvxHull4Cntmp::release() {
    m_pTriVtx.reset();
    m_drawRuns.clear();
    m_pMEGData = nullptr;
    m_select = 0;
    std::fill(std::begin(m_builtWinKey), std::end(m_builtWinKey), -1);
}
