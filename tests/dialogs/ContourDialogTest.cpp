// The contour-map window driven as a user drives it, through the facade: titles and channel
// types, the animation and its timer, window-move drags and keys, typed values, the component
// box, the command channel, the Active map's refresh, and the paint path's rebuilds.
#include "LayoutDataSet.h"
#include "UiTest.h"
#include "dialogs/CDlgContourMapSpctm3Dzq.h"
#include "dialogs/CDlgRnd3DSpctmOneChnl.h"
#include "dialogs/CDlgSpctmRnd3DStdSet.h"
#include "dialogs/res/resource.h"
#include "engine/CM3Dzq.h"
#include "facade/CVelmoraFacezq.h"
#include "render/CMEGSpctm3DRndzq.h"
#include "synthetic/CSyntheticRecording.h"

#include <array>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>

namespace {

int noCallback(int, int) {
    return 0;
}

// Width and height of a PNG file from its header; 0 x 0 when it cannot be read.
std::pair<int, int> pngSize(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    unsigned char h[24] = {};
    if (!in.read(reinterpret_cast<char*>(h), sizeof h))
        return {0, 0};
    const auto be = [&](int at) {
        return (h[at] << 24) | (h[at + 1] << 16) | (h[at + 2] << 8) | h[at + 3];
    };
    return {be(16), be(20)};
}

class ContourDialogTest : public UiTest {
protected:
    void SetUp() override {
        UiTest::SetUp();
        if (IsSkipped())
            return;
        // 25 time points: the sweep of the edge case (steps of 10).
        const auto g = GridDataSet::ramp(25, 12, 1.0, 3.0);
        grid.build(25, 12, {g, g, g});
    }
    CDlgContourMapSpctm3Dzq* showMegAct() {
        EXPECT_EQ(face.show3DContMapSpctmMegAct(&grid.data, noCallback, nullptr), 1);
        return face.m_pDlgContourAct;
    }
    // The Active MEG map of layout, shown and painted once; null without a 3D device.
    CDlgContourMapSpctm3Dzq* paintLayout(LayoutDataSet& layout) {
        EXPECT_EQ(face.show3DContMapSpctmMegAct(&layout.data, noCallback, nullptr), 1);
        CDlgContourMapSpctm3Dzq* dlg = face.m_pDlgContourAct;
        CWinTestDriver::ProcessEvents();
        dlg->m_view.UpdateWindow();
        return dlg->m_view.m_pM3D ? dlg : nullptr;
    }
    void click(CDlgContourMapSpctm3Dzq* dlg, int id) { CWinTestDriver::Click(dlg->GetDlgItem(id)); }
    CString text(CWnd* wnd, int id) {
        CString s;
        wnd->GetDlgItem(id)->GetWindowText(s);
        return s;
    }

