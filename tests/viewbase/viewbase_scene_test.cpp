// The sensor scene in a real window on the offscreen platform: MEG and EEG layouts drawn and
// grabbed, a sensor picked at its screen position, and the mouse, wheel and keys turning,
// zooming and moving the picture. Skips when no GL context can be made.
#include "SyntheticLayouts.h"
#include "engine/CM3Dzq.h"
#include "recording/CMEGDatazq.h"
#include "viewbase/CStatD3DMzq.h"
#include "win/CWinTestDriver.h"
#include "win/afxwin.h"

#include <gtest/gtest.h>
#include <memory>
#include <string>
#include <vector>

namespace {

constexpr int kW = 360, kH = 300;

class SensorScene : public ::testing::Test {
protected:
    void SetUp() override {
        if (!CWinTestDriver::EnsureApplication()) {
            GTEST_SKIP() << "no window platform: set QT_QPA_PLATFORM=offscreen";
        }
        m_data = makeLayouts();
        ASSERT_TRUE(m_data);
        ASSERT_TRUE(m_frame.Create(nullptr, u"Sensor scene", WS_OVERLAPPED | WS_CAPTION,
                                   CRect(0, 0, kW + 20, kH + 20), nullptr, 0));
        ASSERT_TRUE(m_view.Create(u"", WS_CHILD | WS_VISIBLE | SS_NOTIFY,
                                  CRect(10, 10, 10 + kW, 10 + kH), &m_frame, 3943));
        m_frame.ShowWindow(SW_SHOW);
        if (!m_view.snsSrc3Dinit(&m_frame)) {
            GTEST_SKIP() << "no GL context for the scene: " << m_view.getInitError();
        }
        m_view.m_bScene3DInit = 1;
        m_view.setCbfGetMEGData(m_data.get());
    }

    // Binds the layout of the channel type and paints one frame.
    void showType(int chnType) {
        m_view.m_chnType = chnType;
        ASSERT_TRUE(m_view.updateMEGData());
        ASSERT_TRUE(m_view.autofitSensorCenter(nullptr));
        chnType == 0 ? m_view.findMegSnsSphere(nullptr) : m_view.findEegEltSphere(nullptr);
        paint();
    }

    void paint() {
        m_view.Invalidate(FALSE);
        m_view.UpdateWindow();
        CWinTestDriver::ProcessEvents();
    }

    std::vector<std::uint32_t> frame() const {
        const std::uint32_t* p = m_view.m_pM3D->getImage();
        return p ? std::vector<std::uint32_t>(p, p + kW * kH) : std::vector<std::uint32_t>{};
    }

    // Pixels that differ from the background colour.
    static int sensorPixels(const std::vector<std::uint32_t>& img) {
        int n = 0;
        for (std::uint32_t p : img) {
            n += (p & 0xFFFFFF) != (img.front() & 0xFFFFFF);
        }
        return n;
    }

    static std::string pngPath(const std::string& name) {
        return std::string(VELMORA_PNG_DIR) + "/" + name + ".png";
    }

