// Synthetic data sets for the renderer tests: one session and trial whose MEG channels carry
// given real-component grids of the Active class (imaginary zero, power the square).
#pragma once

#include "recording/CMEDataSetBuilder.h"

#include <gtest/gtest.h>
#include <vector>

struct RndTestData {
    CArrayMEDataSetzq data;

    // One channel per grid, each nTime x nFreq values at t * nFreq + f.
    void build(long long nTime, long long nFreq, const std::vector<std::vector<double>>& grids) {
        CMEDataSetBuilder b(data);
        int s = 0;
        int t = 0;
        ASSERT_TRUE(b.addSession(&s));
        ASSERT_TRUE(b.addTrial(s, &t));
        for (size_t c = 0; c < grids.size(); ++c) {
            const double pos[3] = {0.01 * static_cast<double>(c), 0.0, 0.1};
            const double normal[3] = {0.0, 0.0, 1.0};
            CMEGSensorzq sensor("MEG" + std::to_string(c), CMEGSensor::Magnetometer);
            sensor.addCoil(CBscMagSnszq(pos, normal));
            ASSERT_TRUE(b.addMegChannel(s, u"", sensor));
        }
        std::vector<double> freqs;
        for (long long f = 0; f < nFreq; ++f)
            freqs.push_back(4.0 + 2.0 * static_cast<double>(f));
        ASSERT_TRUE(b.setSpectrumAxes(s, t, 0, nTime, 0.0, 10.0, freqs));
        for (size_t c = 0; c < grids.size(); ++c) {
            std::vector<double> imag(grids[c].size(), 0.0);
            std::vector<double> power(grids[c].size());
            for (size_t k = 0; k < power.size(); ++k)
                power[k] = grids[c][k] * grids[c][k];
            ASSERT_TRUE(b.setChannelSpectrum(s, t, static_cast<int>(c), 0, grids[c], imag, power));
        }
        ASSERT_TRUE(b.computeSpectra(s));
    }

    // One channel whose grid holds v everywhere.
    void buildUniform(long long nTime, long long nFreq, double v) {
        build(nTime, nFreq, {std::vector<double>(static_cast<size_t>(nTime * nFreq), v)});
    }
};
