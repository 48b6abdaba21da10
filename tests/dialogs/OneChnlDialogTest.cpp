// The single-channel window driven as a user would, opened through the facade: titles, combo
// boxes, fits, mouse modes and the V Ratio drag, keys, resizing, typed values and the picture.
#include "UiTest.h"
#include "dialogs/CDlgM3DRendStates.h"
#include "dialogs/CDlgRnd3DSpctmOneChnl.h"
#include "dialogs/CDlgSpctmRnd3DStdSet.h"
#include "dialogs/res/resource.h"
#include "engine/CM3Dzq.h"
#include "facade/CVelmoraFacezq.h"
#include "geometry/COneSpctm3DVtx.h"
#include "render/CMEGSpctm3DRndzq.h"

#include <algorithm>
#include <cstdlib>
#include <fstream>
#include <memory>
#include <ostream>
#include <string>
#include <utility>
#include <vector>

namespace {

int noCallback(int, int) {
    return 0;
}

class OneChnlTest : public UiTest {
public:
    // Opens the Active window on the given channels.
    void open(const std::vector<std::vector<double>>& grids, long long nTime = 8,
              long long nFreq = 4) {
        data.build(nTime, nFreq, grids);
        face = std::make_unique<CVelmoraFacezq>();
        ASSERT_EQ(face->show3DOneChnlSpctmAct(&data.data, noCallback, nullptr), 1);
        dlg = face->m_pDlgOneChnlAct;
        ASSERT_NE(dlg, nullptr);
        CWinTestDriver::ProcessEvents();
    }
    void click(int id) { CWinTestDriver::Click(dlg->GetDlgItem(id)); }
    CMEGSpctm3DRndzq& rnd() { return *face->m_pRnd; }
    // The view's frame (red in bits 0-7), empty without a picture.
    std::vector<std::uint32_t> frame() {
        dlg->m_view.Invalidate(FALSE);
        dlg->m_view.UpdateWindow();
        const CM3Dzq* e = dlg->m_view.m_pM3D;
        if (!e || !e->getImage())
            return {};
        std::vector<std::uint32_t> out(e->getImage(),
                                       e->getImage() + e->getImageWidth() * e->getImageHeight());
        for (std::uint32_t& c : out)
            c &= 0xFFFFFF;
        return out;
    }

    // Where the surface lies in the view's next frame: the pixels unlike the frame's corner.
    struct Shape {
        int count = 0;
        double cx = 0, cy = 0;
        int top = 0, bottom = 0, left = 0, right = 0;
        // Mean x of the lower half of the surface minus that of the upper half.
        double skew = 0;
        int height() const { return bottom - top + 1; }
        int width() const { return right - left + 1; }
    };
    Shape surface() {
        dlg->m_view.Invalidate(FALSE);
        dlg->m_view.UpdateWindow();
        Shape s;
        const CM3Dzq* e = dlg->m_view.m_pM3D;
        if (!e || !e->getImage()) {
            ADD_FAILURE() << "no frame";
            return s;
        }
        const int w = e->getImageWidth(), h = e->getImageHeight();
        const std::uint32_t* img = e->getImage();
        const auto isSurface = [&](int x, int y) {
            const std::uint32_t p = img[y * w + x], bg = img[0];
            for (int shift : {0, 8, 16})
                if (std::abs(static_cast<int>((p >> shift) & 0xFF) -
                             static_cast<int>((bg >> shift) & 0xFF)) > 8)
                    return true;
            return false;
        };
        s.top = h;
        s.left = w;
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x)
                if (isSurface(x, y)) {
                    ++s.count;
                    s.cx += x;
                    s.cy += y;
                    s.top = std::min(s.top, y);
                    s.bottom = std::max(s.bottom, y);
                    s.left = std::min(s.left, x);
                    s.right = std::max(s.right, x);
                }
        if (s.count == 0)
            return s;
        s.cx /= s.count;
        s.cy /= s.count;
        double sums[2] = {0, 0};
        int counts[2] = {0, 0};
        for (int y = s.top; y <= s.bottom; ++y)
            for (int x = s.left; x <= s.right; ++x)
                if (isSurface(x, y)) {
                    const int lower = y > s.cy ? 1 : 0;
                    sums[lower] += x;
                    ++counts[lower];
                }
        if (counts[0] > 0 && counts[1] > 0)
            s.skew = sums[1] / counts[1] - sums[0] / counts[0];
        return s;
    }
    // A drag over the view from its centre, in one move.
    void drag(int dx, int dy) {
        CRect rc;
        dlg->m_view.GetClientRect(&rc);
        const CPoint c = rc.CenterPoint();
        CWinTestDriver::Drag(&dlg->m_view, c, CPoint(c.x + dx, c.y + dy), 1);
    }
    void wheel(short delta) {
        CRect rc;
        dlg->m_view.GetClientRect(&rc);
        CWinTestDriver::Wheel(&dlg->m_view, rc.CenterPoint(), delta);
    }

