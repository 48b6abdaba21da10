// Morlet wavelet transform through FFTW.
#include "CMorletTransform.h"

#include "FftwPlans.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <limits>
#include <mutex>
#include <numbers>

namespace {

// Half-width of the Gaussian bands and of the zero padding, in standard deviations: beyond it
// the Gaussian is below 1.6e-8 of its peak, and the left-out tail holds below 2e-9 of its sum.
// The padding covers the longest wavelet that far, so the circular convolution of the padded
// epoch equals the linear one.
constexpr double kSigmas = 6.0;
// A zero-mean correction below this (from about 7.4 cycles) is left out.
constexpr double kNegligible = 1e-12;
// MNE-Python's morlet() samples its wavelets from -5 to 5 sigma_t; WaveletL2 takes the norm there.
constexpr double kL2Sigmas = 5.0;
constexpr long long kMaxFft = 1LL << 25;
constexpr long long kMaxWeights = 1LL << 26;
constexpr const char* kBandsTooLarge =
    "spectrum: wavelet bands too large; use fewer cycles or frequencies";

long long floorMod(long long a, long long m) {
    const long long r = a % m;
    return r < 0 ? r + m : r;
}

double sigmaT(double f, double cycles) {
    return cycles / (2.0 * std::numbers::pi * f);
}

// The constant that makes the wavelet's mean zero, relative to its oscillation.
double zeroMeanConstant(double cycles) {
    return std::exp(-0.5 * cycles * cycles);
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
        band(s.freqsHz[j], s.cyclesAt(j), s.zeroMean, rate / static_cast<double>(z.n), lo, hi);
        total += hi - lo + 1;
        if (total > kMaxWeights) {
            error = kBandsTooLarge;
        }
    }
    return error;
}

std::string CMorletTransform::sizes(const CSpctmGrid& grid, long long nSamples, double rate,
                                    const CSpctmSettings& s, Sizes& z) {
    double longest = 0.0;
    for (std::size_t j = 0; j < s.freqsHz.size(); ++j) {
        longest = std::max(longest, sigmaT(s.freqsHz[j], s.cyclesAt(j)));
    }
    const double pad = std::ceil(kSigmas * longest * rate);
    const double need = static_cast<double>(grid.getOffset() + nSamples) + pad;
    if (need > static_cast<double>(kMaxFft)) {
        return "spectrum: epochs plus the padding the longest wavelet needs exceed " +
               std::to_string(kMaxFft) + " samples; use fewer cycles or raise the lowest frequency";
    }
    const long long k = grid.getStep();
    z.m = fftw_plans::niceSize((static_cast<long long>(need) + k - 1) / k);
    z.n = z.m * k;
    if (z.n > kMaxFft) {
        return "spectrum: transform size too large";
    }
    return {};
}

void CMorletTransform::band(double f, double cycles, bool zeroMean, double binHz, long long& lo,
                            long long& hi) {
    const double sigmaF = f / cycles;
    double from = f - kSigmas * sigmaF;
    if (zeroMean && zeroMeanConstant(cycles) > kNegligible) {
        from = std::min(from, -kSigmas * sigmaF);
    }
    lo = static_cast<long long>(std::ceil(from / binHz));
    hi = static_cast<long long>(std::floor((f + kSigmas * sigmaF) / binHz));
}

double CMorletTransform::bandScale(double f, double cycles, const CSpctmSettings& s) const {
    const double c = s.zeroMean ? zeroMeanConstant(cycles) : 0.0;
    if (s.normalisation == CSpctmSettings::SinusoidPower) {
        return 2.0 / (1.0 - c * c);
    }
    // The sampled wavelet's own L2 norm over -5..5 sigma_t, with MNE-Python's sample times.
    const double sigma = sigmaT(f, cycles);
    const auto last = static_cast<long long>(std::ceil(kL2Sigmas * sigma * m_rate)) - 1;
    const double w = 2.0 * std::numbers::pi * f / m_rate;
    double sumSq = 0.0;
    for (long long j = -last; j <= last; ++j) {
        const double t = static_cast<double>(j) / m_rate;
        const double g = std::exp(-t * t / (sigma * sigma));
        sumSq += g * (1.0 - 2.0 * c * std::cos(w * static_cast<double>(j)) + c * c);
    }
    // The band of the unscaled wavelet peaks at fs * sigma_t * sqrt(2*pi).
    return m_rate * sigma * std::sqrt(2.0 * std::numbers::pi) / std::sqrt(0.5 * sumSq);
}

