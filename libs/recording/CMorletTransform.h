// Complex Morlet wavelet transform of equal-length epochs through FFTW (definition and
// normalisation in CSpctmSettings.h). Per epoch one real forward transform of the epoch,
// zero-padded for the longest wavelet of all frequencies, serves every frequency; per frequency
// the product with the wavelet's band (negative frequencies and aliases included) is folded
// onto the decimated grid and brought back by one short inverse transform, which gives the
// coefficients at every step-th sample exactly.
#pragma once

#include "CSpctmGrid.h"
#include "recording/CSpctmSettings.h"

#include <fftw3.h>
#include <memory>
#include <string>
#include <vector>

class CMorletTransform {
public:
    // Largest sample magnitude used: beyond it the power, squared for the group RMS, could leave
    // the range of a double.
    static constexpr double kMaxSample = 1e60;

    using Window = CSpctmGrid::Window;

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

    // Why valid settings give transforms too large for epochs of nSamples on this grid
    // (padding, band weights); empty when they fit. Only arithmetic, nothing is allocated.
    static std::string checkSize(const CSpctmGrid& grid, long long nSamples, double samplingRateHz,
                                 const CSpctmSettings& settings);
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
    const CSpctmGrid& getGrid() const { return m_grid; }

    // Epoch averages of one channel for each window: coefficients into re and im, power into
    // pw (grids of window count rows by getFreqCount() columns). Epochs holding a sample that is
    // not finite or beyond kMaxSample are left out; returns the number of epochs used (0: the
    // grids hold NaN). May throw std::bad_alloc.
    long long transformChannel(const double* samples, long long nEpochs, Workspace& ws,
                               const Window* windows, double* const* re, double* const* im,
                               double* const* pw, int nWindows) const;
    // Only the FFTW transforms one epoch needs: the bound the computation is measured against.
    void bareTransforms(Workspace& ws) const;

private:
    struct Sizes {
        long long m = 0; // inverse transform size
        long long n = 0; // forward transform size
    };

    CMorletTransform() = default;
    static std::string sizes(const CSpctmGrid& grid, long long nSamples, double samplingRateHz,
                             const CSpctmSettings& settings, Sizes& z);
    // Bins lo..hi of the wavelet band of frequency f, in bins from 0 Hz, unbounded: bins below
    // 0 or from N on stand for bin modulo N.
    static void band(double f, double cycles, bool zeroMean, double binHz, long long& lo,
                     long long& hi);
    // Factor of the band of frequency f (its Gaussian at f and, with zero mean, at 0 Hz).
    double bandScale(double f, double cycles, const CSpctmSettings& s) const;
    void addBandWeights(double f, double cycles, const CSpctmSettings& s, long long lo,
                        long long hi);
    int build(const CSpctmSettings& settings, std::string& error);
    // Add band j of the spectrum times the wavelet into the fold buffer, wrapping around.
    void foldBand(int j, const Workspace& ws) const;
    // Zero what foldBand touched, so that the rest of the fold buffer stays zero.
    void clearBand(int j, const Workspace& ws) const;

    double m_rate = 0.0;
    double m_firstLatencyMs = 0.0;
    long long m_nSamples = 0;
    double m_stepMsSetting = 0.0;
    bool m_zeroMean = false;
    CSpctmSettings::Normalisation m_normalisation = CSpctmSettings::SinusoidPower;
    CSpctmGrid m_grid;
    long long m_n = 0; // forward transform size, a multiple of the grid step
    long long m_m = 0; // inverse transform size, m_n / m_k
    std::vector<double> m_freqs;
    std::vector<double> m_cycles;                 // per frequency
    std::vector<long long> m_bandLo, m_bandStart; // first bin and offset into m_weights
    std::vector<long long> m_bandLen;
    std::vector<double> m_weights;
    fftw_plan m_fwd = nullptr;
    fftw_plan m_inv = nullptr;
};
