// Small layouts for the contour-map tests: one session and trial, a channel per position (MEG
// sensors or EEG electrodes) whose real grid holds one value everywhere.
#pragma once

#include "recording/CMEDataSetBuilder.h"

#include <array>
#include <cmath>
#include <gtest/gtest.h>
#include <string>
#include <vector>

using Pos = std::array<double, 3>;

// NaN as a value leaves that channel without a spectrum. The imaginary grids hold the
// channels' imaginary values, 0 when none are given.
struct LayoutDataSet {
    CArrayMEDataSetzq data;
    static constexpr long long kTime = 20, kFreq = 10;

    // kinds: the MEG sensor kind of each channel (magnetometers when empty).
    void build(const std::vector<Pos>& pos, const std::vector<double>& value, bool eeg,
               const std::vector<double>& imag = {},
               const std::vector<CMEGSensor::Kind>& kinds = {}) {
        CMEDataSetBuilder b(data);
        int s = 0, t = 0;
        ASSERT_TRUE(b.addSession(&s));
        ASSERT_TRUE(b.addTrial(s, &t));
        for (size_t c = 0; c < pos.size(); ++c) {
            const double normal[3] = {0.0, 0.0, 1.0};
            if (eeg) {
                ASSERT_TRUE(b.addEegChannel(
                    s, u"", CEEGelectrodezq("E" + std::to_string(c), pos[c].data())));
            } else {
                CMEGSensorzq sensor("M" + std::to_string(c),
                                    kinds.empty() ? CMEGSensor::Magnetometer : kinds[c]);
                sensor.addCoil(CBscMagSnszq(pos[c].data(), normal));
                ASSERT_TRUE(b.addMegChannel(s, u"", sensor));
            }
        }
        std::vector<double> freqs;
        for (long long f = 0; f < kFreq; ++f)
            freqs.push_back(4.0 + 2.0 * static_cast<double>(f));
        ASSERT_TRUE(b.setSpectrumAxes(s, t, 0, kTime, 0.0, 10.0, freqs));
        for (size_t c = 0; c < pos.size(); ++c) {
            if (std::isnan(value[c]))
                continue;
            std::vector<double> re(kTime * kFreq, value[c]), pw(re.size());
            const std::vector<double> im(re.size(), c < imag.size() ? imag[c] : 0.0);
            for (size_t k = 0; k < pw.size(); ++k)
                pw[k] = re[k] * re[k];
            ASSERT_TRUE(b.setChannelSpectrum(s, t, static_cast<int>(c), 0, re, im, pw));
        }
        ASSERT_TRUE(b.computeSpectra(s));
    }
    CMEGDatazq* session() { return data.getSessionData(-1); }
};

inline const std::vector<Pos> kOctahedron = {{0.1, 0, 0},  {-0.1, 0, 0}, {0, 0.1, 0},
                                             {0, -0.1, 0}, {0, 0, 0.1},  {0, 0, -0.1}};
