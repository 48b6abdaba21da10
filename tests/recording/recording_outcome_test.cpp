// What a computation reports about channels that end without usable spectra, and where the
// windows and frequencies meet the edges of the grid.
#include "RecordingFixture.h"

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cmath>
#include <gtest/gtest.h>
#include <numbers>
#include <thread>
#include <utility>

using namespace recording_test;

namespace {

CSpctmSettings twoFreqs() {
    CSpctmSettings s;
    s.freqsHz = {10.0, 20.0};
    s.timeStepMs = 20.0;
    return s;
}

double sine20(long long, double t) {
    return std::sin(2.0 * std::numbers::pi * 20.0 * t);
}

std::vector<CSpctmOutcome::Kind> kindsOf(const CMEDataSetBuilder::Result& r, int channel) {
    std::vector<CSpctmOutcome::Kind> kinds;
    for (const CSpctmOutcome& o : r.outcomes) {
        if (o.channel == channel) {
            kinds.push_back(o.kind);
        }
    }
    return kinds;
}

bool allNaN(CMDTrialzq& t, int channel, int spectralClass) {
    long long nT = 0, nF = 0;
    const double* g =
        t.getChannel(channel)->getSpctmChnl(false, spectralClass)->getSpctmDataPtr(2, &nT, &nF);
    return std::all_of(g, g + nT * nF, [](double v) { return std::isnan(v); });
}

// Channel 0 has no epochs, channel 1 only non-finite ones, channel 2 overflowing samples in
// every epoch, channel 3 one bad epoch of four.
TEST(Outcomes, NameTheChannelsWithoutUsableSpectraAndWhy) {
    SmallRecording rec;
    ASSERT_TRUE(rec.builder.setSpectrumSettings(0, twoFreqs()));
    auto nonFinite = makeEpochs(sine20);
    auto huge = makeEpochs([](long long, double t) { return 1e200 * sine20(0, t); });
    auto oneBad = makeEpochs(sine20);
    for (long long e = 0; e < kEpochs; ++e) {
        nonFinite[static_cast<std::size_t>(e * kSamples + 3)] = NAN;
    }
    oneBad[kSamples * 2 + 9] = -INFINITY;
    ASSERT_TRUE(rec.builder.setChannelEpochs(0, 0, 1, nonFinite, kEpochs, kRate, kFirstMs));
    ASSERT_TRUE(rec.builder.setChannelEpochs(0, 0, 2, huge, kEpochs, kRate, kFirstMs));
    ASSERT_TRUE(rec.builder.setChannelEpochs(0, 0, 3, oneBad, kEpochs, kRate, kFirstMs));
    ASSERT_TRUE(rec.builder.setWindows(0, 0, 300.0, 900.0, -900.0, -300.0));

    const auto r = rec.builder.computeSpectra(0);
    ASSERT_TRUE(r) << r.message;
    using K = CSpctmOutcome::Kind;
    EXPECT_EQ(kindsOf(r, 0), std::vector<K>{K::NoEpochs});
    EXPECT_EQ(kindsOf(r, 1), std::vector<K>{K::NoUsableEpoch});
    EXPECT_EQ(kindsOf(r, 2), std::vector<K>{K::NoUsableEpoch});
    EXPECT_EQ(kindsOf(r, 3), std::vector<K>{K::EpochsLeftOut});
    ASSERT_EQ(r.outcomes.size(), 4u);
    EXPECT_EQ(r.outcomes[0].label, "MEG1");
    EXPECT_EQ(r.outcomes[0].trial, 0);
    EXPECT_NE(r.outcomes[3].reason.find("1 of 4 epochs"), std::string::npos)
        << r.outcomes[3].reason;
    EXPECT_EQ(rec.trial().getChannel(0)->getSpctmChnl(false, 0), nullptr);
    for (int k = 0; k < 3; ++k) {
        EXPECT_TRUE(allNaN(rec.trial(), 1, k));
        EXPECT_TRUE(allNaN(rec.trial(), 2, k)); // NaN, never infinity
    }
    EXPECT_FALSE(allNaN(rec.trial(), 3, 0));
}

TEST(Outcomes, NameHandedInChannelsWithoutSpectrumOrFiniteValue) {
    SmallRecording rec;
    const double freqs[2] = {10.0, 20.0};
    ASSERT_TRUE(rec.builder.setSpectrumAxes(0, 0, 1, 1, 0.0, 10.0, freqs));
    const double good[2] = {1.0, 2.0};
    const double bad[2] = {NAN, INFINITY};
    ASSERT_TRUE(rec.builder.setChannelSpectrum(0, 0, 0, 1, good, good, good));
    ASSERT_TRUE(rec.builder.setChannelSpectrum(0, 0, 1, 1, good, good, good));
    ASSERT_TRUE(rec.builder.setChannelSpectrum(0, 0, 2, 1, good, good, bad));

    const auto r = rec.builder.computeSpectra(0);
    ASSERT_TRUE(r) << r.message;
    ASSERT_EQ(r.outcomes.size(), 2u);
    EXPECT_EQ(r.outcomes[0].channel, 2);
    EXPECT_EQ(r.outcomes[0].kind, CSpctmOutcome::NoFiniteValue);
    EXPECT_EQ(r.outcomes[0].spectralClass, 1);
    EXPECT_EQ(r.outcomes[1].channel, 3);
    EXPECT_EQ(r.outcomes[1].kind, CSpctmOutcome::NoSpectrum);
    EXPECT_EQ(r.outcomes[1].label, "Cz");
}

// Three of four channels have epochs, transformed on three threads: the host hears of each
// channel once, in order and never from two threads at a time; handed-in spectra need no
// transform and are not counted.
TEST(Progress, CountsEachTransformedChannelOneCallAtATime) {
    SmallRecording rec;
    CSpctmSettings s = twoFreqs();
    s.threads = 3;
    ASSERT_TRUE(rec.builder.setSpectrumSettings(0, s));
    const auto raw = makeEpochs(sine20);
    for (int c = 1; c < kChannels; ++c) {
        ASSERT_TRUE(rec.builder.setChannelEpochs(0, 0, c, raw, kEpochs, kRate, kFirstMs));
    }
    ASSERT_TRUE(rec.builder.setWindows(0, 0, 300.0, 900.0, -900.0, -300.0));
    std::vector<std::pair<long long, long long>> calls;
    std::atomic<int> inside{0};
    std::atomic<bool> overlapped{false};
    rec.builder.setProgressCallback([&](long long done, long long total) {
        if (++inside > 1)
            overlapped = true;
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
        calls.emplace_back(done, total);
        --inside;
    });
    ASSERT_TRUE(rec.builder.computeSpectra(0));
    EXPECT_FALSE(overlapped);
    EXPECT_EQ(calls, (std::vector<std::pair<long long, long long>>{{1, 3}, {2, 3}, {3, 3}}));

    SmallRecording handedIn;
    const double freqs[2] = {10.0, 20.0};
    const double values[2] = {1.0, 2.0};
    ASSERT_TRUE(handedIn.builder.setSpectrumAxes(0, 0, 0, 1, 0.0, 10.0, freqs));
    ASSERT_TRUE(handedIn.builder.setChannelSpectrum(0, 0, 0, 0, values, values, values));
    int told = 0;
    handedIn.builder.setProgressCallback([&](long long, long long) { ++told; });
    ASSERT_TRUE(handedIn.builder.computeSpectra(0));
    EXPECT_EQ(told, 0);
}

TEST(GridEdges, AnActiveWindowBetweenGridPointsStartsAtTheNextOne) {
    SmallRecording rec;
    ASSERT_TRUE(rec.builder.setSpectrumSettings(0, twoFreqs()));
    const auto raw = makeEpochs(sine20);
    for (int c = 0; c < kChannels; ++c) {
        ASSERT_TRUE(rec.builder.setChannelEpochs(0, 0, c, raw, kEpochs, kRate, kFirstMs));
    }
    ASSERT_TRUE(rec.builder.setWindows(0, 0, 310.0, 890.0, -900.0, -300.0));
    ASSERT_TRUE(rec.builder.computeSpectra(0));
    const CSpctmTrialzq* active = rec.trial().getSpctmTrial(false, 0);
    EXPECT_DOUBLE_EQ(active->getLatencyMs(0), 320.0);
    EXPECT_EQ(active->getTrialSpctmTimePt(), 29); // 320 .. 880 ms
    EXPECT_DOUBLE_EQ(rec.trial().getSpctmTrial(false, 1)->getLatencyMs(0), -900.0);
}

TEST(GridEdges, WindowsEndAtTheLastSampleAndFrequenciesBelowNyquist) {
    SmallRecording rec;
    const auto raw = makeEpochs(sine20);
    ASSERT_TRUE(rec.builder.setChannelEpochs(0, 0, 0, raw, kEpochs, kRate, kFirstMs));
    EXPECT_TRUE(rec.builder.setWindows(0, 0, 300.0, 996.0, -900.0, -300.0));
    EXPECT_FALSE(rec.builder.setWindows(0, 0, 300.0, 999.0, -900.0, -300.0));
    EXPECT_DOUBLE_EQ(rec.trial().getWindowEndMs(0), 996.0);

    CSpctmSettings s = twoFreqs();
    s.freqsHz = {10.0, 125.0};
    EXPECT_FALSE(rec.builder.setSpectrumSettings(0, s));
    s.freqsHz = {10.0, 124.9};
    EXPECT_TRUE(rec.builder.setSpectrumSettings(0, s));
    // Settings made before the sampling rate is known meet it with the epochs.
    ASSERT_TRUE(rec.builder.addTrial(0));
    CSpctmSettings atNyquist = twoFreqs();
    atNyquist.freqsHz = {10.0, 50.0};
    ASSERT_TRUE(rec.builder.setSpectrumSettings(0, atNyquist));
    EXPECT_FALSE(rec.builder.setChannelEpochs(0, 1, 0, raw, kEpochs, 100.0, kFirstMs));
    EXPECT_TRUE(rec.builder.setChannelEpochs(0, 1, 0, raw, kEpochs, 100.001, kFirstMs));
}

TEST(WholeEpoch, AnActiveWindowAloneGivesPlainPowerAndNoControlOrResult) {
    SmallRecording rec;
    ASSERT_TRUE(rec.builder.setSpectrumSettings(0, twoFreqs()));
    const auto raw = makeEpochs(sine20);
    for (int c = 0; c < kChannels; ++c) {
        ASSERT_TRUE(rec.builder.setChannelEpochs(0, 0, c, raw, kEpochs, kRate, kFirstMs));
    }
    EXPECT_FALSE(rec.builder.setActiveWindow(0, 0, kFirstMs, 1000.0)); // past the last sample
    EXPECT_FALSE(rec.trial().hasSpctmWindows());
    ASSERT_TRUE(rec.builder.setActiveWindow(0, 0, kFirstMs, 996.0));
    const auto r = rec.builder.computeSpectra(0);
    ASSERT_TRUE(r) << r.message;
    EXPECT_TRUE(r.outcomes.empty());
    const CSpctmTrialzq* active = rec.trial().getSpctmTrial(false, 0);
    EXPECT_EQ(active->getTrialSpctmTimePt(), 100); // -1000 .. 980 ms in steps of 20 ms
    EXPECT_DOUBLE_EQ(active->getLatencyMs(0), kFirstMs);
    EXPECT_EQ(rec.trial().getSpctmTrial(false, 1), nullptr);
    EXPECT_EQ(rec.trial().getSpctmTrial(false, 2), nullptr);
    EXPECT_EQ(rec.trial().getChannel(0)->getSpctmChnl(false, 2), nullptr);
    long long nT = 0, nF = 0;
    const double* pw =
        rec.trial().getChannel(0)->getSpctmChnl(false, 0)->getSpctmDataPtr(2, &nT, &nF);
    EXPECT_NEAR(pw[50 * nF + 1], 1.0, 1e-6); // 20 Hz at 0 ms
    EXPECT_GT(rec.trial().getSpctmTrial(false, 0)->getSumChnlSpctmData(2)->nTime, 0);
    // The display asking for the Control class finds it empty without a recomputation.
    long long index = 0, before = 0, after = 0;
    rec.session().getSelect(index, before);
    const auto* control =
        rec.session().computTrialSpctm(&rec.trial(), false, false, false, false, 1, 2);
    ASSERT_NE(control, nullptr);
    EXPECT_EQ(control->nTime, 0);
    rec.session().getSelect(index, after);
    EXPECT_EQ(after, before);

    // Windows with a Control window bring Control and Result back, and the Active window
    // alone takes them away again.
    ASSERT_TRUE(rec.builder.setWindows(0, 0, 300.0, 900.0, -900.0, -300.0));
    ASSERT_TRUE(rec.builder.computeSpectra(0));
    EXPECT_GT(rec.trial().getSpctmTrial(false, 2)->getTrialSpctmTimePt(), 0);
    ASSERT_TRUE(rec.builder.setActiveWindow(0, 0, -500.0, 500.0));
    ASSERT_TRUE(rec.builder.computeSpectra(0));
    EXPECT_EQ(rec.trial().getSpctmTrial(false, 1), nullptr);
    EXPECT_EQ(rec.trial().getChannel(0)->getSpctmChnl(false, 1), nullptr);
}

TEST(GridEdges, OneSampleEpochsStepsBeyondTheEpochAndWaveletsLongerThanIt) {
    SmallRecording rec;
    CSpctmSettings s;
    s.freqsHz = {2.0, 120.0};
    s.cyclesPerFreq = {30.0, 1.0}; // 2.4 s of wavelet against 12 ms of epoch
    s.timeStepMs = 1e6;
    ASSERT_TRUE(rec.builder.setSpectrumSettings(0, s));
    const std::vector<double> three = {1.0, -2.0, 0.5};
    ASSERT_TRUE(rec.builder.setChannelEpochs(0, 0, 0, three, 1, kRate, -4.0));
    ASSERT_TRUE(rec.builder.setActiveWindow(0, 0, -4.0, 4.0));
    ASSERT_TRUE(rec.builder.computeSpectra(0));
    const CSpctmTrialzq* active = rec.trial().getSpctmTrial(false, 0);
    ASSERT_NE(active, nullptr);
    EXPECT_EQ(active->getTrialSpctmTimePt(), 1); // the sample at 0 ms
    EXPECT_DOUBLE_EQ(active->getLatencyMs(0), 0.0);

    ASSERT_TRUE(rec.builder.addTrial(0));
    const std::vector<double> one = {3.0};
    ASSERT_TRUE(rec.builder.setChannelEpochs(0, 1, 0, one, 1, kRate, 0.0));
    ASSERT_TRUE(rec.builder.setActiveWindow(0, 1, 0.0, 0.0));
    ASSERT_TRUE(rec.builder.computeSpectra(0));
    long long nT = 0, nF = 0;
    const double* pw =
        rec.session().getTrialzq(1)->getChannel(0)->getSpctmChnl(false, 0)->getSpctmDataPtr(2, &nT,
                                                                                            &nF);
    ASSERT_EQ(nT * nF, 2);
    // A single sample's coefficient is 3 times the wavelet's centre value A (1 - 0).
    const double sigma = 1.0 / (2.0 * std::numbers::pi * 120.0);
    const double a = 2.0 / (kRate * sigma * std::sqrt(2.0 * std::numbers::pi));
    EXPECT_NEAR(pw[1], 9.0 * a * a, 1e-6 * 9.0 * a * a);
}

} // namespace