    GridDataSet data;
    std::unique_ptr<CVelmoraFacezq> face;
    CDlgRnd3DSpctmOneChnl* dlg = nullptr;
};

std::ostream& operator<<(std::ostream& os, const OneChnlTest::Shape& s) {
    return os << s.count << " pixels at (" << s.cx << ", " << s.cy << "), " << s.width() << " x "
              << s.height() << ", skew " << s.skew;
}

TEST_F(OneChnlTest, OpensWithTitleCombosAndChannelGaps) {
    const auto g = GridDataSet::ramp(8, 4, 1.0, 2.0);
    open({g, {}, g, g});
    data.trial()->setCurrentChannel(1);
    dlg->fillChnlCombo();
    CString title;
    dlg->GetWindowText(title);
    EXPECT_EQ(title, u"Spectrogram 3D: Active  time window");
    CString item;
    dlg->m_cmbShowSource.GetLBText(6, item);
    EXPECT_EQ(item, u"Root-Mean-Square");
    ASSERT_EQ(dlg->m_cmbChannel.GetCount(), 3);
    for (int i = 0; i < 3; ++i)
        EXPECT_EQ(dlg->m_cmbChannel.GetItemData(i), static_cast<DWORD_PTR>(i == 0 ? 0 : i + 1));
    EXPECT_EQ(dlg->m_cmbChannel.GetCurSel(), 0);
    EXPECT_EQ(data.trial()->getCurntChnlIndx(), 1);
    CWinTestDriver::SelectComboItem(&dlg->m_cmbChannel, 2);
    EXPECT_EQ(data.trial()->getCurntChnlIndx(), 3);
    EXPECT_EQ(dlg->IsWindowEnabled(), TRUE);
    EXPECT_EQ(dlg->m_cmbClass.IsWindowEnabled(), FALSE);
}

TEST_F(OneChnlTest, AutofitScalesPeakAndSize) {
    open({GridDataSet::ramp(1200, 4, 0.0, 100.0)}, 1200, 4);
    CRect rc;
    dlg->m_view.GetClientRect(&rc);
    ASSERT_LT(rc.Width(), 1200);
    // The real part peaks at 100: V Peak 30 gives 0.3; 1200 time points are squeezed.
    EXPECT_DOUBLE_EQ(rnd().scaleValue, 0.3);
    EXPECT_DOUBLE_EQ(rnd().scaleTime, rc.Width() / 1200.0);
    EXPECT_DOUBLE_EQ(rnd().stdUpper, 100.0);
    EXPECT_DOUBLE_EQ(rnd().scaleFreq, 0.1);
}

TEST_F(OneChnlTest, AutofitLimitsTallPeaksToTheScene) {
    open({GridDataSet::ramp(8, 4, 0.0, 1000.0)});
    EXPECT_NEAR(rnd().scaleValue, 0.512, 1e-12);
    EXPECT_DOUBLE_EQ(rnd().scaleTime, 1.0);
}

TEST_F(OneChnlTest, FitPeakWithoutPositiveMaximumKeepsVRatio) {
    open({std::vector<double>(32, 0.0), GridDataSet::ramp(8, 4, 0.0, 1.0)});
    CWinTestDriver::TypeText(dlg->GetDlgItem(IDC_1CH_VRATIO), u"2");
    click(IDC_1CH_FITPEAK);
    EXPECT_DOUBLE_EQ(dlg->m_view.m_vRatio, 2.0);
    EXPECT_DOUBLE_EQ(rnd().stdUpper, 0.0);
}

TEST_F(OneChnlTest, ButtonsSetOperationModes) {
    open({GridDataSet::ramp(8, 4, 0.0, 1.0)});
    const std::pair<int, int> modes[] = {{IDC_1CH_ROTATE, 301},
                                         {IDC_1CH_ZOOM, 302},
                                         {IDC_1CH_MOVE, 303},
                                         {IDC_1CH_MOVEWAVE, 901},
                                         {IDC_1CH_NORMAL, 300}};
    for (const auto& [id, mode] : modes) {
        click(id);
        EXPECT_EQ(dlg->m_view.m_operMode, mode) << id;
    }
}

