// The contour-map view on small hand-made layouts with known answers: the hull mesh (points,
// de-duplication, three vertices per facet, flat normals, colours), the fans (neighbours,
// capacity, chain order, radial normals), the colour fit, the keys
// and the paint path's rebuilds.
#include "LayoutDataSet.h"
#include "UiTest.h"
#include "render/CMEGSpctm3DRndzq.h"
#include "views/CStatContourMapSpctm3Dzq.h"

#include <array>
#include <cmath>
#include <vector>

namespace {

class ContourViewTest : public UiTest {
protected:
    void bind(bool eeg) {
        view.m_pRnd = &rnd;
        rnd.dataSet = &layout.data;
        // Absolute colours over 0..1: a value of 1 takes the last continuous entry.
        rnd.polarity = 0;
        view.m_chnType = eeg ? CStatD3DM::kChnEeg : CStatD3DM::kChnMeg;
        view.setCbfGetMEGData(&layout.data);
        view.updateMEGData();
    }
    std::array<float, 4> entryColour(int index) {
        const std::uint32_t c = rnd.getContinuousPalette(1024)[index];
        return {(c & 0xFF) / 255.0f, ((c >> 8) & 0xFF) / 255.0f, ((c >> 16) & 0xFF) / 255.0f, 1};
    }
    static std::array<float, 4> colourOf(const D3DVTX_PNCd& v) {
        return {v.clr[0], v.clr[1], v.clr[2], v.clr[3]};
    }

