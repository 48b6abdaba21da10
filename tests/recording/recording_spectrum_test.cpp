// The Morlet spectrum on analytic signals: peak frequency, power scaling, Result modes and
// non-finite samples.
#include "RecordingFixture.h"

#include <cmath>
#include <gtest/gtest.h>
#include <numbers>

using namespace recording_test;

namespace {

CSpctmSettings testSettings(CSpctmSettings::ResultMode mode = CSpctmSettings::Decibel) {
    CSpctmSettings s;
    s.freqsHz.clear();
    for (int f = 10; f <= 40; f += 2) {
        s.freqsHz.push_back(f);
    }
    s.timeStepMs = 20.0;
    s.resultMode = mode;
    return s;
}

double cosine(double amp, double hz, double t) {
    return amp * std::cos(2.0 * std::numbers::pi * hz * t);
}

// Value of component `comp` of channel 0 at the middle of the class's time axis.
double midValue(SmallRecording& rec, int cls, int comp, int f) {
    long long nT = 0, nF = 0;
    const double* g =
        rec.trial().getChannel(0)->getSpctmChnl(false, cls)->getSpctmDataPtr(comp, &nT, &nF);
    return g[(nT / 2) * nF + f];
}

struct SineCase {
    double amp;
    double hz;
};

class SineSpectrum : public ::testing::TestWithParam<SineCase> {};

TEST_P(SineSpectrum, PeaksAtItsFrequencyWithPowerAmplitudeSquared) {
    const SineCase c = GetParam();
    SmallRecording rec;
    rec.computeWith([&](long long, double t) { return cosine(c.amp, c.hz, t); }, testSettings());
    const int nF = rec.trial().getSpctmTrial(false, 0)->getTrialSpctmFreqPt();
    int best = 0;
    for (int f = 1; f < nF; ++f) {
        best = midValue(rec, 0, 2, f) > midValue(rec, 0, 2, best) ? f : best;
    }
    const int expected = static_cast<int>((c.hz - 10.0) / 2.0);
    EXPECT_EQ(best, expected);
    EXPECT_NEAR(midValue(rec, 0, 2, expected), c.amp * c.amp, 0.01 * c.amp * c.amp);
    // Phase-locked epochs: the averaged coefficient keeps the full amplitude.
    EXPECT_NEAR(std::hypot(midValue(rec, 0, 0, expected), midValue(rec, 0, 1, expected)), c.amp,
                0.01 * c.amp);
}

INSTANTIATE_TEST_SUITE_P(AmplitudesAndFrequencies, SineSpectrum,
                         ::testing::Values(SineCase{1.0, 12.0}, SineCase{1.0, 20.0},
                                           SineCase{3.0, 20.0}, SineCase{0.5, 36.0}),
                         [](const auto& info) {
                             std::ostringstream s;
                             s << "Amplitude" << info.param.amp << "At" << info.param.hz << "Hz";
                             std::string name = s.str();
                             for (char& ch : name)
                                 ch = ch == '.' ? 'p' : ch;
                             return name;
                         });

struct ModeCase {
    CSpctmSettings::ResultMode mode;
    double expected; // NaN: check against the definition on the class grids
};

class ResultMode : public ::testing::TestWithParam<ModeCase> {};

// Amplitude 1 in the Control window, 2 in the Active window: powers 1 and 4.
TEST_P(ResultMode, ContrastsActiveAgainstControl) {
    const ModeCase c = GetParam();
    SmallRecording rec;
    rec.computeWith([](long long, double t) { return cosine(t < 0.0 ? 1.0 : 2.0, 20.0, t); },
                    testSettings(c.mode));
    constexpr int f20 = 5;
    const double result = midValue(rec, 2, 2, f20);
    if (!std::isnan(c.expected)) {
        EXPECT_NEAR(result, c.expected, 0.02 * std::fabs(c.expected));
    } else {
        long long nC = 0, nF = 0;
        const double* ctl =
            rec.trial().getChannel(0)->getSpctmChnl(false, 1)->getSpctmDataPtr(2, &nC, &nF);
        double sum = 0.0, sumSq = 0.0;
        for (long long t = 0; t < nC; ++t) {
            sum += ctl[t * nF + f20];
            sumSq += ctl[t * nF + f20] * ctl[t * nF + f20];
        }
        const double mean = sum / nC;
        const double sd = std::sqrt((sumSq - sum * mean) / (nC - 1));
        EXPECT_NEAR(result, (midValue(rec, 0, 2, f20) - mean) / sd, 1e-6 * std::fabs(result));
    }
    // Real and imaginary parts are differences from the Control mean in every mode.
    EXPECT_NEAR(std::hypot(midValue(rec, 2, 0, f20), midValue(rec, 2, 1, f20)), 2.0, 0.1);
}

INSTANTIATE_TEST_SUITE_P(Modes, ResultMode,
                         ::testing::Values(ModeCase{CSpctmSettings::Difference, 3.0},
                                           ModeCase{CSpctmSettings::Ratio, 4.0},
                                           ModeCase{CSpctmSettings::Decibel,
                                                    10.0 * std::log10(4.0)},
                                           ModeCase{CSpctmSettings::PercentChange, 300.0},
                                           ModeCase{CSpctmSettings::ZScore, std::nan("")}),
                         [](const auto& info) {
                             const CSpctmSettings::ResultMode m = info.param.mode;
                             return std::string(m == CSpctmSettings::Difference ? "Difference"
                                                : m == CSpctmSettings::Ratio    ? "Ratio"
                                                : m == CSpctmSettings::Decibel  ? "Decibel"
                                                : m == CSpctmSettings::PercentChange
                                                    ? "PercentChange"
                                                : m == CSpctmSettings::ZScore ? "ZScore"
                                                                              : "OtherMode");
                         });

TEST(SpectrumNonFinite, BadEpochsAreLeftOutAndDoNotPoisonGroupsOrRanges) {
    SmallRecording rec;
    ASSERT_TRUE(rec.builder.setSpectrumSettings(0, testSettings()));
    const auto clean = makeEpochs([](long long, double t) { return cosine(1.0, 20.0, t); });
    auto oneBad = clean;
    oneBad[kSamples + 7] = std::nan("");
    auto allBad = clean;
    for (long long e = 0; e < kEpochs; ++e) {
        allBad[e * kSamples] = INFINITY;
    }
    const std::vector<double>* raw[kChannels] = {&oneBad, &allBad, &clean, &clean};
    for (int c = 0; c < kChannels; ++c) {
        ASSERT_TRUE(rec.builder.setChannelEpochs(0, 0, c, *raw[c], kEpochs, kRate, kFirstMs));
    }
    ASSERT_TRUE(rec.builder.setWindows(0, 0, 300.0, 900.0, -900.0, -300.0));
    ASSERT_TRUE(rec.builder.computeSpectra(0));

    EXPECT_NEAR(midValue(rec, 0, 2, 5), 1.0, 0.01);
    long long nT = 0, nF = 0;
    const double* bad =
        rec.trial().getChannel(1)->getSpctmChnl(false, 0)->getSpctmDataPtr(2, &nT, &nF);
    EXPECT_TRUE(std::isnan(bad[0]));
    const CSumChnlSpctmDatazq* sum = rec.trial().getSpctmTrial(false, 0)->getSumChnlSpctmData(2);
    for (long long i = 0; i < sum->nTime * sum->nFreq; ++i) {
        ASSERT_TRUE(std::isfinite(sum->pRms[i]) && std::isfinite(sum->pMean[i]));
    }
    double lo = 0.0, hi = 0.0;
    ASSERT_EQ(rec.trial().getSpctmRangeAllChann(&lo, &hi, nullptr, 1, 0, 2), 1);
    EXPECT_TRUE(std::isfinite(lo) && std::isfinite(hi) && hi > lo);
}

} // namespace
