// Morlet wavelet transform through FFTW.
#include "CMorletTransform.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <limits>
#include <mutex>
#include <numbers>

namespace {

// FFTW's planner is not thread safe.
std::mutex& planMutex() {
    static std::mutex m;
    return m;
}

// Half-width of the Gaussian bands and of the zero padding, in standard deviations: the
// truncated tail is below 4e-6 of the peak.
constexpr double kSigmas = 5.0;
constexpr long long kMaxFft = 1LL << 25;
constexpr long long kMaxWeights = 1LL << 26;
constexpr const char* kBandsTooLarge =
    "spectrum: wavelet bands too large; use fewer cycles or frequencies";

// Smallest n >= x whose prime factors are 2, 3, 5 and 7 (sizes FFTW handles fastest).
long long niceSize(long long x) {
    for (long long n = x > 1 ? x : 1;; ++n) {
        long long r = n;
        for (long long p : {2, 3, 5, 7}) {
            while (r % p == 0) {
                r /= p;
            }
        }
        if (r == 1) {
            return n;
        }
    }
}

// Whether every sample is finite and within kMaxSample (NaN fails every comparison).
bool epochUsable(const double* x, long long n) {
    bool ok = true;
    for (long long i = 0; i < n; ++i) {
        ok &= std::fabs(x[i]) <= CMorletTransform::kMaxSample;
    }
    return ok;
}

} // namespace

CMorletTransform::Workspace::Workspace(const CMorletTransform& t) {
    in = fftw_alloc_real(static_cast<std::size_t>(t.m_n));
    spectrum = fftw_alloc_complex(static_cast<std::size_t>(t.m_n / 2 + 1));
    fold = fftw_alloc_complex(static_cast<std::size_t>(t.m_m));
    out = fftw_alloc_complex(static_cast<std::size_t>(t.m_m));
    if (ok()) {
        std::memset(in, 0, sizeof(double) * static_cast<std::size_t>(t.m_n));
        std::memset(fold, 0, sizeof(fftw_complex) * static_cast<std::size_t>(t.m_m));
    }
}

CMorletTransform::Workspace::~Workspace() {
    fftw_free(in);
    fftw_free(spectrum);
    fftw_free(fold);
    fftw_free(out);
}

std::unique_ptr<CMorletTransform> CMorletTransform::create(double rate, double firstLatencyMs,
                                                           long long nSamples,
                                                           const CSpctmSettings& settings,
                                                           std::string& error) {
    if (!std::isfinite(rate) || rate <= 0.0 || nSamples < 1 || !std::isfinite(firstLatencyMs)) {
        error = "raw epochs: no valid sampling rate, latency or epoch length";
        return nullptr;
    }
    error = settings.check(rate);
    if (!error.empty()) {
        return nullptr;
    }
    std::unique_ptr<CMorletTransform> t(new (std::nothrow) CMorletTransform());
    if (!t) {
        error = "out of memory";
        return nullptr;
    }
    t->m_rate = rate;
    t->m_firstLatencyMs = firstLatencyMs;
    t->m_nSamples = nSamples;
    if (!t->build(settings, error)) {
        return nullptr;
    }
    return t;
}

std::string CMorletTransform::checkSize(const CSpctmGrid& grid, long long nSamples, double rate,
                                        const CSpctmSettings& s) {
    Sizes z;
    std::string error = sizes(grid, nSamples, rate, s, z);
    long long total = 0;
    for (std::size_t j = 0; error.empty() && j < s.freqsHz.size(); ++j) {
        long long lo = 0, hi = 0;
        band(s.freqsHz[j], s.cycles, rate / static_cast<double>(z.n), z.n, lo, hi);
        total += hi >= lo ? hi - lo + 1 : 0;
        if (total > kMaxWeights) {
            error = kBandsTooLarge;
        }
    }
    return error;
}