    LayoutDataSet layout;
    CMEGSpctm3DRndzq rnd;
    CStatContourMapSpctm3Dzq view;
};

TEST_F(ContourViewTest, HullMeshHasThreeFlatVerticesPerFacetInSensorColours) {
    // A duplicate of sensor 0, a channel without spectrum, then the octahedron's other five.
    std::vector<Pos> pos = kOctahedron;
    pos.insert(pos.begin() + 1, {kOctahedron[0], {0.0, 0.0, 0.0}});
    layout.build(pos, {1.0, 1.0, NAN, 0.0, 0.0, 0.0, 0.0, 0.0}, false);
    bind(false);
    ASSERT_EQ(view.initTriMegSnsHullVtx(nullptr), 1);
    const CMVBzq& vb = *view.m_hullMeg.m_pTriVtx;
    ASSERT_EQ(vb.m_nVtx, 24) << "eight facets of the octahedron";
    for (long long k = 0; k < vb.m_nVtx; ++k) {
        const D3DVTX_PNCd& v = vb.m_pVtx[k];
        const D3DVTX_PNCd& first = vb.m_pVtx[k - k % 3];
        EXPECT_FLOAT_EQ(v.pos[3], 1.0f);
        EXPECT_FLOAT_EQ(v.nml[3], 1.0f);
        for (int c = 0; c < 3; ++c)
            EXPECT_FLOAT_EQ(v.nml[c], first.nml[c]) << "facet normals are flat";
        // Outward: the normal points along the facet's corner positions.
        EXPECT_GT(v.nml[0] * v.pos[0] + v.nml[1] * v.pos[1] + v.nml[2] * v.pos[2], 0.0f);
        const bool hot = v.pos[0] > 0.05f;
        EXPECT_EQ(colourOf(v), entryColour(hot ? 1023 : 0)) << "vertex " << k;
    }
    EXPECT_EQ(view.m_hullMeg.m_pMEGData, layout.session());
    EXPECT_EQ(view.m_hullMeg.check4update(layout.session()), 1) << "the build is current";
    // Without contour colours every vertex takes the default surface colour.
    view.m_cntmpColorOn = 0;
    ASSERT_EQ(view.initTriMegSnsHullVtx(nullptr), 1);
    for (long long k = 0; k < vb.m_nVtx; ++k)
        EXPECT_FLOAT_EQ(vb.m_pVtx[k].clr[0], view.m_surfColor[0]);
    // With the contour-map switch off nothing is built.
    view.m_cntmpOn = 0;
    EXPECT_EQ(view.initTriMegSnsHullVtx(nullptr), 0);
}

TEST_F(ContourViewTest, FlatLayoutGivesAnEmptyMeshAndEegUsesItsOwnHull) {
    layout.build({{0, 0, 0.1}, {0.02, 0, 0.1}, {0, 0.02, 0.1}, {0.02, 0.02, 0.1}}, {1, 1, 1, 1},
                 true);
    bind(true);
    ASSERT_EQ(view.initTriEegEltHullVtx(nullptr), 1);
    EXPECT_EQ(view.m_hullEeg.m_pTriVtx->m_nVtx, 0);
    EXPECT_FALSE(view.m_hullMeg.m_pTriVtx);
}

TEST_F(ContourViewTest, FansKeepTheNearestNeighboursInChainOrder) {
    // A row of electrodes 1 cm apart, the third far away; a fifth beside the first.
    layout.build({{0, 0, 0.1}, {0.03, 0, 0.1}, {0.5, 0, 0.1}, {0.01, 0, 0.1}, {0.02, 0, 0.1}},
                 {1, 0, 0, 0, 0}, true);
    bind(true);
    view.m_fanEeg.m_nbrCapEeg = 3; // two neighbours per fan
    ASSERT_EQ(view.triEegEltFan11initx(nullptr), 1);
    ASSERT_EQ(view.initTriEegEltFanVtx(), 1);
    CSnsFanData4ContourMapx& fans = view.m_fanEeg;
    ASSERT_EQ(fans.m_nFan, 5);
    const CSnsFan4ContourMapx& first = *fans.getFanAt(0);
    EXPECT_EQ(first.m_chnIdx, 0);
    // Candidates 1 (3 cm), 3 (1 cm), 4 (2 cm): 1 is replaced by 4; the chain starts nearest.
    EXPECT_EQ(first.m_nbrChn, (std::vector<unsigned>{3, 4}));
    EXPECT_EQ(first.m_vtxEnd - first.m_vtxFirst, 3);
    const CSnsFan4ContourMapx& lone = *fans.getFanAt(2);
    EXPECT_EQ(lone.m_chnIdx, 2);
    EXPECT_EQ(lone.m_vtxEnd, lone.m_vtxFirst + 1) << "no neighbour within reach";
    const D3DVTX_PNCd* v = fans.m_pTriVtx->getBufPtr();
    EXPECT_EQ(fans.m_pTriVtx->m_nVtx, fans.getFanAt(4)->m_vtxEnd);
    const D3DVTX_PNCd& centre = v[first.m_vtxFirst];
    EXPECT_EQ(colourOf(centre), entryColour(1023));
    EXPECT_EQ(colourOf(v[first.m_vtxFirst + 1]), entryColour(0));
    const float len = std::hypot(centre.pos[0], centre.pos[1], centre.pos[2]);
    EXPECT_FLOAT_EQ(centre.nml[2], centre.pos[2] / len) << "radial normal";
    EXPECT_FLOAT_EQ(centre.nml[3], 1.0f / len);
}

TEST_F(ContourViewTest, MegReplacementWithoutMeasuredColourStopsTheBuild) {
    std::vector<Pos> small;
    for (const Pos& p : kOctahedron)
        small.push_back({p[0] / 5, p[1] / 5, p[2] / 5});
    // The third sensor has no finite measured value, so it has no measured-value colour.
    layout.build(small, {1.0, 1.0, INFINITY, 1.0, 1.0, 1.0}, false);
    bind(false);
    view.m_fanMeg.m_nbrCapMeg = 2; // one neighbour: a nearer candidate replaces it
    ASSERT_EQ(view.triMegSnsFan11initx(nullptr), 1);
    EXPECT_EQ(view.initTriMegSnsFanVtx(), 0);
    EXPECT_EQ(messages.LastText(), CString(u"Initialize Triangle error!"));
    EXPECT_EQ(view.m_fanMeg.m_pTriVtx->m_nVtx, 0);
    // Without contour colours no colour is looked up: every fan is built.
    view.m_cntmpColorOn = 0;
    messages.Clear();
    ASSERT_EQ(view.initTriMegSnsFanVtx(), 1);
    EXPECT_EQ(messages.Count(), 0);
    EXPECT_EQ(view.m_fanMeg.m_nFan, 6);
    EXPECT_EQ(view.m_fanMeg.m_pTriVtx->m_nVtx, 12) << "a centre and one neighbour per fan";
}

TEST_F(ContourViewTest, ChainFollowsNearestNeighbours) {
    // Around a centre: neighbours at 3 cm east, 1 cm north, 2.5 cm north-east.
    layout.build({{0, 0, 0.1}, {0.03, 0, 0.1}, {0, 0.01, 0.1}, {0.02, 0.015, 0.1}}, {1, 1, 1, 1},
                 true);
    bind(true);
    ASSERT_EQ(view.triEegEltFan11initx(nullptr), 1);
    ASSERT_EQ(view.initTriEegEltFanVtx(), 1);
    EXPECT_EQ(view.m_fanEeg.getFanAt(0)->m_nbrChn, (std::vector<unsigned>{2, 3, 1}));
}

TEST_F(ContourViewTest, ColourFitSpansTheShownSensorsWindowMeans) {
    layout.build(kOctahedron, {2.0, -3.0, 5.0, NAN, 1.0, 4.0}, false);
    bind(false);
    ASSERT_EQ(view.autofitColor4SnsWin(), 1);
    EXPECT_DOUBLE_EQ(rnd.stdLower, 1.0);
    EXPECT_DOUBLE_EQ(rnd.stdUpper, 5.0);
    view.m_spectralClass = 1; // no spectrum of this class
    EXPECT_EQ(view.autofitColor4SnsWin(), 0);
}

TEST_F(ContourViewTest, ArrowKeysMoveTheWindowInWindowMoveModeOnly) {
    layout.build(kOctahedron, std::vector<double>(6, 1.0), false);
    bind(false);
    MSG key{};
    key.message = WM_KEYDOWN;
    key.wParam = VK_RIGHT;
    view.m_operMode = CStatContourMapSpctm3Dzq::kModeWindowMove;
    for (int i = 0; i < 5; ++i)
        EXPECT_TRUE(view.PreTranslateMessage(&key));
    EXPECT_EQ(rnd.timePos, LayoutDataSet::kTime - 1) << "the start stays on the grid";
    EXPECT_EQ(view.getCntmpWindow().t1, LayoutDataSet::kTime - 1 + 30) << "the end is not clamped";
    // A step that lands exactly one past the last point stops on it, on both axes.
    rnd.timePos = LayoutDataSet::kTime - view.m_stepTime;
    EXPECT_TRUE(view.PreTranslateMessage(&key));
    EXPECT_EQ(rnd.timePos, LayoutDataSet::kTime - 1);
    key.wParam = VK_UP;
    rnd.freqPos = LayoutDataSet::kFreq - view.m_stepFreq;
    EXPECT_TRUE(view.PreTranslateMessage(&key));
    EXPECT_EQ(rnd.freqPos, LayoutDataSet::kFreq - 1);
    key.wParam = VK_DOWN;
    EXPECT_TRUE(view.PreTranslateMessage(&key));
    EXPECT_EQ(rnd.freqPos, 0);
    key.wParam = VK_UP;
    view.m_stepFreq = 3;
    EXPECT_TRUE(view.PreTranslateMessage(&key));
    EXPECT_EQ(rnd.freqPos, 3);
    key.wParam = VK_LEFT;
    view.m_stepTime = -5; // a negative step moves the other way, and no clamp applies
    EXPECT_TRUE(view.PreTranslateMessage(&key));
    EXPECT_EQ(rnd.timePos, LayoutDataSet::kTime + 4);
    view.m_operMode = CStatD3DM::kModeNormal;
    EXPECT_FALSE(view.PreTranslateMessage(&key)) << "no scene: ViewBaseLib's keys do nothing";
    EXPECT_EQ(rnd.timePos, LayoutDataSet::kTime + 4);
}

} // namespace
