// Renderer core: data binding, cursor stepping, range fits, pick, link and placeholders.
#include "GridDataSet.h"
#include "geometry/COneSpctm3DVtx.h"
#include "render/CMEGSpctm3DRndzq.h"

#include <climits>
#include <gtest/gtest.h>

namespace {

class RndCore : public ::testing::Test {
protected:
    void bind(long long nTime, long long nFreq) {
        data.buildUniform(nTime, nFreq, 1.0);
        ASSERT_EQ(rnd.setDrawMEGData(&data.data), 1);
    }
    GridDataSet data;
    CMEGSpctm3DRndzq rnd;
};

} // namespace

TEST_F(RndCore, DefaultsOfTheParameterBlock) {
    EXPECT_EQ(rnd.colorCount, 765);
    EXPECT_EQ(rnd.normalDetail, 1);
    EXPECT_EQ(rnd.standardMode, 1);
    EXPECT_EQ(rnd.polarity, 1);
    EXPECT_EQ(rnd.proLowerLimit, -2.0);
    EXPECT_EQ(rnd.stdUpper, 1.0);
    EXPECT_EQ(rnd.scaleFreq, 0.1);
    EXPECT_EQ(rnd.showSource, 0);
    EXPECT_EQ(rnd.dataSet, nullptr);
}

TEST_F(RndCore, WithoutDataEveryOperationFailsQuietly) {
    EXPECT_EQ(rnd.updateMEGData(), 0);
    EXPECT_EQ(rnd.setDrawMEGData(nullptr), 0);
    EXPECT_EQ(rnd.animateSpctm(1, 1, 0), 0);
    EXPECT_EQ(rnd.mouseMoveSpctm(1, 1, 0), 0);
    long long t = 7;
    long long f = 7;
    EXPECT_EQ(rnd.getSpctmOneSelect4MousePt(CPoint(3, 3), t, f, 0, 0), 0);
    EXPECT_EQ(t, 7);
    EXPECT_EQ(rnd.timePos, 0);
}

TEST_F(RndCore, AnimationScansTimeThenFrequencyAndWraps) {
    bind(10, 4);
    const long long expected[][2] = {{3, 0}, {6, 0}, {9, 0}, {0, 1}, {3, 1}};
    for (const auto& e : expected) {
        ASSERT_EQ(rnd.animateSpctm(3, 1, 0), 1);
        EXPECT_EQ(rnd.timePos, e[0]);
        EXPECT_EQ(rnd.freqPos, e[1]);
    }
    rnd.timePos = 9;
    rnd.freqPos = 3;
    EXPECT_EQ(rnd.animateSpctm(3, 1, 0), 1);
    EXPECT_EQ(rnd.timePos, 0);
    EXPECT_EQ(rnd.freqPos, 0);

    EXPECT_EQ(rnd.animateSpctm(0, 1, 0), 0);
    EXPECT_EQ(rnd.animateSpctm(1, -1, 0), 0);
    EXPECT_EQ(rnd.animateSpctm(1, 1, 1), 0); // no Control spectra
    rnd.timePos = 5;
    EXPECT_EQ(rnd.animateSpctm(LLONG_MAX, LLONG_MAX, 0), 1);
    EXPECT_EQ(rnd.timePos, 0);
    EXPECT_EQ(rnd.freqPos, 0);
}

TEST_F(RndCore, DragMovesAndClampsTheCursor) {
    bind(10, 4);
    EXPECT_EQ(rnd.mouseMoveSpctm(0, 0, 0), 0);
    rnd.timePos = 2;
    EXPECT_EQ(rnd.mouseMoveSpctm(-5, 0, 0), 1);
    EXPECT_EQ(rnd.timePos, 0);
    EXPECT_EQ(rnd.mouseMoveSpctm(3, 100, 0), 1);
    EXPECT_EQ(rnd.timePos, 3);
    EXPECT_EQ(rnd.freqPos, 3);
    EXPECT_EQ(rnd.mouseMoveSpctm(INT_MIN, INT_MAX, 0), 1);
    EXPECT_EQ(rnd.timePos, 0);
    EXPECT_EQ(rnd.freqPos, 3);
}