TEST_F(OneChnlTest, VerticalDragInMode901ScalesVRatio) {
    open({GridDataSet::ramp(8, 4, 0.0, 1.0)});
    click(IDC_1CH_MOVEWAVE);
    const double start = dlg->m_view.m_vRatio;
    CRect rc;
    dlg->m_view.GetClientRect(&rc);
    const CPoint c = rc.CenterPoint();
    CWnd* view = &dlg->m_view;
    CWinTestDriver::MouseDown(view, c);
    CWinTestDriver::MouseMove(view, {c.x, c.y - 1}, MK_LBUTTON);
    EXPECT_DOUBLE_EQ(dlg->m_view.m_vRatio, start);
    CWinTestDriver::MouseMove(view, {c.x, c.y - 3}, MK_LBUTTON);
    EXPECT_DOUBLE_EQ(dlg->m_view.m_vRatio, start * 1.5);
    CWinTestDriver::MouseMove(view, {c.x, c.y - 1}, MK_LBUTTON);
    EXPECT_DOUBLE_EQ(dlg->m_view.m_vRatio, start);
    EXPECT_DOUBLE_EQ(rnd().scaleValue, start);
    CWinTestDriver::MouseUp(view, {c.x, c.y - 1});
    EXPECT_EQ(CWnd::GetCapture(), nullptr);
}

TEST_F(OneChnlTest, EnterAndEscapeKeepTheWindowOpen) {
    open({GridDataSet::ramp(8, 4, 0.0, 1.0)});
    if (CM3Dzq* e = dlg->m_view.m_pM3D)
        e->m_viewAngle = 10.0f;
    for (UINT vk : {VK_RETURN, VK_ESCAPE})
        CWinTestDriver::KeyPress(dlg->GetDlgItem(IDC_1CH_APPLY), vk);
    EXPECT_TRUE(dlg->IsWindowVisible());
    if (CM3Dzq* e = dlg->m_view.m_pM3D) {
        EXPECT_FLOAT_EQ(e->m_viewAngle, -90.0f);
    }
}

TEST_F(OneChnlTest, ResizeKeepsTenPixelMargins) {
    open({GridDataSet::ramp(8, 4, 0.0, 1.0)});
    CRect before;
    dlg->m_view.GetWindowRect(&before);
    dlg->ScreenToClient(&before);
    dlg->SendMessage(WM_SIZE, SIZE_RESTORED, MAKELPARAM(1000, 700));
    CRect after;
    dlg->m_view.GetWindowRect(&after);
    dlg->ScreenToClient(&after);
    EXPECT_EQ(after, CRect(before.left, before.top, 990, 690));
}

TEST_F(OneChnlTest, SizeViewToGivesTheViewThatClientSize) {
    open({GridDataSet::ramp(8, 4, 0.0, 1.0)});
    ASSERT_EQ(dlg->sizeViewTo(641, 479), 1);
    CRect view;
    dlg->m_view.GetClientRect(&view);
    EXPECT_EQ(view, CRect(0, 0, 641, 479));
    const std::string path = testing::TempDir() + "one_channel_view_641x479.png";
    ASSERT_TRUE(AfxSaveWindowImage(&dlg->m_view, path.c_str()));
    CRect shown;
    dlg->m_view.GetWindowRect(&shown);
    // Width and height are the big-endian words at bytes 16 and 20 of a PNG file.
    std::ifstream png(path, std::ios::binary);
    unsigned char header[24] = {};
    png.read(reinterpret_cast<char*>(header), sizeof header);
    const auto word = [&](int at) {
        return (header[at] << 24) | (header[at + 1] << 16) | (header[at + 2] << 8) | header[at + 3];
    };
    EXPECT_EQ(word(16), shown.Width());
    EXPECT_EQ(word(20), shown.Height());
    EXPECT_EQ(dlg->sizeViewTo(0, 479), 0);
    EXPECT_EQ(dlg->sizeViewTo(641, CDlgRnd3DSpctmOneChnl::kMaxViewSide + 1), 0);
    dlg->m_view.GetClientRect(&view);
    EXPECT_EQ(view, CRect(0, 0, 641, 479)) << "a refused size changes nothing";
}

TEST_F(OneChnlTest, NonNumericScaleTextIsRefused) {
    open({GridDataSet::ramp(8, 4, 0.0, 1.0)});
    for (int id : {IDC_1CH_LEFTRIGHT, IDC_1CH_ANTPOST, IDC_1CH_VRATIO, IDC_1CH_VPEAK}) {
        messages.Clear();
        const double before[] = {dlg->m_view.m_leftRight, dlg->m_view.m_antPost,
                                 dlg->m_view.m_vRatio, dlg->m_vPeak};
        CWinTestDriver::TypeText(dlg->GetDlgItem(id), u"x");
        EXPECT_EQ(messages.LastText().ToUtf8(), "Please enter a number.") << id;
        const double after[] = {dlg->m_view.m_leftRight, dlg->m_view.m_antPost,
                                dlg->m_view.m_vRatio, dlg->m_vPeak};
        for (int k = 0; k < 4; ++k)
            EXPECT_DOUBLE_EQ(after[k], before[k]) << id;
    }
}

