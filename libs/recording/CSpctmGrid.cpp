// Decimated time grid of computed spectra.
#include "CSpctmGrid.h"

#include <algorithm>
#include <cmath>

CSpctmGrid::CSpctmGrid(double rate, double firstLatencyMs, long long nSamples, double stepMs)
    : m_rate(rate), m_firstLatencyMs(firstLatencyMs), m_nSamples(nSamples) {
    const double kReal = std::round(stepMs * rate / 1000.0);
    m_k = kReal < 1.0 ? 1 : static_cast<long long>(std::min(kReal, double(nSamples)));
    // Align the grid so that the sample nearest latency 0 is a grid point.
    const double s0 = std::round(-firstLatencyMs * rate / 1000.0);
    double rr = std::fmod(s0, static_cast<double>(m_k));
    rr = rr < 0.0 ? rr + static_cast<double>(m_k) : rr;
    const auto r = static_cast<long long>(rr);
    m_off = (m_k - r) % m_k;
}

CSpctmGrid::Window CSpctmGrid::window(double startMs, double endMs) const {
    Window w;
    if (!(startMs <= endMs)) {
        return w;
    }
    constexpr double kEps = 1e-6;
    const double perMs = m_rate / 1000.0;
    double sLo = std::ceil((startMs - m_firstLatencyMs) * perMs - kEps);
    double sHi = std::floor((endMs - m_firstLatencyMs) * perMs + kEps);
    sLo = sLo < 0.0 ? 0.0 : sLo;
    sHi = sHi > static_cast<double>(m_nSamples - 1) ? static_cast<double>(m_nSamples - 1) : sHi;
    if (sLo > sHi) {
        return w;
    }
    const auto lo = static_cast<long long>(sLo) + m_off;
    const auto hi = static_cast<long long>(sHi) + m_off;
    const long long first = (lo + m_k - 1) / m_k;
    const long long last = hi / m_k;
    if (last >= first) {
        w.first = first;
        w.count = last - first + 1;
    }
    return w;
}

double CSpctmGrid::gridLatencyMs(long long gridIndex) const {
    return m_firstLatencyMs + 1000.0 * static_cast<double>(gridIndex * m_k - m_off) / m_rate;
}
