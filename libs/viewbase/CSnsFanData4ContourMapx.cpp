// Fan data holder: records per channel and the shared vertex array.
#include "viewbase/CSnsFanData4ContourMapx.h"

#include <algorithm>

int CSnsFanData4ContourMapx::getNbrCapacity(int chnType) const {
    return chnType == 0 ? m_nbrCapMeg : chnType == 1 ? m_nbrCapEeg : 0;
}

int CSnsFanData4ContourMapx::checkInitTriSnsVtx(int chnType, CM3Dzq* m3d, int count, bool exact) {
    const int cap = getNbrCapacity(chnType);
    // More than a million channels or neighbours is nonsense input, not a recording.
    constexpr int kMaxCount = 1 << 20;
    if (cap < 1 || cap > kMaxCount || count < 0 || count > kMaxCount) {
        return 0;
    }
    const long long need = std::max(1LL, static_cast<long long>(count) * cap);
    auto holder = m_pTriVtx ? std::move(m_pTriVtx) : std::make_unique<CMVBzq>();
    const long long have = holder->m_nVtxCapacity;
    const int ok = (exact ? have == need : have >= need) || holder->initBuf4triangVtx(need);
    if (ok || have > 0) {
        m_pTriVtx = std::move(holder);
    }
    if (!ok) {
        return 0;
    }
    m_pTriVtx->m_pM3D = m3d;
    m_fans.resize(static_cast<size_t>(count));
    for (auto& f : m_fans) {
        if (!f) {
            f = std::make_unique<CSnsFan4ContourMapx>();
        }
    }
    m_nFan = std::min(m_nFan, count);
    return 1;
}

CSnsFan4ContourMapx* CSnsFanData4ContourMapx::getFanAt(int i) {
    if (i < 0 || i >= getFanPlaces()) {
        return nullptr;
    }
    return m_fans[static_cast<size_t>(i)].get();
}

void CSnsFanData4ContourMapx::release() {
    m_pTriVtx.reset();
    m_fans.clear();
    m_nFan = 0;
}
