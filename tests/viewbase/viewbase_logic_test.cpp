// Geometry holders, data binding and the sensor-sphere and colour fits, without windows.
#include "SyntheticLayouts.h"
#include "envelope/ConvexHull3Dzq.h"
#include "recording/CMEGDatazq.h"
#include "viewbase/CStatD3DMzq.h"

#include <cmath>
#include <gtest/gtest.h>

namespace {

CMEGDatazq* session(CArrayMEDataSetzq& data) {
    return data.getSessionData(-1);
}

TEST(SnsCnvxHull, Check4UpdateAsksForABuildAfterEachChange) {
    auto data = makeLayouts();
    ASSERT_TRUE(data);
    CMEGDatazq* s = session(*data);
    CSnsCnvxHull4Cntmp hull;
    EXPECT_EQ(hull.check4update(s), 0) << "no mesh yet";
    EXPECT_EQ(hull.check4update(nullptr), 0);
    ASSERT_TRUE(hull.checkInitTriVtx({}, std::vector<Tri>(5), nullptr, true));
    // What the build writes.
    const auto built = [&] {
        hull.m_pMEGData = s;
        s->getSelect(hull.m_select, hull.m_select);
        hull.markBuiltWindow();
    };
    built();
    EXPECT_EQ(hull.check4update(s), 1);
    EXPECT_EQ(hull.check4update(s), 1) << "nothing changed";
    s->markChanged();
    EXPECT_EQ(hull.check4update(s), 0) << "data changed";
    built();
    EXPECT_EQ(hull.check4update(s), 1);
    hull.setWindowKey(10, 0, 40, 30);
    EXPECT_EQ(hull.check4update(s), 0) << "contour window moved";
    EXPECT_EQ(hull.check4update(s), 0) << "still out of date until a build succeeds";
    built();
    EXPECT_EQ(hull.check4update(s), 1);
    CMEGDatazq other;
    EXPECT_EQ(hull.check4update(&other), 0) << "another session";
    hull.release();
    EXPECT_EQ(hull.check4update(s), 0);
}

TEST(SnsCnvxHull, HelmetLosesItsLidAndAClosedLayoutKeepsEverything) {
    // Points on a sphere: all around, then only the upper part (a helmet).
    std::vector<R3> sphere, helmet;
    for (int i = 0; i < 400; ++i) {
        const double z = 1.0 - 2.0 * (i + 0.5) / 400.0, r = std::sqrt(1.0 - z * z);
        const double a = 2.399963 * i;
        R3 p{static_cast<int>(i), static_cast<float>(r * std::cos(a)),
             static_cast<float>(r * std::sin(a)), static_cast<float>(z), i};
        sphere.push_back(p);
        if (z > -0.3)
            helmet.push_back(p);
    }
    ConvexHull3Dzq hull;
    std::vector<Tri> tris;
    ASSERT_TRUE(hull.NewtonApple_hull_3D(sphere, tris));
    CSnsCnvxHull4Cntmp holder;
    holder.findDrawRuns(sphere, tris);
    ASSERT_EQ(holder.m_drawRuns.size(), 1u);
    EXPECT_EQ(holder.m_drawRuns[0], std::make_pair(0LL, static_cast<long long>(tris.size())));
    ASSERT_TRUE(hull.NewtonApple_hull_3D(helmet, tris));
    long long drawn = 0, lidDrawn = 0;
    holder.findDrawRuns(helmet, tris);
    for (const auto& [first, end] : holder.m_drawRuns)
        for (long long i = first; i < end; ++i) {
            ++drawn;
            lidDrawn += tris[i].nz < -0.99f ? 1 : 0;
        }
    EXPECT_EQ(lidDrawn, 0) << "no facet of the flat bottom is drawn";
    EXPECT_GT(drawn, static_cast<long long>(tris.size()) * 9 / 10);
}

TEST(SnsCnvxHull, CheckInitTriVtxLeavesThreeVerticesPerTriangle) {
    CSnsCnvxHull4Cntmp hull;
    ASSERT_TRUE(hull.checkInitTriVtx({}, std::vector<Tri>(200), nullptr, true));
    ASSERT_TRUE(hull.m_pTriVtx);
    EXPECT_EQ(hull.m_pTriVtx->m_nVtxCapacity, 600);
    EXPECT_NE(hull.m_pTriVtx->getBufPtr(), nullptr);
    ASSERT_TRUE(hull.checkInitTriVtx({}, std::vector<Tri>(10), nullptr, false));
    EXPECT_EQ(hull.m_pTriVtx->m_nVtxCapacity, 600) << "growing only keeps the buffer";
    ASSERT_TRUE(hull.checkInitTriVtx({}, {}, nullptr, true));
    EXPECT_EQ(hull.m_pTriVtx->m_nVtxCapacity, 3) << "an empty mesh still has a holder";
}

TEST(SnsFanData, SizesRecordsAndVerticesByChannelType) {
    CSnsFanData4ContourMapx fans;
    EXPECT_EQ(fans.checkInitTriSnsVtx(2, nullptr, 10, true), 0) << "unknown channel type";
    EXPECT_EQ(fans.checkInitTriSnsVtx(0, nullptr, -1, true), 0);
    EXPECT_FALSE(fans.m_pTriVtx);
    ASSERT_TRUE(fans.checkInitTriSnsVtx(0, nullptr, 306, true));
    EXPECT_EQ(fans.getFanPlaces(), 306);
    EXPECT_EQ(fans.m_pTriVtx->m_nVtxCapacity, 306LL * fans.m_nbrCapMeg);
    ASSERT_TRUE(fans.checkInitTriSnsVtx(1, nullptr, 64, true));
    EXPECT_EQ(fans.m_pTriVtx->m_nVtxCapacity, 64LL * fans.m_nbrCapEeg);
    EXPECT_NE(fans.getFanAt(63), nullptr);
    EXPECT_EQ(fans.getFanAt(64), nullptr);
    EXPECT_EQ(fans.getFanAt(-1), nullptr);
}

struct SphereCase {
    const char* name;
    int chnType;
    double minR, maxR; // plausible head radii in metres
};

class SensorSphere : public ::testing::TestWithParam<SphereCase> {};

TEST_P(SensorSphere, FitsTheRealLayout) {
    auto data = makeLayouts();
    ASSERT_TRUE(data);
    CStatD3DMzq view;
    view.m_chnType = GetParam().chnType;
    view.setCbfGetMEGData(data.get());
    ASSERT_TRUE(view.updateMEGData());
    const int ok =
        GetParam().chnType == 0 ? view.findMegSnsSphere(nullptr) : view.findEegEltSphere(nullptr);
    ASSERT_EQ(ok, 1);
    EXPECT_GT(view.m_snsSphereFit, GetParam().minR);
    EXPECT_LT(view.m_snsSphereFit, GetParam().maxR);
    EXPECT_GE(view.m_snsSphereRadius, view.m_snsSphereFit) << "the limit holds every sensor";
    // The centre lies inside the head, below the top of the layout.
    for (int k = 0; k < 3; ++k) {
        EXPECT_LT(std::abs(view.m_snsSphereCenter[k]), 0.06f) << "axis " << k;
    }
    // Every sensor lies near the fitted sphere.
    CMDTrialzq* trial = view.m_pTrial;
    for (int i = 0; i < trial->getTotalChannel(); ++i) {
        double p[3];
        if (CStatD3DMzq::getSnsPositionD(trial->getChannel(i), view.m_chnType, p)) {
            const double d =
                std::hypot(p[0] - view.m_snsSphereCenter[0], p[1] - view.m_snsSphereCenter[1],
                           p[2] - view.m_snsSphereCenter[2]);
            EXPECT_NEAR(d, view.m_snsSphereFit, 0.04) << "channel " << i;
        }
    }
}

INSTANTIATE_TEST_SUITE_P(Layouts, SensorSphere,
                         ::testing::Values(SphereCase{"Neuromag306", 0, 0.08, 0.14},
                                           SphereCase{"BioSemi64", 1, 0.07, 0.12}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(SensorSphere, FailsQuietlyWithoutData) {
    CStatD3DMzq view;
    EXPECT_EQ(view.findMegSnsSphere(nullptr), 0);
    EXPECT_EQ(view.autofitSensorCenter(nullptr), 0);
    EXPECT_EQ(view.autofitColor2MeasureData(nullptr), 0);
    EXPECT_EQ(view.updateMEGData(), 0);
    EXPECT_EQ(view.checkSns3DRnd1(nullptr), 0);
    EXPECT_EQ(view.triMegSnsFan11initx(nullptr), 0);
    EXPECT_EQ(view.pick3DSnsr02(CPoint(1, 1)), 0);
    EXPECT_EQ(view.snsSrc3Dinit(nullptr), 0) << "no window";
    float c[4];
    EXPECT_EQ(view.getD3DColor4ChnVStd(nullptr, nullptr, 0, c), 0);
}

TEST(SensorData, VisibilityFitsAndFansFollowTheChannelType) {
    auto data = makeLayouts(true);
    ASSERT_TRUE(data);
    CStatD3DMzq view;
    view.setCbfGetMEGData(data.get());
    ASSERT_TRUE(view.checkGetNewMEGData());
    ASSERT_TRUE(view.updateMEGData());
    CMDTrialzq* trial = view.m_pTrial;
    int meg = 0, eeg = 0;
    for (int i = 0; i < trial->getTotalChannel(); ++i) {
        meg += view.checkMegEegSensorVisibility(trial->getChannel(i), i, 0);
        eeg += view.checkMegEegSensorVisibility(trial->getChannel(i), i, 1);
        EXPECT_EQ(view.checkMegEegSensorVisibility(trial->getChannel(i), i, -1),
                  view.checkMegEegSensorVisibility(trial->getChannel(i), i, 0));
    }
    EXPECT_EQ(meg, 12);
    EXPECT_EQ(eeg, 8);
    EXPECT_EQ(view.checkMegEegSensorVisibility(nullptr, 0, 0), 0);

    EXPECT_EQ(view.checkSns3DRnd1(view.m_pMEGData), 1);
    ASSERT_EQ(view.autofitSensorCenter(nullptr), 1);
    EXPECT_GT(view.m_snsExtent, 0.05f);
    ASSERT_EQ(view.autofitColor2MeasureData(nullptr), 1);
    EXPECT_LT(view.m_clrLower, view.m_clrUpper);
    float c[4] = {};
    ASSERT_EQ(view.getD3DColor4ChnVStd(nullptr, nullptr, 0, c), 1);
    EXPECT_FLOAT_EQ(c[3], 1.0f);
    EXPECT_EQ(view.getD3DColor4ChnVStd(nullptr, nullptr, trial->getTotalChannel(), c), 0);

    ASSERT_EQ(view.triEegEltFan11initx(nullptr), 1);
    EXPECT_EQ(view.m_fanEeg.getFanPlaces(), trial->getTotalChannel());
    EXPECT_EQ(view.m_fanEeg.m_nFan, 0);
    EXPECT_GT(view.m_snsSphereFit, 0.0f) << "the EEG sphere was fitted";
    view.cleanTriMegSnsVtx();
    EXPECT_FALSE(view.m_fanEeg.m_pTriVtx);
}

TEST(SensorColor, ScaleRunsBlueToRed) {
    float lo[4], hi[4], nan[4];
    CStatD3DMzq::valueRatio2Color(0.0, lo);
    CStatD3DMzq::valueRatio2Color(1.0, hi);
    CStatD3DMzq::valueRatio2Color(std::nan(""), nan);
    EXPECT_GT(lo[2], lo[0]);
    EXPECT_GT(hi[0], hi[2]);
    EXPECT_FLOAT_EQ(nan[2], lo[2]);
}

} // namespace
