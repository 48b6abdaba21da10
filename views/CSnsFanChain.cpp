// Neighbour keeping and chain ordering of one sensor fan.
#include "views/CSnsFanChain.h"

#include <algorithm>
#include <cmath>
#include <utility>

float CSnsFanChain::distance(const float a[3], const float b[3]) {
    const float dx = a[0] - b[0], dy = a[1] - b[1], dz = a[2] - b[2];
    return std::sqrt(dx * dx + dy * dy + dz * dz);
}

int CSnsFanChain::replacedPlace(float dist) const {
    int far = -1;
    for (size_t k = 0; k < m_dist.size(); ++k)
        if (far < 0 || m_dist[k] > m_dist[static_cast<size_t>(far)])
            far = static_cast<int>(k);
    return far >= 0 && dist < m_dist[static_cast<size_t>(far)] ? far : -1;
}

void CSnsFanChain::swapPlaces(D3DVTX_PNCd* nbr, std::vector<unsigned>& chn, size_t a, size_t b) {
    if (a == b)
        return;
    std::swap(nbr[a], nbr[b]);
    std::swap(chn[a], chn[b]);
    std::swap(m_dist[a], m_dist[b]);
}

void CSnsFanChain::order(D3DVTX_PNCd* nbr, std::vector<unsigned>& chn) {
    const size_t n = m_dist.size();
    if (n == 0)
        return;
    size_t start = 0;
    for (size_t k = 1; k < n; ++k)
        if (m_dist[k] < m_dist[start])
            start = k;
    swapPlaces(nbr, chn, 0, start);
    std::fill(nbr[0].nml, nbr[0].nml + 4, m_dist[0]);
    for (size_t p = 1; p < n; ++p) {
        size_t best = p;
        float bestDist = distance(nbr[p - 1].pos, nbr[p].pos);
        for (size_t q = p + 1; q < n; ++q) {
            const float d = distance(nbr[p - 1].pos, nbr[q].pos);
            if (d < bestDist) {
                best = q;
                bestDist = d;
            }
        }
        swapPlaces(nbr, chn, p, best);
        std::fill(nbr[p].nml, nbr[p].nml + 4, bestDist);
    }
}