    std::unique_ptr<CArrayMEDataSetzq> m_data;
    CWnd m_frame;
    CStatD3DMzq m_view;
};

struct LayoutCase {
    const char* name;
    int chnType;
    int shape;
};

class SensorLayoutScene : public SensorScene, public ::testing::WithParamInterface<LayoutCase> {};

TEST_P(SensorLayoutScene, DrawsEverySensorLitAndSizedToTheView) {
    m_view.m_snsShapeSel = GetParam().shape;
    m_view.m_markOn = 1;
    showType(GetParam().chnType);
    const auto img = frame();
    ASSERT_EQ(img.size(), static_cast<size_t>(kW * kH));
    const int covered = sensorPixels(img);
    // Visible, yet the glyphs leave most of the view to the background.
    EXPECT_GT(covered, kW * kH / 50);
    EXPECT_LT(covered, kW * kH / 2);
    // Lit: the glyph pixels are not one flat colour.
    int darkest = 255, brightest = 0;
    for (std::uint32_t p : img) {
        if ((p & 0xFFFFFF) != (img.front() & 0xFFFFFF)) {
            const int g = static_cast<int>((p >> 8) & 0xFF);
            darkest = std::min(darkest, g);
            brightest = std::max(brightest, g);
        }
    }
    EXPECT_GT(brightest - darkest, 40);
    // The window shows the presented frame, not just the engine's image.
    int w = 0, h = 0;
    const auto shown = CWinTestDriver::GrabClient(&m_view, &w, &h);
    ASSERT_EQ(w * h, kW * kH);
    EXPECT_EQ(sensorPixels(shown), covered);
    EXPECT_TRUE(CWinTestDriver::GrabToPng(&m_frame, pngPath(GetParam().name).c_str()));
}

INSTANTIATE_TEST_SUITE_P(Layouts, SensorLayoutScene,
                         ::testing::Values(LayoutCase{"meg306_coils", 0, 0},
                                           LayoutCase{"eeg64_cubes", 1, 0},
                                           LayoutCase{"eeg64_balls", 1, 1},
                                           LayoutCase{"eeg64_tori", 1, 2}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(SensorScene, PickAtASensorsScreenPositionMakesItsChannelCurrent) {
    showType(1);
    CMDTrialzq* trial = m_view.m_pTrial;
    const int target = trial->getTotalChannel() - 5;
    double xyz[3], px = 0, py = 0;
    ASSERT_TRUE(CStatD3DMzq::getSnsPositionD(trial->getChannel(target), 1, xyz));
    ASSERT_TRUE(m_view.scene2ClientPoint(xyz, px, py));
    ASSERT_GT(px, 0);
    ASSERT_LT(px, kW);
    m_view.m_operMode = CStatD3DM::kModePick;
    // An empty corner picks nothing.
    CWinTestDriver::MouseDown(&m_view, CPoint(2, 2));
    CWinTestDriver::MouseUp(&m_view, CPoint(2, 2));
    EXPECT_EQ(m_view.m_pickChn, -1);
    EXPECT_NE(trial->getCurntChnlIndx(), target);
    CWinTestDriver::MouseDown(&m_view,
                              CPoint(static_cast<int>(px + 0.5), static_cast<int>(py + 0.5)));
    CWinTestDriver::MouseUp(&m_view,
                            CPoint(static_cast<int>(px + 0.5), static_cast<int>(py + 0.5)));
    EXPECT_EQ(m_view.m_pickChn, target);
    EXPECT_EQ(trial->getCurntChnlIndx(), target);
    m_view.cleanD3DPick();
    EXPECT_EQ(m_view.m_pickChn, -1);
}

struct OperationCase {
    const char* name;
    int mode;
    bool wheel;
};

class SensorOperation : public SensorScene, public ::testing::WithParamInterface<OperationCase> {};

TEST_P(SensorOperation, ChangesThePicture) {
    showType(0);
    const auto before = frame();
    m_view.m_operMode = GetParam().mode;
    const CPoint mid(kW / 2, kH / 2);
    if (GetParam().wheel) {
        CWinTestDriver::Wheel(&m_view, mid, WHEEL_DELTA * 2);
    } else {
        CWinTestDriver::Drag(&m_view, mid, CPoint(mid.x + 60, mid.y - 90));
    }
    paint();
    EXPECT_NE(frame(), before);
    EXPECT_EQ(CWnd::GetCapture(), nullptr) << "the drag released the mouse";
    EXPECT_TRUE(CWinTestDriver::GrabToPng(&m_frame, pngPath(GetParam().name).c_str()));
}

INSTANTIATE_TEST_SUITE_P(Modes, SensorOperation,
                         ::testing::Values(OperationCase{"rotate", CStatD3DM::kModeRotate, false},
                                           OperationCase{"zoom", CStatD3DM::kModeZoom, false},
                                           OperationCase{"move", CStatD3DM::kModeMove, false},
                                           OperationCase{"sensorSize", CStatD3DM::kModeSnsSize,
                                                         false},
                                           OperationCase{"wheel", CStatD3DM::kModeNormal, true}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(SensorScene, ArrowKeysTurnTheSceneOthersPass) {
    showType(0);
    const auto before = frame();
    MSG key{m_view.GetSafeHwnd(), WM_KEYDOWN, VK_LEFT, 0, 0, {0, 0}};
    EXPECT_NE(m_view.preTranslateMessage(&key), 0);
    paint();
    EXPECT_NE(frame(), before);
    key.wParam = 'A';
    EXPECT_EQ(m_view.preTranslateMessage(&key), 0);
    key.wParam = VK_HOME;
    EXPECT_NE(m_view.preTranslateMessage(&key), 0);
    paint();
    EXPECT_EQ(frame(), before) << "Home returns to the start";
    MSG up{m_view.GetSafeHwnd(), WM_KEYUP, VK_LEFT, 0, 0, {0, 0}};
    EXPECT_EQ(m_view.preTranslateMessage(&up), 0);
    EXPECT_EQ(m_view.preTranslateMessage(nullptr), 0);
}

TEST_F(SensorScene, TargetFollowsTheControlSizeAndCursorsFollowTheMode) {
    m_view.MoveWindow(10, 10, 200, 120);
    CWinTestDriver::ProcessEvents();
    EXPECT_EQ(m_view.m_pM3D->getTargetWidth(), 200);
    EXPECT_EQ(m_view.m_pM3D->getTargetHeight(), 120);
    for (int mode : {300, 301, 302, 303, 403, 407}) {
        m_view.m_operMode = mode;
        CWinTestDriver::MouseMove(&m_view, CPoint(50 + mode % 10, 40));
        EXPECT_EQ(CWinTestDriver::ShownCursorId(&m_view), CStatD3DMzq::cursorId4Mode(mode)) << mode;
    }
    m_view.m_operMode = 902;
    EXPECT_FALSE(m_view.OnSetCursor(&m_view, HTCLIENT, WM_MOUSEMOVE)) << "a view's own mode";
    EXPECT_FALSE(m_view.OnSetCursor(&m_frame, HTCLIENT, WM_MOUSEMOVE)) << "another window";
}

TEST_F(SensorScene, ReleasedGeometryIsMadeAgainAtTheNextFrame) {
    showType(0);
    const auto before = frame();
    m_view.releaseSnsCoilD3DAll();
    m_view.cleanTriMegSnsVtx();
    EXPECT_EQ(m_view.m_coilShape.m_vb.getBufPtr(), nullptr);
    paint();
    EXPECT_EQ(frame(), before);
}

} // namespace