TEST_F(OneChnlTest, SecondShowTakesRendererScalesWithoutAutofit) {
    open({GridDataSet::ramp(8, 4, 0.0, 4.0)});
    CWinTestDriver::TypeText(dlg->GetDlgItem(IDC_1CH_LEFTRIGHT), u"7");
    rnd().scaleValue = 0.25;
    rnd().stdUpper = 123.0;
    ASSERT_EQ(face->show3DOneChnlSpctmAct(&data.data, noCallback, nullptr), 1);
    EXPECT_DOUBLE_EQ(dlg->m_view.m_leftRight, rnd().scaleTime);
    EXPECT_DOUBLE_EQ(dlg->m_view.m_vRatio, 0.25);
    EXPECT_DOUBLE_EQ(rnd().stdUpper, 123.0);
}

TEST_F(OneChnlTest, ApplyComponentSourceAndLink) {
    open({GridDataSet::ramp(8, 4, 0.0, 4.0)});
    CWinTestDriver::TypeText(dlg->GetDlgItem(IDC_1CH_ANTPOST), u"3");
    click(IDC_1CH_APPLY);
    EXPECT_DOUBLE_EQ(rnd().scaleFreq, 3.0);
    CWinTestDriver::SelectComboItem(&dlg->m_cmbComponent, 1);
    EXPECT_EQ(dlg->m_component, 1);
    EXPECT_EQ(dlg->m_view.m_component, 1);
    CWinTestDriver::SelectComboItem(&dlg->m_cmbShowSource, 4);
    EXPECT_EQ(rnd().showSource, 4);
    click(IDC_1CH_INFO);
    EXPECT_EQ(rnd().showInfo, 1);
    long long t = 0, f = 0;
    data.trial()->getSpctmTrial(false, 0)->getTrialSpctmSelectTimeFreqBB(t, f);
    dlg->SendMessage(WM_COMMAND, ID_1CH_LINKCONTOURMAP);
    EXPECT_EQ(rnd().timePos, t - 10);
    EXPECT_EQ(rnd().freqPos, f - 10);
    rnd().linkTime = 5;
    click(IDC_1CH_RESET);
    EXPECT_EQ(rnd().linkTime, 0);
    EXPECT_EQ(dlg->m_view.m_pVtx, nullptr);
    EXPECT_EQ(dlg->m_view.m_bScene3DInit, 0);
}

// The first "setting" fits the parameters window to the component this window shows: power,
// the square of the real part.
TEST_F(OneChnlTest, FirstSettingFitsToTheWindowsComponent) {
    open({GridDataSet::ramp(8, 4, 1.0, 6.0)});
    CWinTestDriver::SelectComboItem(&dlg->m_cmbComponent, 2);
    click(IDC_1CH_SETTING);
    CDlgSpctmRnd3DStdSet* set = face->m_pDlgStdSet;
    ASSERT_TRUE(set);
    EXPECT_EQ(set->m_component, 2);
    EXPECT_DOUBLE_EQ(set->m_trialMin, 1.0);
    EXPECT_DOUBLE_EQ(set->m_trialMax, 36.0);
    EXPECT_DOUBLE_EQ(rnd().stdUpper, 36.0);
}

TEST_F(OneChnlTest, WithoutRendererRefreshAndResetLeaveTheWindowAsItIs) {
    data.build(8, 4, {GridDataSet::ramp(8, 4, 0.0, 1.0)}, 1);
    face = std::make_unique<CVelmoraFacezq>();
    ASSERT_EQ(face->checkInitSpctmDlgSingleChnl(1), 1);
    dlg = face->m_pDlgOneChnlCtl;
    dlg->ShowWindow(SW_SHOW);
    CWinTestDriver::ProcessEvents();
    dlg->m_view.m_bScene3DInit = 1;
    click(IDC_1CH_REFRESH);
    click(IDC_1CH_RESET);
    CString title;
    dlg->GetWindowText(title);
    EXPECT_EQ(title, u"Single Spectral  Map 3D");
    EXPECT_EQ(dlg->m_view.m_bScene3DInit, 1);
    // Once bound, the session stays in use while no data set is bound.
    EXPECT_EQ(dlg->setDlgMEGData(&data.data), 1);
    EXPECT_EQ(dlg->setDlgMEGData(nullptr), 0);
    EXPECT_EQ(dlg->fillChnlCombo(), 1);
    EXPECT_EQ(dlg->m_cmbChannel.GetCount(), 1);
}