std::string CMorletTransform::sizes(const CSpctmGrid& grid, long long nSamples, double rate,
                                    const CSpctmSettings& s, Sizes& z) {
    double fMin = s.freqsHz[0];
    for (double f : s.freqsHz) {
        fMin = f < fMin ? f : fMin;
    }
    const double pad = std::ceil(kSigmas * s.cycles / (2.0 * std::numbers::pi * fMin) * rate);
    const double need = static_cast<double>(grid.getOffset() + nSamples) + pad;
    if (need > static_cast<double>(kMaxFft)) {
        return "spectrum: epochs plus the padding the lowest frequency needs exceed " +
               std::to_string(kMaxFft) + " samples; raise the lowest frequency";
    }
    const long long k = grid.getStep();
    z.m = niceSize((static_cast<long long>(need) + k - 1) / k);
    z.n = z.m * k;
    if (z.n > kMaxFft) {
        return "spectrum: transform size too large";
    }
    return {};
}

void CMorletTransform::band(double f, double cycles, double binHz, long long n, long long& lo,
                            long long& hi) {
    const double sigmaF = f / cycles;
    lo = static_cast<long long>(std::ceil((f - kSigmas * sigmaF) / binHz));
    hi = static_cast<long long>(std::floor((f + kSigmas * sigmaF) / binHz));
    lo = lo < 1 ? 1 : lo;
    hi = hi > n / 2 ? n / 2 : hi;
}

int CMorletTransform::build(const CSpctmSettings& s, std::string& error) {
    m_cycles = s.cycles;
    m_stepMsSetting = s.timeStepMs;
    m_grid = CSpctmGrid(m_rate, m_firstLatencyMs, m_nSamples, s.timeStepMs);
    Sizes z;
    error = sizes(m_grid, m_nSamples, m_rate, s, z);
    if (!error.empty()) {
        return 0;
    }
    m_m = z.m;
    m_n = z.n;
    try {
        m_freqs = s.freqsHz;
        long long total = 0;
        const double binHz = m_rate / static_cast<double>(m_n);
        for (double f : m_freqs) {
            long long lo = 0, hi = 0;
            band(f, s.cycles, binHz, m_n, lo, hi);
            const double sigmaF = f / s.cycles;
            const long long len = hi >= lo ? hi - lo + 1 : 0;
            if (total + len > kMaxWeights) {
                error = kBandsTooLarge;
                return 0;
            }
            m_bandLo.push_back(lo);
            m_bandStart.push_back(total);
            m_bandLen.push_back(static_cast<int>(len));
            for (long long b = lo; b <= hi; ++b) {
                const double d = (static_cast<double>(b) * binHz - f) / sigmaF;
                // Factor 2 restores the negative-frequency half; 1/N undoes FFTW's scaling.
                m_weights.push_back(2.0 * std::exp(-0.5 * d * d) / static_cast<double>(m_n));
            }
            total += len;
        }
    } catch (const std::exception&) {
        error = "out of memory";
        return 0;
    }
    Workspace ws(*this);
    if (!ws.ok()) {
        error = "out of memory";
        return 0;
    }
    std::lock_guard<std::mutex> lock(planMutex());
    m_fwd = fftw_plan_dft_r2c_1d(static_cast<int>(m_n), ws.in, ws.spectrum, FFTW_ESTIMATE);
    m_inv = fftw_plan_dft_1d(static_cast<int>(m_m), ws.fold, ws.out, FFTW_BACKWARD, FFTW_ESTIMATE);
    if (!m_fwd || !m_inv) {
        error = "spectrum: FFTW could not plan the transforms";
        return 0;
    }
    return 1;
}

CMorletTransform::~CMorletTransform() {
    std::lock_guard<std::mutex> lock(planMutex());
    if (m_fwd) {
        fftw_destroy_plan(m_fwd);
    }
    if (m_inv) {
        fftw_destroy_plan(m_inv);
    }
}

bool CMorletTransform::matches(double rate, double firstLatencyMs, long long nSamples,
                               const CSpctmSettings& s) const {
    return rate == m_rate && firstLatencyMs == m_firstLatencyMs && nSamples == m_nSamples &&
           s.cycles == m_cycles && s.timeStepMs == m_stepMsSetting && s.freqsHz == m_freqs;
}