    GridDataSet grid;
    CVelmoraFacezq face;
};

TEST_F(ContourDialogTest, ShowsSetTitlesTypesAndTheHiddenSingleChannelWindow) {
    ASSERT_EQ(face.show3DContMapSpctmMegCtl(&grid.data, noCallback, nullptr), 1);
    CDlgContourMapSpctm3Dzq* ctl = face.m_pDlgContourCtl;
    ASSERT_TRUE(ctl);
    CString title;
    ctl->GetWindowText(title);
    EXPECT_EQ(title, CString(u"Spectral 3D Contourmap: Control time window"));
    EXPECT_EQ(ctl->m_view.m_chnType, CStatD3DM::kChnMeg);
    EXPECT_EQ(ctl->m_view.m_pRnd, face.m_pRnd);
    EXPECT_EQ(ctl->m_pFace, &face);
    ASSERT_TRUE(face.m_pDlgOneChnlCtl);
    EXPECT_FALSE(face.m_pDlgOneChnlCtl->IsWindowVisible());
    EXPECT_EQ(face.m_pDlgOneChnlCtl->m_spectralClass, 1);
    EXPECT_EQ(face.m_pDlgOneChnlCtl->m_view.m_spectralClass, 1);
    CDlgContourMapSpctm3Dzq* act = showMegAct();
    act->GetWindowText(title);
    EXPECT_EQ(title, CString(u"Spectral 3D  Contourmap: Active  time window"));
    ASSERT_EQ(face.show3DContMapSpctmEegAct(&grid.data, noCallback, nullptr), 1);
    EXPECT_EQ(face.m_pDlgContourAct, act) << "MEG and EEG share the window of a class";
    EXPECT_EQ(act->m_view.m_chnType, CStatD3DM::kChnEeg);
    // The command channel reaches every contour and single-channel window.
    EXPECT_EQ(face.sendMessageX(4, 2), 1);
    for (CDlgContourMapSpctm3Dzq* dlg : {act, ctl}) {
        EXPECT_EQ(dlg->m_view.m_component, 2);
        EXPECT_EQ(dlg->m_cmbComponent.GetCurSel(), 2);
    }
    EXPECT_EQ(face.m_pDlgOneChnlCtl->m_component, 2);
}

TEST_F(ContourDialogTest, AnimationSweepsRowByRowAndStopsOnABadStep) {
    CDlgContourMapSpctm3Dzq* dlg = showMegAct();
    CMEGSpctm3DRndzq& rnd = *face.m_pRnd;
    click(dlg, IDC_CM_ANIMATE);
    ASSERT_TRUE(CWinTestDriver::HasTimer(dlg, 100));
    EXPECT_EQ(CWinTestDriver::TimerPeriod(dlg, 100), 100u);
    EXPECT_EQ(text(dlg, IDC_CM_ANIMATE), CString(u"Stop"));
    const long long visits[][2] = {{10, 0}, {20, 0}, {0, 10}, {10, 10}, {20, 10}, {0, 0}};
    for (const auto& v : visits) {
        ASSERT_TRUE(CWinTestDriver::FireTimer(dlg, 100));
        EXPECT_EQ(rnd.timePos, v[0]);
        EXPECT_EQ(rnd.freqPos, v[1]);
    }
    EXPECT_EQ(text(dlg, IDC_CM_ANIMATE), CString(u"Stop..."));
    // A step of 0 stops the animation at the next tick.
    CWinTestDriver::TypeText(dlg->GetDlgItem(IDC_CM_STEPX), u"0");
    EXPECT_EQ(dlg->m_view.m_stepTime, 0);
    ASSERT_TRUE(CWinTestDriver::FireTimer(dlg, 100));
    EXPECT_FALSE(CWinTestDriver::HasTimer(dlg, 100));
    EXPECT_EQ(text(dlg, IDC_CM_ANIMATE), CString(u"Start"));
    EXPECT_EQ(dlg->m_running, 0);
    // "Speed" of 0 runs at the fastest period.
    CWinTestDriver::TypeText(dlg->GetDlgItem(IDC_CM_SPEED), u"0");
    click(dlg, IDC_CM_ANIMATE);
    EXPECT_EQ(CWinTestDriver::TimerPeriod(dlg, 100), 10u);
    click(dlg, IDC_CM_ANIMATE);
    EXPECT_FALSE(CWinTestDriver::HasTimer(dlg, 100));
}

// Steps that land exactly on the last point of an axis keep it; one more step passes the end
// and wraps: on a 9-point time axis stepped by 3 and a 7-point frequency axis stepped by 2.
TEST_F(ContourDialogTest, AnimationKeepsTheLastPointAndWrapsPastTheEnd) {
    GridDataSet small;
    small.build(9, 7, {GridDataSet::ramp(9, 7, 1.0, 3.0)});
    ASSERT_EQ(face.show3DContMapSpctmMegAct(&small.data, noCallback, nullptr), 1);
    CDlgContourMapSpctm3Dzq* dlg = face.m_pDlgContourAct;
    CMEGSpctm3DRndzq& rnd = *face.m_pRnd;
    CWinTestDriver::TypeText(dlg->GetDlgItem(IDC_CM_STEPX), u"3");
    CWinTestDriver::TypeText(dlg->GetDlgItem(IDC_CM_STEPY), u"2");
    click(dlg, IDC_CM_ANIMATE);
    rnd.timePos = 2;
    rnd.freqPos = 0;
    const long long visits[][2] = {{5, 0}, {8, 0}, {0, 2}, {3, 2}, {6, 2}, {0, 4},
                                   {3, 4}, {6, 4}, {0, 6}, {3, 6}, {6, 6}, {0, 0}};
    for (const auto& v : visits) {
        ASSERT_TRUE(CWinTestDriver::FireTimer(dlg, 100));
        EXPECT_EQ(rnd.timePos, v[0]);
        EXPECT_EQ(rnd.freqPos, v[1]);
    }
    // A frequency step that ends exactly one past the last row wraps too.
    rnd.timePos = 6;
    rnd.freqPos = 5;
    ASSERT_TRUE(CWinTestDriver::FireTimer(dlg, 100));
    EXPECT_EQ(rnd.timePos, 0);
    EXPECT_EQ(rnd.freqPos, 0);
    EXPECT_EQ(text(dlg, IDC_CM_ANIMATE), CString(u"Stop..."));
}

TEST_F(ContourDialogTest, WindowMoveModeDragsAndKeysMoveTheWindow) {
    CDlgContourMapSpctm3Dzq* dlg = showMegAct();
    CMEGSpctm3DRndzq& rnd = *face.m_pRnd;
    click(dlg, IDC_CM_MOVE);
    EXPECT_EQ(dlg->m_view.m_operMode, 902);
    CRect rc;
    dlg->m_view.GetWindowRect(&rc);
    dlg->ScreenToClient(&rc);
    const CPoint mid = rc.CenterPoint();
    CWinTestDriver::Drag(dlg, mid, CPoint(mid.x + 1, mid.y), 1);
    EXPECT_EQ(rnd.timePos, 0) << "one pixel moves nothing";
    CWinTestDriver::Drag(dlg, mid, CPoint(mid.x + 2, mid.y - 6), 1);
    EXPECT_EQ(rnd.timePos, 1);
    EXPECT_EQ(rnd.freqPos, 3) << "upward raises the frequency";
    // Keys go to the window, not to the edit that has the focus.
    CWnd* width = dlg->GetDlgItem(IDC_CM_WINWIDTH);
    CWinTestDriver::KeyPress(width, VK_RIGHT);
    EXPECT_EQ(rnd.timePos, 11);
    CWinTestDriver::PickMenuItem(dlg, ID_CM_NORMAL);
    EXPECT_EQ(dlg->m_view.m_operMode, 300);
    CWinTestDriver::TypeText(width, u"12");
    EXPECT_EQ(dlg->m_view.m_winWidth, 12);
    EXPECT_EQ(rnd.timePos, 11);
}

TEST_F(ContourDialogTest, TypedValuesControlsAndMenusReachTheView) {
    CDlgContourMapSpctm3Dzq* dlg = showMegAct();
    CStatContourMapSpctm3Dzq& view = dlg->m_view;
    CWinTestDriver::TypeText(dlg->GetDlgItem(IDC_CM_WINHEIGHT), u"-4");
    EXPECT_EQ(view.m_winHeight, -4) << "taken as typed";
    CWinTestDriver::TypeText(dlg->GetDlgItem(IDC_CM_WINHEIGHT), u"abc");
    EXPECT_EQ(view.m_winHeight, -4);
    EXPECT_GT(messages.Count(), 0) << "the framework asks for a number";
    CWinTestDriver::SelectComboItem(&dlg->m_cmbComponent, 1);
    EXPECT_EQ(dlg->m_component, 1);
    EXPECT_EQ(view.m_component, 1);
    CWinTestDriver::PickMenuItem(dlg, ID_CM_PICKSENSOR);
    EXPECT_EQ(view.m_operMode, 403);
    EXPECT_EQ(view.m_markOn, 1);
    CWinTestDriver::Click(dlg->GetDlgItem(IDC_CM_APPLY));
    EXPECT_EQ(view.m_markOn, 0) << "MEG: Apply takes the unchecked \"Mark Select\"";
    CWinTestDriver::Click(dlg->GetDlgItem(IDC_CM_SENSORS));
    EXPECT_EQ(view.m_pMEGData->megSnsShown, 0);
    CWinTestDriver::PickMenuItem(dlg, ID_CM_SHAPE_BALL);
    EXPECT_EQ(view.m_snsShapeSel, 1);
    // Settings opens the shared parameters window with this window's class and component.
    CWinTestDriver::Click(dlg->GetDlgItem(IDC_CM_SETTINGS));
    ASSERT_TRUE(face.m_pDlgStdSet);
    EXPECT_TRUE(face.m_pDlgStdSet->IsWindowVisible());
    EXPECT_EQ(face.m_pDlgStdSet->m_component, 1);
}

// The first "Settings" fits the parameters window to what the calling window shows: its
// component and its class, not those the parameters window had before.
TEST_F(ContourDialogTest, FirstSettingsFitsToTheWindowsClassAndComponent) {
    // Active: real 1..6, imaginary 100..150; Control: real 20..30.
    GridDataSet two;
    CMEDataSetBuilder b(two.data);
    int s = 0, t = 0;
    const double pos[3] = {0.0, 0.0, 0.1}, normal[3] = {0.0, 0.0, 1.0};
    CMEGSensorzq sensor("MEG0", CMEGSensor::Magnetometer);
    sensor.addCoil(CBscMagSnszq(pos, normal));
    ASSERT_TRUE(b.addSession(&s) && b.addTrial(s, &t) && b.addMegChannel(s, u"", sensor));
    const auto set = [&](int spectralClass, double re0, double re1, double im0, double im1) {
        const std::vector<double> freqs = {4.0, 6.0};
        ASSERT_TRUE(b.setSpectrumAxes(s, t, spectralClass, 6, 0.0, 10.0, freqs));
        const std::vector<double> re = GridDataSet::ramp(6, 2, re0, re1),
                                  im = GridDataSet::ramp(6, 2, im0, im1);
        ASSERT_TRUE(b.setChannelSpectrum(s, t, 0, spectralClass, re, im, re));
    };
    set(0, 1.0, 6.0, 100.0, 150.0);
    set(1, 20.0, 30.0, 0.0, 0.0);
    ASSERT_TRUE(b.computeSpectra(s));
    struct Case {
        int spectralClass, component;
        double lo, hi;
    };
    for (const Case c : {Case{0, 1, 100.0, 150.0}, Case{1, 0, 20.0, 30.0}}) {
        CVelmoraFacezq own;
        ASSERT_EQ(c.spectralClass ? own.show3DContMapSpctmMegCtl(&two.data, noCallback, nullptr)
                                  : own.show3DContMapSpctmMegAct(&two.data, noCallback, nullptr),
                  1);
        CDlgContourMapSpctm3Dzq* dlg =
            c.spectralClass ? own.m_pDlgContourCtl : own.m_pDlgContourAct;
        CWinTestDriver::SelectComboItem(&dlg->m_cmbComponent, c.component);
        CWinTestDriver::Click(dlg->GetDlgItem(IDC_CM_SETTINGS));
        CDlgSpctmRnd3DStdSet* set = own.m_pDlgStdSet;
        ASSERT_TRUE(set);
        EXPECT_EQ(set->m_spectralClass, c.spectralClass);
        EXPECT_EQ(set->m_component, c.component);
        EXPECT_DOUBLE_EQ(set->m_trialMin, c.lo) << "class " << c.spectralClass;
        EXPECT_DOUBLE_EQ(set->m_trialMax, c.hi) << "class " << c.spectralClass;
        EXPECT_DOUBLE_EQ(own.m_pRnd->stdLower, c.lo);
        EXPECT_DOUBLE_EQ(own.m_pRnd->stdUpper, c.hi);
    }
    EXPECT_EQ(messages.Count(), 0);
}

TEST_F(ContourDialogTest, SurfaceIsRebuiltOnlyWhenItsWindowMoves) {
    CDlgContourMapSpctm3Dzq* dlg = showMegAct();
    CStatContourMapSpctm3Dzq& view = dlg->m_view;
    CWinTestDriver::ProcessEvents();
    view.UpdateWindow();
    if (!view.m_pM3D)
        GTEST_SKIP() << "no 3D device: " << view.getInitError();
    ASSERT_TRUE(view.m_hullMeg.m_pTriVtx);
    const auto stamp = view.m_hullMeg.m_builtWinKey[0];
    view.m_hullMeg.m_pMEGData = nullptr; // what a stale mesh looks like
    face.m_pRnd->timePos = 0;
    view.Invalidate(FALSE);
    view.UpdateWindow();
    EXPECT_EQ(view.m_hullMeg.m_pMEGData, view.m_pMEGData) << "out of date: rebuilt";
    view.m_hullMeg.m_select = -1;
    EXPECT_EQ(view.m_hullMeg.check4update(view.m_pMEGData), 0);
    view.m_hullMeg.m_select = 0;
    view.m_pMEGData->getSelect(view.m_hullMeg.m_select, view.m_hullMeg.m_select);
    view.Invalidate(FALSE);
    view.UpdateWindow();
    EXPECT_EQ(view.m_hullMeg.m_builtWinKey[0], stamp) << "current: not rebuilt";
    face.m_pRnd->timePos = 5;
    view.Invalidate(FALSE);
    view.UpdateWindow();
    EXPECT_EQ(view.m_hullMeg.m_builtWinKey[0], 5) << "moved window: rebuilt";
    EXPECT_EQ(face.update3DCntmapWave(view.m_pMEGData), 1);
    dlg->ShowWindow(SW_HIDE);
    EXPECT_EQ(face.update3DCntmapWave(view.m_pMEGData), 0);
}

TEST_F(ContourDialogTest, RealLayoutsPaintColouredSensorsAndSurvivesASoak) {
    CSyntheticRecording::Options o;
    o.epochs = 1;
    o.samplingRateHz = 250.0;
    o.samplesPerEpoch = 501;
    std::unique_ptr<CArrayMEDataSetzq> data = CSyntheticRecording(o).build();
    ASSERT_TRUE(data);
    ASSERT_EQ(face.show3DContMapSpctmMegAct(data.get(), noCallback, nullptr), 1);
    CDlgContourMapSpctm3Dzq* dlg = face.m_pDlgContourAct;
    CWinTestDriver::ProcessEvents();
    dlg->m_view.UpdateWindow();
    if (!dlg->m_view.m_pM3D)
        GTEST_SKIP() << "no 3D device";
    ASSERT_TRUE(dlg->m_view.m_hullMeg.m_pTriVtx);
    EXPECT_GT(dlg->m_view.m_hullMeg.m_pTriVtx->m_nVtx, 300);
    // Seeded random clicks, keys, drags, wheel turns and menu picks over the window.
    unsigned seed = 20261206u;
    const auto next = [&](unsigned n) {
        seed = seed * 1664525u + 1013904223u;
        return (seed >> 8) % n;
    };
    const int buttons[] = {IDC_CM_MOVE,       IDC_CM_ANIMATE,    IDC_CM_RESET,
                           IDC_CM_UPDATE,     IDC_CM_APPLY,      IDC_CM_SENSORS,
                           IDC_CM_CONTOURMAP, IDC_CM_CONTOURACT, IDC_CM_AUTOFITCOLOR,
                           IDC_CM_MARKSELECT};
    const UINT menus[] = {ID_CM_NORMAL,     ID_CM_ROTATE,     ID_CM_ZOOM,       ID_CM_MOVE,
                          ID_CM_PICKSENSOR, ID_CM_SHAPE_CUBE, ID_CM_SHAPE_TORUS};
    CRect rc;
    dlg->m_view.GetWindowRect(&rc);
    dlg->ScreenToClient(&rc);
    for (int i = 0; i < 150; ++i) {
        const CPoint p(rc.left + static_cast<int>(next(rc.Width())),
                       rc.top + static_cast<int>(next(rc.Height())));
        switch (next(6)) {
        case 0:
            click(dlg, buttons[next(std::size(buttons))]);
            break;
        case 1:
            CWinTestDriver::PickMenuItem(dlg, menus[next(std::size(menus))]);
            break;
        case 2:
            CWinTestDriver::Drag(dlg, p, CPoint(p.x + 20, p.y - 10), 2);
            break;
        case 3:
            CWinTestDriver::KeyPress(&dlg->m_view, VK_LEFT + next(4));
            break;
        case 4:
            CWinTestDriver::FireTimer(dlg, 100);
            break;
        default:
            CWinTestDriver::Wheel(dlg, p, 120);
        }
        if (i % 25 == 0)
            face.show3DContMapSpctmEegAct(data.get(), noCallback, nullptr);
    }
    dlg->m_view.m_surfHullMode = 0; // the fan surface
    dlg->m_view.Invalidate(FALSE);
    dlg->m_view.UpdateWindow();
    EXPECT_GE(face.m_pRnd->timePos, 0);
}

TEST_F(ContourDialogTest, HotSensorShowsItsColourWhereItIsDrawn) {
    LayoutDataSet layout;
    layout.build(kOctahedron, {0.0, 0.0, 0.0, 0.0, 1.0, 0.0}, false);
    ASSERT_EQ(face.show3DContMapSpctmMegAct(&layout.data, noCallback, nullptr), 1);
    CStatContourMapSpctm3Dzq& view = face.m_pDlgContourAct->m_view;
    CWinTestDriver::ProcessEvents();
    view.UpdateWindow();
    if (!view.m_pM3D)
        GTEST_SKIP() << "no 3D device";
    // The colour fit spans the sensors' means: the hot one takes the top of the palette.
    EXPECT_DOUBLE_EQ(face.m_pRnd->stdUpper, 1.0);
    const auto redAt = [&](const Pos& p) {
        double x = 0, y = 0;
        EXPECT_TRUE(view.scene2ClientPoint(p.data(), x, y));
        const std::uint32_t c =
            view.m_pM3D->getImage()[static_cast<int>(y) * view.m_pM3D->getImageWidth() +
                                    static_cast<int>(x)];
        return static_cast<int>(c & 0xFF) - static_cast<int>((c >> 16) & 0xFF);
    };
    EXPECT_GT(redAt(kOctahedron[4]), 60) << "hull surface and glyph of the hot sensor";
    view.m_surfHullMode = 0;
    view.Invalidate(FALSE);
    view.UpdateWindow();
    EXPECT_GT(redAt(kOctahedron[4]), 60) << "fan surface of the hot sensor";
}

// A component change recolours the hull at the next paint, as it does the sensors: here the
// hot sensor of the real part is cold in the imaginary part and the other way round.
TEST_F(ContourDialogTest, ComponentChangeRecoloursTheHullAtOnce) {
    LayoutDataSet layout;
    layout.build(kOctahedron, {0.0, 0.0, 0.0, 0.0, 1.0, 0.0}, false, {0, 0, 0, 0, 0, 1.0});
    CDlgContourMapSpctm3Dzq* dlg = paintLayout(layout);
    if (!dlg)
        GTEST_SKIP() << "no 3D device";
    CStatContourMapSpctm3Dzq& view = dlg->m_view;
    // The colour of the hull's first vertex at sensor i.
    const auto colourAt = [&](int i) {
        const CMVBzq& vb = *view.m_hullMeg.m_pTriVtx;
        for (long long k = 0; k < vb.m_nVtx; ++k) {
            const D3DVTX_PNCd& v = vb.m_pVtx[k];
            if (std::hypot(v.pos[0] - kOctahedron[i][0], v.pos[1] - kOctahedron[i][1],
                           v.pos[2] - kOctahedron[i][2]) < 1e-6)
                return std::array<float, 3>{v.clr[0], v.clr[1], v.clr[2]};
        }
        ADD_FAILURE() << "no vertex at sensor " << i;
        return std::array<float, 3>{};
    };
    ASSERT_TRUE(view.m_hullMeg.m_pTriVtx);
    const auto hot = colourAt(4), cold = colourAt(5);
    ASSERT_NE(hot, cold);
    CWinTestDriver::SelectComboItem(&dlg->m_cmbComponent, 1);
    view.UpdateWindow();
    EXPECT_EQ(colourAt(4), cold);
    EXPECT_EQ(colourAt(5), hot);
}

// With "Autofit Color" on, every animation step fits the colours to the moved window; off, a
// step leaves them. The grid rises along time, so a later window has a higher mean.
TEST_F(ContourDialogTest, AutofitColourRefitsAtEveryAnimationStep) {
    CDlgContourMapSpctm3Dzq* dlg = showMegAct();
    CMEGSpctm3DRndzq& rnd = *face.m_pRnd;
    click(dlg, IDC_CM_AUTOFITCOLOR);
    click(dlg, IDC_CM_APPLY);
    ASSERT_EQ(dlg->m_view.m_autofitColor, 1);
    click(dlg, IDC_CM_ANIMATE);
    ASSERT_TRUE(CWinTestDriver::FireTimer(dlg, 100));
    ASSERT_EQ(rnd.timePos, 10);
    // Time points 10..24 of a ramp from 1 to 3 over 25 points: mean 1 + 2 * 17 / 24.
    const double mean = 1.0 + 2.0 * 17.0 / 24.0;
    EXPECT_NEAR(rnd.stdLower, mean, 1e-12);
    EXPECT_NEAR(rnd.stdUpper, mean, 1e-12);
    click(dlg, IDC_CM_AUTOFITCOLOR);
    click(dlg, IDC_CM_APPLY);
    rnd.stdLower = 0.5;
    rnd.stdUpper = 4.0;
    ASSERT_TRUE(CWinTestDriver::FireTimer(dlg, 100));
    ASSERT_EQ(rnd.timePos, 20);
    EXPECT_EQ(rnd.stdLower, 0.5);
    EXPECT_EQ(rnd.stdUpper, 4.0);
}

// With the sensors shown and a surface that asks for colours too (a hull out of date, or the
// fans rebuilt at every paint), one paint tells of the missing data once.
TEST_F(ContourDialogTest, MissingDataIsToldOncePerPaint) {
    LayoutDataSet layout;
    layout.build(kOctahedron, std::vector<double>(6, 1.0), false);
    ASSERT_EQ(face.show3DContMapSpctmMegAct(&layout.data, noCallback, nullptr), 1);
    CStatContourMapSpctm3Dzq& view = face.m_pDlgContourAct->m_view;
    CWinTestDriver::ProcessEvents();
    view.UpdateWindow();
    if (!view.m_pM3D)
        GTEST_SKIP() << "no 3D device";
    ASSERT_EQ(view.m_pMEGData->megSnsShown, 1);
    CArrayMEDataSetzq empty;
    face.m_pRnd->dataSet = &empty;
    face.m_pRnd->session = nullptr;
    face.m_pRnd->timePos = 3; // a new window: the hull asks the renderer again too
    for (const int hull : {1, 0}) {
        view.m_surfHullMode = hull;
        messages.Clear();
        view.Invalidate(FALSE);
        view.UpdateWindow();
        EXPECT_EQ(messages.Count(), 1) << (hull ? "hull" : "fans");
        EXPECT_EQ(messages.LastText(), CString(u"No MEG data? \n"));
    }
    // A build outside a paint tells it once as well.
    messages.Clear();
    EXPECT_EQ(view.initTriMegSnsHullVtx(nullptr), 1);
    EXPECT_EQ(messages.Count(), 1);
}

// Both 3D windows: "Save Picture..." writes what the view shows, "Save Picture 2x..." its
// frame at twice the size; a failed write is told, a cancel does nothing.
TEST_F(ContourDialogTest, SavePictureWritesTheViewAtItsSizeOrTwice) {
    CDlgContourMapSpctm3Dzq* map = showMegAct();
    ASSERT_EQ(face.show3DOneChnlSpctmAct(&grid.data, noCallback, nullptr), 1);
    CWinTestDriver::ProcessEvents();
    const std::string dir = ::testing::TempDir();
    std::string chosen;
    int asked = 0;
    AfxSetSaveFileHook([&](CWnd*, const CString&, const CString&, CString& path) {
        ++asked;
        path = CString::FromUtf8(chosen);
        return chosen.empty() ? FALSE : TRUE;
    });
    const struct {
        CDialog* dlg;
        CStatD3DM00MD3D* view;
        UINT once, twice;
    } windows[] = {
        {map, &map->m_view, ID_CM_SAVEPICTURE, ID_CM_SAVEPICTURE2X},
        {face.m_pDlgOneChnlAct, &face.m_pDlgOneChnlAct->m_view, ID_1CH_SAVEPICTURE,
         ID_1CH_SAVEPICTURE2X},
    };
    for (const auto& w : windows) {
        SCOPED_TRACE(w.once);
        messages.Clear();
        asked = 0;
        chosen = dir + "/saved.png";
        CRect client;
        w.view->GetClientRect(&client);
        std::remove(chosen.c_str());
        ASSERT_TRUE(CWinTestDriver::PickMenuItem(w.dlg, w.once));
        EXPECT_EQ(pngSize(chosen), std::make_pair(client.Width(), client.Height()));
        std::remove(chosen.c_str());
        ASSERT_TRUE(CWinTestDriver::PickMenuItem(w.dlg, w.twice));
        // Twice the 3D frame, which leaves the text and colour bar under it to the view.
        const CRect frame = w.view->frameRect();
        if (map->m_view.m_pM3D) {
            EXPECT_EQ(pngSize(chosen), std::make_pair(2 * frame.Width(), 2 * frame.Height()));
        }
        EXPECT_EQ(messages.Count(), 0);
        chosen = dir + "/no/such/dir/x.png";
        CWinTestDriver::PickMenuItem(w.dlg, w.once);
        EXPECT_EQ(messages.Count(), 1) << "a failed write is told";
        chosen.clear(); // the user cancels: nothing happens
        CWinTestDriver::PickMenuItem(w.dlg, w.once);
        EXPECT_EQ(messages.Count(), 1);
        EXPECT_EQ(asked, 4);
    }
    AfxSetSaveFileHook(nullptr);
}

// The octahedron seen from above with its hot sensor in front, at the centre: "Rotate" turns
// that front with the mouse, "Move" carries the scene, the wheel and "Zoom" dragged up enlarge.
TEST_F(ContourDialogTest, DragsAndWheelGoTheWayTheMouseGoes) {
    LayoutDataSet layout;
    layout.build(kOctahedron, {0.0, 0.0, 0.0, 0.0, 1.0, 0.0}, false);
    CDlgContourMapSpctm3Dzq* dlg = paintLayout(layout);
    if (!dlg)
        GTEST_SKIP() << "no 3D device";
    CStatContourMapSpctm3Dzq& view = dlg->m_view;
    struct Hot {
        int count = 0;
        double x = 0, y = 0;
    };
    // The red pixels of the hot sensor and the surface around it.
    const auto hot = [&]() {
        view.Invalidate(FALSE);
        view.UpdateWindow();
        Hot h;
        const int w = view.m_pM3D->getImageWidth(), ht = view.m_pM3D->getImageHeight();
        for (int y = 0; y < ht; ++y)
            for (int x = 0; x < w; ++x) {
                const std::uint32_t c = view.m_pM3D->getImage()[y * w + x];
                if (static_cast<int>(c & 0xFF) - static_cast<int>((c >> 16) & 0xFF) > 60) {
                    ++h.count;
                    h.x += x;
                    h.y += y;
                }
            }
        if (h.count > 0) {
            h.x /= h.count;
            h.y /= h.count;
        }
        return h;
    };
    CRect rc;
    view.GetWindowRect(&rc);
    dlg->ScreenToClient(&rc);
    // The scene is centred in the 3D frame, above the view's text and colour bar.
    rc.bottom = rc.top + view.frameRect().Height();
    const CPoint mid = rc.CenterPoint();
    const auto drag = [&](int dx, int dy) {
        CWinTestDriver::Drag(dlg, mid, CPoint(mid.x + dx, mid.y + dy), 1);
    };
    const Hot start = hot();
    ASSERT_GT(start.count, 20);
    EXPECT_NEAR(start.x, rc.Width() / 2.0, 3);
    EXPECT_NEAR(start.y, rc.Height() / 2.0, 3);

    CWinTestDriver::PickMenuItem(dlg, ID_CM_ROTATE);
    drag(0, -40);
    const Hot up = hot();
    EXPECT_LT(up.y, start.y - 10);
    EXPECT_NEAR(up.x, start.x, 2);
    drag(40, 0);
    const Hot right = hot();
    EXPECT_GT(right.x, up.x + 10);

    CWinTestDriver::PickMenuItem(dlg, ID_CM_MOVE);
    drag(0, -30);
    const Hot moved = hot();
    EXPECT_NEAR(moved.y, right.y - 30, 6);
    EXPECT_NEAR(moved.x, right.x, 2);

    CWinTestDriver::Wheel(dlg, mid, 2 * WHEEL_DELTA);
    const Hot wheeled = hot();
    EXPECT_GT(wheeled.count, moved.count * 1.2);
    CWinTestDriver::PickMenuItem(dlg, ID_CM_ZOOM);
    drag(0, 40);
    const Hot zoomedOut = hot();
    EXPECT_LT(zoomedOut.count * 1.2, wheeled.count);
}

} // namespace