TEST_F(OneChnlTest, FitColorRecoloursTheSurface) {
    open({GridDataSet::ramp(16, 8, 10.0, 20.0)}, 16, 8);
    if (!dlg->m_view.m_pM3D)
        GTEST_SKIP() << "no 3D device: " << dlg->m_view.getInitError();
    const float* bg = dlg->m_view.m_pM3D->m_bgColor;
    const std::uint32_t background = RGB(static_cast<unsigned>(bg[0] * 255.0f + 0.5f),
                                         static_cast<unsigned>(bg[1] * 255.0f + 0.5f),
                                         static_cast<unsigned>(bg[2] * 255.0f + 0.5f));
    rnd().stdLower = 0.0;
    rnd().stdUpper = 1.0;
    dlg->m_view.updateSpctmSurface();
    const std::vector<std::uint32_t> saturated = frame();
    click(IDC_1CH_FITCOLOR);
    EXPECT_DOUBLE_EQ(rnd().stdLower, 10.0);
    EXPECT_DOUBLE_EQ(rnd().stdUpper, 20.0);
    const std::vector<std::uint32_t> fitted = frame();
    ASSERT_EQ(fitted.size(), saturated.size());
    // Every value lay beyond the old range: now most of the surface takes other colours (the
    // axes keep theirs).
    size_t drawn = 0, recoloured = 0;
    for (size_t i = 0; i < saturated.size(); ++i) {
        if (saturated[i] == background)
            continue;
        ++drawn;
        recoloured += fitted[i] != saturated[i] ? 1 : 0;
    }
    EXPECT_GT(drawn, 0u);
    EXPECT_GT(recoloured, drawn / 2);
}

TEST_F(OneChnlTest, RenderStatesApplyToTheEngine) {
    open({GridDataSet::ramp(8, 4, 0.0, 1.0)});
    CM3Dzq* engine = dlg->m_view.m_pM3D;
    if (!engine)
        GTEST_SKIP() << "no 3D device: " << dlg->m_view.getInitError();
    click(IDC_1CH_3DREND);
    CDlgM3DRendStates* states = CDlgM3DRendStates::shared();
    ASSERT_NE(states, nullptr);
    EXPECT_TRUE(states->IsWindowVisible());
    CWinTestDriver::SelectComboItem(&states->m_cmbFill, 1);
    CWinTestDriver::SelectComboItem(&states->m_cmbCull, 1);
    EXPECT_EQ(engine->m_fillWireframe, 1);
    EXPECT_EQ(engine->m_cullMode, 1);
    CWinTestDriver::TypeText(states->GetDlgItem(4099), u"300");
    CWinTestDriver::Click(states->GetDlgItem(4102));
    EXPECT_FLOAT_EQ(engine->m_bgColor[0], 1.0f);
    EXPECT_EQ(states->m_bgRed, 255);
}

// The information line reads the channel shown and the latency and frequency of the point the
// host linked: 10 ms per time index from 0 ms, 4 Hz + 2 Hz per frequency index.
TEST_F(OneChnlTest, InfoLineReadsChannelAndLinkedPoint) {
    const auto g = GridDataSet::ramp(8, 4, 0.0, 1.0);
    open({g, g, g});
    CWinTestDriver::SelectComboItem(&dlg->m_cmbChannel, 2);
    click(IDC_1CH_INFO);
    ASSERT_EQ(rnd().showInfo, 1);
    rnd().timePos = 6;
    rnd().freqPos = 1;
    rnd().linkContourmap2OneShow();
    EXPECT_EQ(
        dlg->m_view.infoLine().ToUtf8(),
        CString(u"MEG2  |  Active  |  Real Data  |  MEG Sensor  |  60 ms, 6.0 Hz  |  Real part (T)")
            .ToUtf8());
    CWinTestDriver::SelectComboItem(&dlg->m_cmbComponent, 2);
    CWinTestDriver::SelectComboItem(&dlg->m_cmbShowSource, 6);
    CWinTestDriver::SelectComboItem(&dlg->m_cmbChannel, 0);
    rnd().timePos = 2;
    rnd().freqPos = 3;
    rnd().linkContourmap2OneShow();
    EXPECT_EQ(dlg->m_view.infoLine().ToUtf8(),
              CString(u"MEG0  |  Active  |  Power/Phase  |  Root-Mean-Square  |  20 ms, 10.0 Hz  | "
                      u" Power (T\u00B2)")
                  .ToUtf8());
}

