// Storage of one channel spectrum.
#include "recording/CSpctmChnl.h"

#include <limits>
#include <stdexcept>
#include <utility>

double* CSpctmChnl::getSpctmDataPtr(int component, long long* nTime, long long* nFreq) {
    const auto* self = this;
    return const_cast<double*>(self->getSpctmDataPtr(component, nTime, nFreq));
}

const double* CSpctmChnl::getSpctmDataPtr(int component, long long* nTime, long long* nFreq) const {
    if (nTime) {
        *nTime = m_nTime;
    }
    if (nFreq) {
        *nFreq = m_nFreq;
    }
    if (component < 0 || component > 2 || isEmpty()) {
        return nullptr;
    }
    return m_grid[component].data();
}

int CSpctmChnl::resize(long long nTime, long long nFreq) {
    clear();
    constexpr long long kMax = std::numeric_limits<long long>::max() / 3 / 8;
    if (nTime < 1 || nFreq < 1 || nTime > kMax / nFreq) {
        return 0;
    }
    const auto n = static_cast<std::size_t>(nTime * nFreq);
    try {
        for (auto& grid : m_grid) {
            grid.assign(n, 0.0);
        }
    } catch (const std::exception&) {
        clear();
        return 0;
    }
    m_nTime = nTime;
    m_nFreq = nFreq;
    return 1;
}

void CSpctmChnl::swap(CSpctmChnl& other) noexcept {
    for (int k = 0; k < 3; ++k) {
        m_grid[k].swap(other.m_grid[k]);
    }
    std::swap(m_nTime, other.m_nTime);
    std::swap(m_nFreq, other.m_nFreq);
}

void CSpctmChnl::clear() {
    for (auto& grid : m_grid) {
        std::vector<double>().swap(grid);
    }
    m_nTime = 0;
    m_nFreq = 0;
}
