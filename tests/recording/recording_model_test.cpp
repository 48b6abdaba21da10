// The data model as the display library reaches it: fetches, failures, look-ups, selection,
// group grids and ranges.
#include "RecordingFixture.h"

#include <cmath>
#include <gtest/gtest.h>
#include <numbers>

using namespace recording_test;

namespace {

TEST(RecordingModel, FetchesFailQuietlyWithoutData) {
    CArrayMEDataSetzq empty;
    EXPECT_EQ(empty.getSessionData(-1), nullptr);
    CMEDataSetBuilder b(empty);
    ASSERT_TRUE(b.addSession());
    CMEGDatazq* s = empty.getSessionData(-1);
    ASSERT_NE(s, nullptr);
    EXPECT_EQ(s->getTrialzq(-1), nullptr);
    EXPECT_EQ(s->getCurrentTrialPt(), nullptr);
    EXPECT_EQ(s->computTrialSpctmAllPro(nullptr, true), 0);
    EXPECT_EQ(s->computTrialSpctm(nullptr, false, false, false, false, 0, 2), nullptr);
    double ms0 = 0.0, ms1 = 0.0;
    EXPECT_EQ(s->getTrialSpctmGivenTime2LatencyMsec(0, 1, ms0, ms1, 0, 2), 0);
    ASSERT_TRUE(b.addTrial(0));
    CMDTrialzq* t = s->getTrialzq(-1);
    EXPECT_EQ(t->getTotalChannel(), 0);
    EXPECT_EQ(t->getAllChannelPt(), nullptr);
    EXPECT_EQ(t->getChannel(-1), nullptr);
    EXPECT_EQ(t->getSpctmTrial(false, 0), nullptr);
    EXPECT_EQ(t->getSpctmRangeAllChann(nullptr, nullptr, nullptr, 1, 0, 2), 0);
    EXPECT_EQ(t->findSpctmChnl4Show(0, 2), -1);
}

TEST(RecordingModel, ContractFetchesAndLookups) {
    SmallRecording rec;
    rec.computeWith([](long long, double t) { return std::sin(2.0 * std::numbers::pi * 14.0 * t); },
                    coarse());
    CMDTrialzq& t = rec.trial();
    ASSERT_EQ(t.getTotalChannel(), kChannels);
    EXPECT_EQ(t.getAllChannelPt()[2], t.getChannel(2));
    EXPECT_EQ(t.setCurrentChannel(kChannels), 0);
    EXPECT_EQ(t.setCurrentChannel(3), 1);
    EXPECT_EQ(t.getCurntChnlIndx(), 3);
    CMDChannelzq* eeg = t.getChannel(-1);
    EXPECT_EQ(eeg->label, u"Cz");
    EXPECT_EQ(eeg->getChannelType(), CMDChannelzq::EegElectrode);
    EXPECT_NE(eeg->getEegElectrode(0), nullptr);
    EXPECT_EQ(eeg->getEegElectrode(1), nullptr);
    EXPECT_EQ(eeg->getMEGSensorzq(), nullptr);
    CMDChannelzq* meg = t.getChannel(0);
    double xyz[3] = {0, 0, 0};
    ASSERT_NE(meg->getMEGCoilzq(0), nullptr);
    EXPECT_EQ(meg->getMEGCoilzq(1), nullptr);
    EXPECT_EQ(meg->getMEGCoilzq(0)->getCoilPositionD(xyz), 1);
    EXPECT_DOUBLE_EQ(xyz[0], 0.01);
    EXPECT_EQ(meg->getEegElectrode(0), nullptr);

    EXPECT_EQ(meg->getSpctmChnl(false, 3), nullptr);
    long long nT = 0, nF = 0;
    EXPECT_EQ(meg->getSpctmChnl(false, 0)->getSpctmDataPtr(3, &nT, &nF), nullptr);
    EXPECT_NE(meg->getSpctmChnl(false, 0)->getSpctmDataPtr(2, &nT, nullptr), nullptr);
    CSpctmTrialzq* st = t.getSpctmTrial(false, 0);
    ASSERT_NE(st, nullptr);
    EXPECT_EQ(st->getTrialSpctmTimePt(), nT);
    EXPECT_EQ(nT, 31); // 300..900 ms every 20 ms
    EXPECT_EQ(st->getTrialSpctmFreqPt(), 4);
    EXPECT_EQ(t.getSpctmTrial(false, 1)->getTrialSpctmTimePt(), 31);
    EXPECT_EQ(t.getSpctmTrial(false, 2)->getTrialSpctmTimePt(), 31);
    EXPECT_EQ(st->getSumChnlSpctmData(3), nullptr);
    EXPECT_NE(st->isAccumSpctm(), 0);

    double a = 0.0, b = 0.0;
    ASSERT_EQ(rec.session().getTrialSpctmGivenTime2LatencyMsec(0, 40, a, b, 1, 2), 1);
    EXPECT_DOUBLE_EQ(a, -900.0);
    EXPECT_DOUBLE_EQ(b, -100.0); // beyond the grid the step continues
    ASSERT_EQ(st->getTrialSpctmGivenFreqID4Hz(-1, 5, a, b), 1);
    EXPECT_DOUBLE_EQ(a, 6.0);
    EXPECT_DOUBLE_EQ(b, 50.0);

    long long sel = 0, tf = -1, ff = -1;
    ASSERT_EQ(st->getTrialSpctmSelectTimeFreqBB(tf, ff), 1);
    EXPECT_EQ(ff, 1); // the 14 Hz row carries the largest power
    EXPECT_EQ(rec.builder.setSelectedPoint(0, 0, 0, 3, 2).ok, true);
    rec.session().getSelect(sel, sel);
    const long long stamp = sel;
    EXPECT_EQ(rec.session().computTrialSpctmAllPro(&t, true), 1);
    st->getTrialSpctmSelectTimeFreqBB(tf, ff);
    EXPECT_EQ(tf * 10 + ff, 32); // the host's point survives recomputation
    EXPECT_EQ(rec.session().computTrialSpctmAllPro(nullptr, false), 1);
    st->getTrialSpctmSelectTimeFreqBB(tf, ff);
    EXPECT_EQ(ff, 1);
    rec.session().getSelect(sel, sel);
    EXPECT_NE(sel, stamp);
}

TEST(RecordingModel, ReloadThenComputeGivesAFreshGroupRecord) {
    SmallRecording rec;
    rec.computeWith([](long long, double t) { return std::sin(2.0 * std::numbers::pi * 20.0 * t); },
                    coarse());
    EXPECT_EQ(rec.trial().reloadSpctmDataAll(), 1);
    EXPECT_EQ(rec.trial().getSpctmTrial(false, 2), nullptr);
    EXPECT_EQ(rec.trial().getChannel(0)->getSpctmChnl(false, 0), nullptr);
    CSumChnlSpctmDatazq* rec2 =
        rec.session().computTrialSpctm(&rec.trial(), false, false, false, false, 2, 1);
    ASSERT_NE(rec2, nullptr);
    EXPECT_EQ(rec2->nTime, 31);
    EXPECT_EQ(rec2->nFreq, 4);
}

// Handed-in spectra of one time point and two frequencies: MEG channels hold 1, -2, 4 (NaN on
// channel 0 at frequency 1), the EEG channel 1000 (infinity at frequency 1).
class GivenSpectra : public ::testing::Test {
protected:
    void SetUp() override {
        const double freqs[2] = {10.0, 20.0};
        ASSERT_TRUE(rec.builder.setSpectrumAxes(0, 0, 0, 1, 0.0, 10.0, freqs));
        const double v[kChannels] = {1.0, -2.0, 4.0, 1000.0};
        for (int c = 0; c < kChannels; ++c) {
            const double grid[2] = {v[c], c == 0 ? NAN : (c == 3 ? INFINITY : v[c])};
            ASSERT_TRUE(rec.builder.setChannelSpectrum(0, 0, c, 0, grid, grid, grid));
        }
        ASSERT_TRUE(rec.builder.computeSpectra(0));
    }
    SmallRecording rec;
};

TEST_F(GivenSpectra, GroupGridsSkipNonFiniteValues) {
    const CSumChnlSpctmDatazq* g = rec.trial().getSpctmTrial(false, 0)->getSumChnlSpctmData(2);
    ASSERT_EQ(g->nTime, 1);
    EXPECT_DOUBLE_EQ(g->pMin[0], -2.0);
    EXPECT_DOUBLE_EQ(g->pMax[0], 1000.0);
    EXPECT_DOUBLE_EQ(g->pMean[0], 1003.0 / 4.0);
    EXPECT_DOUBLE_EQ(g->pAvgPos[0], 1005.0 / 3.0);
    EXPECT_DOUBLE_EQ(g->pAvgNeg[0], -2.0);
    EXPECT_DOUBLE_EQ(g->pRms[0], std::sqrt((1.0 + 4.0 + 16.0 + 1e6) / 4.0));
    EXPECT_DOUBLE_EQ(g->pMean[1], 1.0); // only -2 and 4 are finite
    EXPECT_DOUBLE_EQ(g->pRms[1], std::sqrt(10.0));
    long long t = -1, f = -1;
    rec.trial().getSpctmTrial(false, 0)->getTrialSpctmSelectTimeFreqBB(t, f);
    EXPECT_EQ(f, 0);
    EXPECT_EQ(rec.trial().getSpctmTrial(false, 1), nullptr); // no Control spectra given
}

struct RangeCase {
    const char* name;
    int query; // 0 all channels, 1 one channel signed, 2 one channel magnitudes
    int flagOrShow;
    int channel;
    double lo, hi;
};

class Ranges : public GivenSpectra, public ::testing::WithParamInterface<RangeCase> {};

TEST_P(Ranges, SkipNonFiniteValues) {
    const RangeCase c = GetParam();
    CMDTrialzq& t = rec.trial();
    t.setCurrentChannel(c.channel);
    double lo = 0.0, hi = 0.0, mean = 0.0;
    const int ok =
        c.query == 0 ? t.getSpctmRangeAllChann(&lo, &hi, &mean, c.flagOrShow, 0, 2)
        : c.query == 1
            ? t.getSpctmRange4OneChnlShow(c.flagOrShow, -1, &lo, &hi, &mean, true, 0, 2)
            : t.getSpctmRange4OneChnlShowAbs(c.flagOrShow, -1, &lo, &hi, &mean, true, 0, 2);
    ASSERT_EQ(ok, 1);
    EXPECT_DOUBLE_EQ(lo, c.lo);
    EXPECT_DOUBLE_EQ(hi, c.hi);
}

INSTANTIATE_TEST_SUITE_P(Queries, Ranges,
                         ::testing::Values(RangeCase{"AllChannels", 0, 1, 0, -2.0, 1000.0},
                                           RangeCase{"SameTypeAsCurrentMeg", 0, 0, 1, -2.0, 4.0},
                                           RangeCase{"OwnGridSigned", 1, 0, 1, -2.0, -2.0},
                                           RangeCase{"OwnGridNaNSkipped", 1, 0, 0, 1.0, 1.0},
                                           RangeCase{"OwnGridMagnitudes", 2, 0, 1, 2.0, 2.0},
                                           RangeCase{"GroupMinSigned", 1, 2, 0, -2.0, -2.0},
                                           RangeCase{"AverageNegativeMagnitudes", 2, 5, 0, 2.0,
                                                     2.0}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(GivenSpectra, RangeQueriesRefuseNonsense) {
    CMDTrialzq& t = rec.trial();
    double lo = 7.0;
    EXPECT_EQ(t.getSpctmRange4OneChnlShow(7, -1, &lo, nullptr, nullptr, true, 0, 2), 0);
    EXPECT_EQ(t.getSpctmRange4OneChnlShow(0, 99, &lo, nullptr, nullptr, true, 0, 2), 0);
    EXPECT_EQ(t.getSpctmRangeAllChann(&lo, nullptr, nullptr, 1, 3, 2), 0);
    EXPECT_EQ(t.getSpctmRangeAllChann(&lo, nullptr, nullptr, 1, 1, 2), 0); // no Control data
    EXPECT_EQ(lo, 7.0);
}

TEST_F(GivenSpectra, FindSpctmChnl4ShowMovesToAChannelWithSpectrum) {
    const double freqs[1] = {10.0};
    ASSERT_TRUE(rec.builder.setSpectrumAxes(0, 0, 1, 1, 0.0, 10.0, freqs));
    const double one[1] = {5.0};
    ASSERT_TRUE(rec.builder.setChannelSpectrum(0, 0, 2, 1, one, one, one));
    rec.trial().setCurrentChannel(0);
    EXPECT_EQ(rec.trial().findSpctmChnl4Show(1, 2), 2);
    EXPECT_EQ(rec.trial().getCurntChnlIndx(), 2);
}

} // namespace