// The source box and the information line name the kind of sensor shown: an electrode of an
// EEG recording is no MEG sensor; the selection stays when the channel changes kind.
TEST_F(OneChnlTest, SourceBoxNamesTheKindOfSensorShown) {
    CMEDataSetBuilder b(data.data);
    int s = 0, t = 0;
    ASSERT_TRUE(b.addSession(&s));
    ASSERT_TRUE(b.addTrial(s, &t));
    const double pos[3] = {0.0, 0.0, 0.1}, normal[3] = {0.0, 0.0, 1.0};
    ASSERT_TRUE(b.addEegChannel(s, u"", CEEGelectrodezq("Cz", pos)));
    CMEGSensorzq sensor("MEG1", CMEGSensor::Magnetometer);
    sensor.addCoil(CBscMagSnszq(pos, normal));
    ASSERT_TRUE(b.addMegChannel(s, u"", sensor));
    const auto g = GridDataSet::ramp(8, 4, 0.0, 1.0);
    data.setSpectra(s, t, 8, 4, {g, g});
    face = std::make_unique<CVelmoraFacezq>();
    ASSERT_EQ(face->show3DOneChnlSpctmAct(&data.data, noCallback, nullptr), 1);
    dlg = face->m_pDlgOneChnlAct;
    const auto item0 = [&] {
        CString text;
        dlg->m_cmbShowSource.GetLBText(0, text);
        return text.ToUtf8();
    };
    EXPECT_EQ(item0(), "EEG Electrode");
    EXPECT_EQ(dlg->m_cmbShowSource.GetCurSel(), 0);
    EXPECT_NE(dlg->m_view.infoLine().ToUtf8().find("Cz  |  Active  |  Real Data  |  EEG Electrode"),
              std::string::npos)
        << dlg->m_view.infoLine().ToUtf8();
    CWinTestDriver::SelectComboItem(&dlg->m_cmbChannel, 1);
    EXPECT_EQ(item0(), "MEG Sensor");
    EXPECT_EQ(dlg->m_cmbShowSource.GetCurSel(), 0);
    CWinTestDriver::SelectComboItem(&dlg->m_cmbShowSource, 3);
    CWinTestDriver::SelectComboItem(&dlg->m_cmbChannel, 0);
    EXPECT_EQ(item0(), "EEG Electrode");
    EXPECT_EQ(dlg->m_cmbShowSource.GetCurSel(), 3);
}

// The first picture after the facade's show already names the channel and the linked point:
// it is the picture that a key press, which binds the view's data again, leaves unchanged.
TEST_F(OneChnlTest, FirstPictureAfterShowNamesChannelAndLinkedPoint) {
    const auto g = GridDataSet::ramp(8, 4, 0.0, 1.0);
    data.build(8, 4, {g, g});
    data.trial()->setCurrentChannel(1);
    face = std::make_unique<CVelmoraFacezq>();
    ASSERT_EQ(face->checkInitMEGSpctm3DRnd(&data.data), 1);
    rnd().showInfo = 1;
    rnd().timePos = 5;
    rnd().freqPos = 2;
    rnd().linkContourmap2OneShow();
    ASSERT_EQ(face->show3DOneChnlSpctmAct(&data.data, noCallback, nullptr), 1);
    dlg = face->m_pDlgOneChnlAct;
    EXPECT_EQ(
        dlg->m_view.infoLine().ToUtf8(),
        CString(u"MEG1  |  Active  |  Real Data  |  MEG Sensor  |  50 ms, 8.0 Hz  |  Real part (T)")
            .ToUtf8());
    int w = 0, h = 0;
    const std::vector<std::uint32_t> first = CWinTestDriver::GrabClient(&dlg->m_view, &w, &h);
    ASSERT_FALSE(first.empty());
    CWinTestDriver::KeyPress(&dlg->m_view, 'A');
    EXPECT_EQ(
        dlg->m_view.infoLine().ToUtf8(),
        CString(u"MEG1  |  Active  |  Real Data  |  MEG Sensor  |  50 ms, 8.0 Hz  |  Real part (T)")
            .ToUtf8());
    EXPECT_TRUE(CWinTestDriver::GrabClient(&dlg->m_view, &w, &h) == first)
        << "the first picture differs from the one after a key press";
}

// A host that changes the frequencies, then the time points, of the trial shown and has the
// surface rebuilt gets strips of each new size in the open window.
TEST_F(OneChnlTest, ChangedAxesUnderTheOpenWindowGiveStripsOfTheNewSize) {
    open({GridDataSet::ramp(8, 4, 0.0, 1.0)});
    dlg->m_view.UpdateWindow();
    const std::pair<long long, long long> sizes[] = {{8, 6}, {8, 3}, {12, 3}, {5, 3}, {6, 5}};
    for (const auto& [T, F] : sizes) {
        SCOPED_TRACE(std::to_string(T) + " x " + std::to_string(F));
        data.setSpectra(0, 0, T, F, {GridDataSet::ramp(T, F, 0.0, 1.0)});
        click(IDC_1CH_APPLY);
        dlg->m_view.UpdateWindow();
        const COneSpctm3DVtx* grid = dlg->m_view.m_pVtx;
        ASSERT_NE(grid, nullptr);
        ASSERT_EQ(grid->stripCount, F - 1);
        for (long long f = 0; f < grid->stripCount; ++f)
            EXPECT_EQ(grid->strips[f].m_nVtxCapacity, 2 * T);
        EXPECT_EQ(grid->combined.m_nVtx, (F - 1) * 2 * (T - 1) + 2 * (F - 2));
    }
}