void CMorletTransform::foldBand(int j, const Workspace& ws) const {
    const auto jj = static_cast<std::size_t>(j);
    const double* w = m_weights.data() + m_bandStart[jj];
    const fftw_complex* x = ws.spectrum + m_bandLo[jj];
    long long left = m_bandLen[jj];
    long long idx = m_bandLo[jj] % m_m;
    // Runs of the band that do not wrap around the fold buffer.
    while (left > 0) {
        const long long run = std::min(left, m_m - idx);
        fftw_complex* z = ws.fold + idx;
        for (long long b = 0; b < run; ++b) {
            z[b][0] += x[b][0] * w[b];
            z[b][1] += x[b][1] * w[b];
        }
        x += run;
        w += run;
        left -= run;
        idx = 0;
    }
}

void CMorletTransform::clearBand(int j, const Workspace& ws) const {
    const auto jj = static_cast<std::size_t>(j);
    const long long len = m_bandLen[jj];
    const long long idx = m_bandLo[jj] % m_m;
    if (len >= m_m) {
        std::memset(ws.fold, 0, sizeof(fftw_complex) * static_cast<std::size_t>(m_m));
        return;
    }
    const long long first = std::min(len, m_m - idx);
    std::memset(ws.fold + idx, 0, sizeof(fftw_complex) * static_cast<std::size_t>(first));
    std::memset(ws.fold, 0, sizeof(fftw_complex) * static_cast<std::size_t>(len - first));
}

long long CMorletTransform::transformChannel(const double* samples, long long nEpochs,
                                             Workspace& ws, const Window* windows,
                                             double* const* re, double* const* im,
                                             double* const* pw, int nWindows) const {
    const auto nFreq = static_cast<long long>(m_freqs.size());
    long long nT = 0;
    for (int k = 0; k < nWindows; ++k) {
        nT += windows[k].count;
    }
    // Sums per component and frequency, contiguous in time: [component][frequency][point].
    ws.acc.assign(static_cast<std::size_t>(3 * nFreq * nT), 0.0);
    long long used = 0;
    for (long long e = 0; e < nEpochs; ++e) {
        const double* x = samples + e * m_nSamples;
        if (!epochUsable(x, m_nSamples)) {
            continue;
        }
        ++used;
        std::memcpy(ws.in + m_grid.getOffset(), x,
                    sizeof(double) * static_cast<std::size_t>(m_nSamples));
        fftw_execute_dft_r2c(m_fwd, ws.in, ws.spectrum);
        for (int j = 0; j < static_cast<int>(nFreq); ++j) {
            foldBand(j, ws);
            fftw_execute_dft(m_inv, ws.fold, ws.out);
            clearBand(j, ws);
            double* aRe = ws.acc.data() + j * nT;
            double* aIm = aRe + nFreq * nT;
            double* aPw = aIm + nFreq * nT;
            for (int k = 0; k < nWindows; ++k) {
                const fftw_complex* z = ws.out + windows[k].first;
                for (long long t = 0; t < windows[k].count; ++t) {
                    aRe[t] += z[t][0];
                    aIm[t] += z[t][1];
                    aPw[t] += z[t][0] * z[t][0] + z[t][1] * z[t][1];
                }
                aRe += windows[k].count;
                aIm += windows[k].count;
                aPw += windows[k].count;
            }
        }
    }
    const double scale =
        used ? 1.0 / static_cast<double>(used) : std::numeric_limits<double>::quiet_NaN();
    long long t0 = 0;
    for (int k = 0; k < nWindows; ++k) {
        double* const dst[3] = {re[k], im[k], pw[k]};
        for (int c = 0; c < 3; ++c) {
            for (long long j = 0; j < nFreq; ++j) {
                const double* a = ws.acc.data() + (c * nFreq + j) * nT + t0;
                for (long long t = 0; t < windows[k].count; ++t) {
                    dst[c][t * nFreq + j] = a[t] * scale;
                }
            }
        }
        t0 += windows[k].count;
    }
    return used;
}

void CMorletTransform::bareTransforms(Workspace& ws) const {
    fftw_execute_dft_r2c(m_fwd, ws.in, ws.spectrum);
    for (std::size_t j = 0; j < m_freqs.size(); ++j) {
        fftw_execute_dft(m_inv, ws.fold, ws.out);
    }
}
