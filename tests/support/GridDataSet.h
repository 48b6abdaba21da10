// Small data sets for the tests of the renderer, views, dialogs and facade: one session and
// trial whose MEG channels carry given grids of one spectral class.
#pragma once

#include "recording/CMEDataSetBuilder.h"

#include <gtest/gtest.h>
#include <string>
#include <vector>

struct GridDataSet {
    CArrayMEDataSetzq data;

    // One MEG channel per grid (nTime x nFreq values at t * nFreq + f, the real component;
    // power is its square); an empty grid leaves that channel without a spectrum.
    void build(long long nTime, long long nFreq, const std::vector<std::vector<double>>& grids,
               int spectralClass = 0) {
        CMEDataSetBuilder b(data);
        int s = 0, t = 0;
        ASSERT_TRUE(b.addSession(&s));
        ASSERT_TRUE(b.addTrial(s, &t));
        for (size_t c = 0; c < grids.size(); ++c) {
            const double pos[3] = {0.01 * static_cast<double>(c), 0.0, 0.1};
            const double normal[3] = {0.0, 0.0, 1.0};
            CMEGSensorzq sensor("MEG" + std::to_string(c), CMEGSensor::Magnetometer);
            sensor.addCoil(CBscMagSnszq(pos, normal));
            ASSERT_TRUE(b.addMegChannel(s, u"", sensor));
        }
        setSpectra(s, t, nTime, nFreq, grids, spectralClass);
    }

    // Axes of one class of trial t of session s (nTime points 10 ms apart from 0 ms; 4 Hz,
    // 6 Hz, ...) and the channels' grids, spectra computed: also how a host changes the axes of
    // a trial already shown.
    void setSpectra(int s, int t, long long nTime, long long nFreq,
                    const std::vector<std::vector<double>>& grids, int spectralClass = 0) {
        CMEDataSetBuilder b(data);
        std::vector<double> freqs;
        for (long long f = 0; f < nFreq; ++f)
            freqs.push_back(4.0 + 2.0 * static_cast<double>(f));
        ASSERT_TRUE(b.setSpectrumAxes(s, t, spectralClass, nTime, 0.0, 10.0, freqs));
        for (size_t c = 0; c < grids.size(); ++c) {
            if (grids[c].empty())
                continue;
            std::vector<double> imag(grids[c].size(), 0.0), power(grids[c].size());
            for (size_t k = 0; k < power.size(); ++k)
                power[k] = grids[c][k] * grids[c][k];
            ASSERT_TRUE(b.setChannelSpectrum(s, t, static_cast<int>(c), spectralClass, grids[c],
                                             imag, power));
        }
        ASSERT_TRUE(b.computeSpectra(s));
    }

    // One channel whose grid holds v everywhere.
    void buildUniform(long long nTime, long long nFreq, double v) {
        build(nTime, nFreq, {std::vector<double>(static_cast<size_t>(nTime * nFreq), v)});
    }

    // A grid rising along time from lo to hi (the same at every frequency).
    static std::vector<double> ramp(long long nTime, long long nFreq, double lo, double hi) {
        std::vector<double> g(static_cast<size_t>(nTime * nFreq));
        for (long long t = 0; t < nTime; ++t)
            for (long long f = 0; f < nFreq; ++f)
                g[static_cast<size_t>(t * nFreq + f)] =
                    lo + (hi - lo) * static_cast<double>(t) / static_cast<double>(nTime - 1);
        return g;
    }

    CMDTrialzq* trial() { return data.getSessionData(-1)->getTrialzq(-1); }
};