// The drags and the wheel go the way the mouse goes: "Move" carries the surface with it, the
// wheel turned away from the user and "ZOOM" dragged up enlarge it, "Rotate" turns the near
// edge of the surface (its lower side on the screen) with the mouse.
TEST_F(OneChnlTest, DragsAndWheelGoTheWayTheMouseGoes) {
    open({std::vector<double>(16 * 8, 1.0)}, 16, 8);
    if (!dlg->m_view.m_pM3D)
        GTEST_SKIP() << "no 3D device: " << dlg->m_view.getInitError();
    // A square base seen obliquely from the front, as the window opens; without the axes,
    // whose lines and labels would count as surface.
    dlg->m_view.showAxes(false);
    CWinTestDriver::TypeText(dlg->GetDlgItem(IDC_1CH_ANTPOST), u"2");
    click(IDC_1CH_APPLY);
    // Smaller than the fitted view, so that zooming in stays inside the picture.
    wheel(-2 * WHEEL_DELTA);
    const Shape start = surface();
    ASSERT_GT(start.count, 1000) << start;

    click(IDC_1CH_MOVE);
    drag(0, -40);
    const Shape up = surface();
    EXPECT_NEAR(up.cy, start.cy - 40, 8) << up;
    EXPECT_NEAR(up.cx, start.cx, 2) << up;
    drag(40, 0);
    const Shape right = surface();
    EXPECT_NEAR(right.cx, up.cx + 40, 8) << right;
    EXPECT_NEAR(right.cy, up.cy, 2) << right;

    wheel(2 * WHEEL_DELTA);
    const Shape wheeledIn = surface();
    EXPECT_GT(wheeledIn.count, right.count * 1.2) << wheeledIn;
    wheel(-4 * WHEEL_DELTA);
    const Shape wheeledOut = surface();
    EXPECT_LT(wheeledOut.count * 1.2, right.count) << wheeledOut;
    click(IDC_1CH_ZOOM);
    drag(0, -40);
    const Shape zoomedIn = surface();
    EXPECT_GT(zoomedIn.count, wheeledOut.count * 1.2) << zoomedIn;
    drag(0, 80);
    EXPECT_LT(surface().count * 1.2, wheeledOut.count);

    click(IDC_1CH_ROTATE);
    const Shape before = surface();
    drag(0, 30);
    const Shape down = surface();
    EXPECT_GT(down.height(), before.height() * 1.1) << "turned towards a view from above: " << down;
    drag(0, -60);
    const Shape turnedUp = surface();
    EXPECT_LT(turnedUp.height() * 1.1, before.height()) << "turned edge-on: " << turnedUp;
    drag(30, 0);
    EXPECT_GT(surface().skew, turnedUp.skew + 10.0) << "the lower side went right";
    drag(-60, 0);
    EXPECT_LT(surface().skew, turnedUp.skew - 10.0) << "the lower side went left";
}

// A V Ratio drag upwards makes the surface taller once applied; downwards flatter.
TEST_F(OneChnlTest, VRatioDragUpRaisesTheSurface) {
    open({GridDataSet::ramp(8, 4, 0.0, 1.0)});
    if (!dlg->m_view.m_pM3D)
        GTEST_SKIP() << "no 3D device: " << dlg->m_view.getInitError();
    // A narrow strip rising along time: its height shows in the picture's proportions.
    CWinTestDriver::TypeText(dlg->GetDlgItem(IDC_1CH_ANTPOST), u"0.5");
    CWinTestDriver::TypeText(dlg->GetDlgItem(IDC_1CH_VRATIO), u"1");
    click(IDC_1CH_APPLY);
    const Shape start = surface();
    const auto aspect = [](const Shape& s) { return static_cast<double>(s.height()) / s.width(); };
    click(IDC_1CH_MOVEWAVE);
    drag(0, -3);
    drag(0, -3);
    EXPECT_DOUBLE_EQ(dlg->m_view.m_vRatio, 2.25);
    click(IDC_1CH_APPLY);
    const Shape raised = surface();
    EXPECT_GT(aspect(raised), aspect(start) * 1.15) << start << " then " << raised;
    for (int k = 0; k < 4; ++k)
        drag(0, 3);
    EXPECT_DOUBLE_EQ(dlg->m_view.m_vRatio, 2.25 / 1.5 / 1.5 / 1.5 / 1.5);
    click(IDC_1CH_APPLY);
    const Shape flattened = surface();
    EXPECT_LT(aspect(flattened) * 1.08, aspect(start)) << start << " then " << flattened;
}

