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

bool epochFinite(const double* x, long long n) {
    double acc = 0.0;
    for (long long i = 0; i < n; ++i) {
        acc += x[i] * 0.0; // NaN or infinity turns the sum into NaN
    }
    return acc == 0.0;
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

std::string CMorletTransform::check(const CSpctmSettings& s, double rate) {
    if (s.freqsHz.empty()) {
        return "spectrum settings: no frequency given";
    }
    for (double f : s.freqsHz) {
        if (!std::isfinite(f) || f <= 0.0) {
            return "spectrum settings: every frequency must be a finite number above 0 Hz";
        }
        if (rate > 0.0 && f >= rate / 2.0) {
            return "spectrum settings: frequency " + std::to_string(f) +
                   " Hz is not below the Nyquist frequency " + std::to_string(rate / 2.0) + " Hz";
        }
    }
    if (!std::isfinite(s.cycles) || s.cycles < 1.0 || s.cycles > 1000.0) {
        return "spectrum settings: cycles must lie between 1 and 1000";
    }
    if (!std::isfinite(s.timeStepMs) || s.timeStepMs <= 0.0) {
        return "spectrum settings: the time step must be a finite number of ms above 0";
    }
    if (s.resultMode < CSpctmSettings::Difference || s.resultMode > CSpctmSettings::ZScore) {
        return "spectrum settings: unknown Result mode";
    }
    if (s.threads < 0) {
        return "spectrum settings: the thread count must not be negative";
    }
    return {};
}

std::unique_ptr<CMorletTransform> CMorletTransform::create(double rate, double firstLatencyMs,
                                                           long long nSamples,
                                                           const CSpctmSettings& settings,
                                                           std::string& error) {
    if (!std::isfinite(rate) || rate <= 0.0 || nSamples < 1 || !std::isfinite(firstLatencyMs)) {
        error = "raw epochs: no valid sampling rate, latency or epoch length";
        return nullptr;
    }
    error = check(settings, rate);
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

int CMorletTransform::build(const CSpctmSettings& s, std::string& error) {
    m_cycles = s.cycles;
    m_stepMsSetting = s.timeStepMs;
    const double kReal = std::round(s.timeStepMs * m_rate / 1000.0);
    m_k = kReal < 1.0 ? 1 : static_cast<long long>(std::min(kReal, double(m_nSamples)));
    // Align the grid so that the sample nearest latency 0 is a grid point.
    const double s0 = std::round(-m_firstLatencyMs * m_rate / 1000.0);
    double rr = std::fmod(s0, static_cast<double>(m_k));
    rr = rr < 0.0 ? rr + static_cast<double>(m_k) : rr;
    const auto r = static_cast<long long>(rr);
    m_off = (m_k - r) % m_k;
    double fMin = s.freqsHz[0];
    for (double f : s.freqsHz) {
        fMin = f < fMin ? f : fMin;
    }
    const double pad = std::ceil(kSigmas * s.cycles / (2.0 * std::numbers::pi * fMin) * m_rate);
    const double need = static_cast<double>(m_off + m_nSamples) + pad;
    if (need > static_cast<double>(kMaxFft)) {
        error = "spectrum: epochs plus the padding the lowest frequency needs exceed " +
                std::to_string(kMaxFft) + " samples; raise the lowest frequency";
        return 0;
    }
    m_m = niceSize((static_cast<long long>(need) + m_k - 1) / m_k);
    m_n = m_m * m_k;
    if (m_n > kMaxFft) {
        error = "spectrum: transform size too large";
        return 0;
    }
    try {
        m_freqs = s.freqsHz;
        long long total = 0;
        const double binHz = m_rate / static_cast<double>(m_n);
        for (double f : m_freqs) {
            const double sigmaF = f / s.cycles;
            long long lo = static_cast<long long>(std::ceil((f - kSigmas * sigmaF) / binHz));
            long long hi = static_cast<long long>(std::floor((f + kSigmas * sigmaF) / binHz));
            lo = lo < 1 ? 1 : lo;
            hi = hi > m_n / 2 ? m_n / 2 : hi;
            const long long len = hi >= lo ? hi - lo + 1 : 0;
            if (total + len > kMaxWeights) {
                error = "spectrum: wavelet bands too large; use fewer cycles or frequencies";
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

CMorletTransform::Window CMorletTransform::window(double startMs, double endMs) const {
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

double CMorletTransform::gridLatencyMs(long long gridIndex) const {
    return m_firstLatencyMs + 1000.0 * static_cast<double>(gridIndex * m_k - m_off) / m_rate;
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
        if (!epochFinite(x, m_nSamples)) {
            continue;
        }
        ++used;
        std::memcpy(ws.in + m_off, x, sizeof(double) * static_cast<std::size_t>(m_nSamples));
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