TEST_F(RndCore, WindowFitsOverMagnitudesAndMeans) {
    CSpctmChnlzq chnl;
    ASSERT_EQ(chnl.resize(2, 3), 1);
    double* g = chnl.getSpctmDataPtr(0, nullptr, nullptr);
    const double values[6] = {-3, 1, 2, 100, 100, 100};
    std::copy(values, values + 6, g);

    ASSERT_EQ(rnd.autoFitStdViewRng4CrntShowPro(&chnl, 0, -4, -1, 0, 5), 1);
    EXPECT_EQ(rnd.proLowerLimit, 1.0);
    EXPECT_EQ(rnd.proUpperLimit, 3.0);
    EXPECT_EQ(rnd.stdLower, 1.0);
    EXPECT_EQ(rnd.stdUpper, 2.0);

    rnd.polarity = 0;
    ASSERT_EQ(rnd.autoFitStdViewRng4CrntShowStd(&chnl, 0, 0, 0, 0, 2), 1);
    EXPECT_EQ(rnd.proLowerLimit, 2.0);
    rnd.polarity = 1;
    ASSERT_EQ(rnd.autoFitStdViewRng4CrntShowStd(&chnl, 0, 0, 0, 0, 2), 1);
    EXPECT_EQ(rnd.proLowerLimit, 0.0);

    // Windows that visit nothing change nothing.
    EXPECT_EQ(rnd.autoFitStdViewRng4CrntShowPro(&chnl, 0, 2, 0, 9, 2), 0);
    EXPECT_EQ(rnd.autoFitStdViewRng4CrntShowPro(&chnl, 0, 1, 0, 0, 2), 0);
    EXPECT_EQ(rnd.autoFitStdViewRng4CrntShowStd(&chnl, 0, 0, 2, 1, 1), 0);
    EXPECT_EQ(rnd.autoFitStdViewRng4CrntShowStd(nullptr, 0, 0, 0, 1, 1), 0);
    EXPECT_EQ(rnd.autoFitStdViewRng4CrntShowStd(&chnl, 7, 0, 0, 1, 1), 0);
    EXPECT_EQ(rnd.proLowerLimit, 0.0);
    EXPECT_EQ(rnd.stdUpper, 2.0);
}

TEST_F(RndCore, PickAndLinkUseTheLinkedPoint) {
    bind(4, 4);
    rnd.timePos = 5;
    rnd.freqPos = 6;
    EXPECT_EQ(rnd.linkContourmap2OneShow(), 1);
    EXPECT_EQ(rnd.linkTime, 5);
    EXPECT_EQ(rnd.linkFreq, 6);
    rnd.pickOriginX = 100;
    rnd.pickOriginY = 50;
    long long t = 0;
    long long f = 0;
    ASSERT_EQ(rnd.getSpctmOneSelect4MousePt(CPoint(100, 50), t, f, 0, 0), 1);
    EXPECT_EQ(t, 5);
    EXPECT_EQ(f, 6);
    rnd.scaleValue = 2.0;
    ASSERT_EQ(rnd.getSpctmOneSelect4MousePt(CPoint(107, 40), t, f, 0, 0), 1);
    EXPECT_EQ(t, 8);
    EXPECT_EQ(f, 11);
    rnd.scaleValue = 0.0;
    EXPECT_EQ(rnd.getSpctmOneSelect4MousePt(CPoint(107, 40), t, f, 0, 0), 0);
    EXPECT_EQ(t, 8);
}

TEST_F(RndCore, PlaceholdersDrawNothingAndAnswerAsDeclared) {
    bind(4, 4);
    COneSpctm3DVtx vtx;
    const CRect r;
    EXPECT_EQ(rnd.drawOneWaveColumn(&vtx, r, 0, 0), 1); // handed-in spectra are accumulated
    EXPECT_EQ(rnd.drawOneWaveColumn(nullptr, r, 0, 0), 0);
    EXPECT_EQ(rnd.drawOneWaveColumn(&vtx, r, 1, 0), 0);
    EXPECT_EQ(rnd.drawOneSpctmMeasures(&vtx, r, 0, 0), 1);
    EXPECT_EQ(rnd.drawOneSpctmSelectInfo(&vtx, r, 0, 0), 0);
    EXPECT_EQ(rnd.drawOneSpctmSelectInfo_Acum(&vtx, r, 0, 0), 1);
    EXPECT_EQ(rnd.drawOneSpctmSelectInfo_RTcw(&vtx, r, 0, 0), 1);
    EXPECT_EQ(rnd.drawOneWaveColumn_Acum(&vtx, r, 0, 0), 1);
    EXPECT_EQ(rnd.drawOneWaveColumn_RTcw(&vtx, r, 0, 0), 0);
    EXPECT_EQ(vtx.stripCount, 0);
}
