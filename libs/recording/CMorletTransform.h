// Complex Morlet wavelet transform of equal-length epochs through FFTW (definition and
// normalisation in CSpctmSettings.h). Per epoch one real forward transform of the zero-padded
// epoch; per frequency the product with the wavelet's band is folded onto the decimated grid
// and brought back by one short inverse transform, which gives the coefficients at every
// step-th sample exactly.
#pragma once

#include "recording/CSpctmSettings.h"

#include <fftw3.h>
#include <memory>
#include <string>
#include <vector>

class CMorletTransform {
public:
    // A run of grid points: first grid index and count (0 when empty).
    struct Window {
        long long first = 0;
        long long count = 0;
    };

    // Buffers of one worker thread.
    class Workspace {
    public:
        explicit Workspace(const CMorletTransform& t);
        ~Workspace();
        Workspace(const Workspace&) = delete;
        Workspace& operator=(const Workspace&) = delete;
        bool ok() const { return in && spectrum && fold && out; }

        double* in = nullptr;
        fftw_complex* spectrum = nullptr;
        fftw_complex* fold = nullptr;
        fftw_complex* out = nullptr;
        std::vector<double> acc;
    };

    // Why these settings cannot be used at this sampling rate (0: rate not known yet); empty
    // when they can.
    static std::string check(const CSpctmSettings& settings, double samplingRateHz);
    // Null, with the reason in error, when the input is unusable or memory runs out.
    static std::unique_ptr<CMorletTransform> create(double samplingRateHz, double firstLatencyMs,
                                                    long long nSamples,
                                                    const CSpctmSettings& settings,
                                                    std::string& error);
    ~CMorletTransform();
    CMorletTransform(const CMorletTransform&) = delete;
    CMorletTransform& operator=(const CMorletTransform&) = delete;

    bool matches(double samplingRateHz, double firstLatencyMs, long long nSamples,
                 const CSpctmSettings& settings) const;

    long long getFftSize() const { return m_n; }
    long long getFoldSize() const { return m_m; }
    int getFreqCount() const { return static_cast<int>(m_freqs.size()); }
    const std::vector<double>& getFreqsHz() const { return m_freqs; }
    double getStepMs() const { return 1000.0 * static_cast<double>(m_k) / m_rate; }
    // Grid points whose latency lies in [startMs, endMs].
    Window window(double startMs, double endMs) const;
    double gridLatencyMs(long long gridIndex) const;

    // Epoch averages of one channel for each window: coefficients into re and im, power into
    // pw (grids of window count rows by getFreqCount() columns). Epochs holding a non-finite
    // sample are left out; returns the number of epochs used (0: the grids hold NaN). May throw
    // std::bad_alloc.
    long long transformChannel(const double* samples, long long nEpochs, Workspace& ws,
                               const Window* windows, double* const* re, double* const* im,
                               double* const* pw, int nWindows) const;
    // Only the FFTW transforms one epoch needs: the bound the computation is measured against.
    void bareTransforms(Workspace& ws) const;

private:
    CMorletTransform() = default;
    int build(const CSpctmSettings& settings, std::string& error);
    // Add band j of the spectrum times the wavelet into the fold buffer, wrapping around.
    void foldBand(int j, const Workspace& ws) const;
    // Zero what foldBand touched, so that the rest of the fold buffer stays zero.
    void clearBand(int j, const Workspace& ws) const;

    double m_rate = 0.0;
    double m_firstLatencyMs = 0.0;
    long long m_nSamples = 0;
    double m_cycles = 0.0;
    double m_stepMsSetting = 0.0;
    long long m_k = 1;   // decimation step in samples
    long long m_off = 0; // buffer index of epoch sample 0
    long long m_n = 0;   // forward transform size, a multiple of m_k
    long long m_m = 0;   // inverse transform size, m_n / m_k
    std::vector<double> m_freqs;
    std::vector<long long> m_bandLo, m_bandStart; // first bin and offset into m_weights
    std::vector<int> m_bandLen;
    std::vector<double> m_weights;
    fftw_plan m_fwd = nullptr;
    fftw_plan m_inv = nullptr;
};