TEST_F(OneChnlTest, ApplyAndRefreshWithoutEditingKeepTheScalesExactly) {
    open({GridDataSet::ramp(8, 4, 0.0, 1.0)});
    rnd().scaleTime = 0.123456789;
    rnd().scaleFreq = 1.0 / 3.0;
    rnd().scaleValue = 2.0 / 7.0;
    dlg->updateDlgShow();
    CString shown;
    dlg->GetDlgItemText(IDC_1CH_LEFTRIGHT, shown);
    EXPECT_EQ(shown, u"0.123457");
    for (int button : {IDC_1CH_APPLY, IDC_1CH_REFRESH, IDC_1CH_APPLY}) {
        click(button);
        EXPECT_EQ(rnd().scaleTime, 0.123456789);
        EXPECT_EQ(rnd().scaleFreq, 1.0 / 3.0);
        EXPECT_EQ(rnd().scaleValue, 2.0 / 7.0);
    }
    // An edited box is read as typed.
    CWinTestDriver::TypeText(dlg->GetDlgItem(IDC_1CH_LEFTRIGHT), u"2.5");
    click(IDC_1CH_APPLY);
    EXPECT_EQ(rnd().scaleTime, 2.5);
    EXPECT_EQ(rnd().scaleFreq, 1.0 / 3.0);
    EXPECT_EQ(messages.Count(), 0);
}

TEST_F(OneChnlTest, ViewMenuTogglesAxesAndTopView) {
    open({GridDataSet::ramp(8, 4, 0.0, 1.0)});
    CStatOneChnlSpctm3Dzq& view = dlg->m_view;
    view.UpdateWindow();
    CM3Dzq* e = view.m_pM3D;
    if (!e)
        GTEST_SKIP() << "no 3D device";
    auto checked = [&] {
        return (dlg->m_menu.GetMenuState(ID_1CH_AXES, MF_BYCOMMAND) & MF_CHECKED) != 0;
    };
    auto repaint = [&] {
        view.Invalidate(FALSE);
        view.UpdateWindow();
    };
    EXPECT_TRUE(view.axesShown());
    EXPECT_TRUE(checked());
    EXPECT_FALSE(view.axes().labels().empty());
    ASSERT_TRUE(CWinTestDriver::PickMenuItem(dlg, ID_1CH_AXES));
    repaint();
    EXPECT_FALSE(view.axesShown());
    EXPECT_FALSE(checked());
    EXPECT_TRUE(view.axes().labels().empty());
    ASSERT_TRUE(CWinTestDriver::PickMenuItem(dlg, ID_1CH_AXES));
    EXPECT_TRUE(view.axesShown());

    // It opens oblique; the top view and back returns to the same orientation.
    EXPECT_FALSE(view.isTopView());
    e->m_archBall.zoomBy(1.5f);
    const CTRSmArchBallzq before = e->m_archBall;
    ASSERT_TRUE(CWinTestDriver::PickMenuItem(dlg, ID_1CH_TOPVIEW));
    EXPECT_TRUE(view.isTopView());
    EXPECT_FLOAT_EQ(e->m_viewAngle, -90.0f);
    EXPECT_GE(e->m_archBall.m_zoom, 1.0f) << "zoomed to the map, not the user's";
    EXPECT_NE(e->m_archBall.m_zoom, 1.5f);
    ASSERT_TRUE(CWinTestDriver::PickMenuItem(dlg, ID_1CH_TOPVIEW));
    EXPECT_FALSE(view.isTopView());
    for (int k = 0; k < 4; ++k)
        EXPECT_EQ(e->m_archBall.m_quat[k], before.m_quat[k]);
    EXPECT_EQ(e->m_archBall.m_zoom, before.m_zoom);

    // T over the view does the same; typed into a box it is text.
    CWinTestDriver::KeyPress(&view, 'T');
    EXPECT_TRUE(view.isTopView());
    CWinTestDriver::KeyPress(&view, 'T');
    EXPECT_FALSE(view.isTopView());
    CWinTestDriver::KeyPress(dlg->GetDlgItem(IDC_1CH_VPEAK), 'T');
    EXPECT_FALSE(view.isTopView());
    // Escape gives the map from above too; T then returns to the opening view.
    CWinTestDriver::KeyPress(&view, VK_ESCAPE);
    EXPECT_TRUE(view.isTopView());
    CWinTestDriver::KeyPress(&view, 'T');
    EXPECT_FALSE(view.isTopView());
}

} // namespace