void CMorletTransform::addBandWeights(double f, double cycles, const CSpctmSettings& s,
                                      long long lo, long long hi) {
    const double sigmaF = f / cycles;
    const double c = s.zeroMean ? zeroMeanConstant(cycles) : 0.0;
    // 1/N undoes FFTW's scaling.
    const double scale = bandScale(f, cycles, s) / static_cast<double>(m_n);
    const double binHz = m_rate / static_cast<double>(m_n);
    for (long long b = lo; b <= hi; ++b) {
        const double nu = static_cast<double>(b) * binHz;
        const double d = (nu - f) / sigmaF;
        const double d0 = nu / sigmaF;
        m_weights.push_back(scale * (std::exp(-0.5 * d * d) - c * std::exp(-0.5 * d0 * d0)));
    }
}

int CMorletTransform::build(const CSpctmSettings& s, std::string& error) {
    m_stepMsSetting = s.timeStepMs;
    m_zeroMean = s.zeroMean;
    m_normalisation = s.normalisation;
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
        for (std::size_t j = 0; j < m_freqs.size(); ++j) {
            const double f = m_freqs[j];
            const double n = s.cyclesAt(j);
            m_cycles.push_back(n);
            long long lo = 0, hi = 0;
            band(f, n, s.zeroMean, binHz, lo, hi);
            const long long len = hi - lo + 1;
            if (total + len > kMaxWeights) {
                error = kBandsTooLarge;
                return 0;
            }
            m_bandLo.push_back(lo);
            m_bandStart.push_back(total);
            m_bandLen.push_back(len);
            addBandWeights(f, n, s, lo, hi);
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
    std::lock_guard<std::mutex> lock(fftw_plans::mutex());
    m_fwd = fftw_plan_dft_r2c_1d(static_cast<int>(m_n), ws.in, ws.spectrum, FFTW_ESTIMATE);
    m_inv = fftw_plan_dft_1d(static_cast<int>(m_m), ws.fold, ws.out, FFTW_BACKWARD, FFTW_ESTIMATE);
    if (!m_fwd || !m_inv) {
        error = "spectrum: FFTW could not plan the transforms";
        return 0;
    }
    return 1;
}

CMorletTransform::~CMorletTransform() {
    std::lock_guard<std::mutex> lock(fftw_plans::mutex());
    if (m_fwd) {
        fftw_destroy_plan(m_fwd);
    }
    if (m_inv) {
        fftw_destroy_plan(m_inv);
    }
}

bool CMorletTransform::matches(double rate, double firstLatencyMs, long long nSamples,
                               const CSpctmSettings& s) const {
    if (!(rate == m_rate && firstLatencyMs == m_firstLatencyMs && nSamples == m_nSamples &&
          s.timeStepMs == m_stepMsSetting && s.freqsHz == m_freqs && s.zeroMean == m_zeroMean &&
          s.normalisation == m_normalisation)) {
        return false;
    }
    for (std::size_t j = 0; j < m_freqs.size(); ++j) {
        if (s.cyclesAt(j) != m_cycles[j]) {
            return false;
        }
    }
    return true;
}

void CMorletTransform::foldBand(int j, const Workspace& ws) const {
    const auto jj = static_cast<std::size_t>(j);
    const double* w = m_weights.data() + m_bandStart[jj];
    long long left = m_bandLen[jj];
    long long at = floorMod(m_bandLo[jj], m_n);
    long long idx = floorMod(m_bandLo[jj], m_m);
    // Runs of the band within one half of the spectrum that do not wrap around the fold
    // buffer. Bins above N/2 are the mirror of those below: a real epoch's spectrum is
    // conjugate symmetric.
    const long long half = m_n / 2;
    while (left > 0) {
        fftw_complex* z = ws.fold + idx;
        long long run = 0;
        if (at <= half) {
            run = std::min({left, m_m - idx, half + 1 - at});
            const fftw_complex* x = ws.spectrum + at;
            for (long long b = 0; b < run; ++b) {
                z[b][0] += x[b][0] * w[b];
                z[b][1] += x[b][1] * w[b];
            }
        } else {
            run = std::min({left, m_m - idx, m_n - at});
            const fftw_complex* x = ws.spectrum + (m_n - at);
            for (long long b = 0; b < run; ++b) {
                z[b][0] += x[-b][0] * w[b];
                z[b][1] -= x[-b][1] * w[b];
            }
        }
        w += run;
        left -= run;
        at = at + run == m_n ? 0 : at + run;
        idx = idx + run == m_m ? 0 : idx + run;
    }
}

void CMorletTransform::clearBand(int j, const Workspace& ws) const {
    const auto jj = static_cast<std::size_t>(j);
    const long long len = m_bandLen[jj];
    const long long idx = floorMod(m_bandLo[jj], m_m);
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
