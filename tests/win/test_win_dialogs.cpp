// Dialogs from the resource script (checked and grabbed to PNG) and a subclassed static that
// paints an image with text over it, as a 3D view does.
#include "WinFixture.h"
#include "resource.h"

#include <QImage>
#include <cstdint>
#include <vector>

namespace {

// A picture control like the views: paints a gradient frame and a text line at the bottom.
class CTestView : public CStatic {
public:
    int paints = 0;
    std::uint32_t leftAlpha = 0xFF; // alpha of the frame's left half

protected:
    afx_msg void OnPaint() {
        ++paints;
        CRect r;
        GetClientRect(&r);
        std::vector<std::uint32_t> frame(static_cast<size_t>(r.Width() * r.Height()));
        for (int y = 0; y < r.Height(); ++y) {
            for (int x = 0; x < r.Width(); ++x) {
                const std::uint32_t alpha = 2 * x < r.Width() ? leftAlpha : 0xFFu;
                frame[static_cast<size_t>(y * r.Width() + x)] =
                    RGB(x * 255 / r.Width(), 40, y * 255 / r.Height()) | alpha << 24;
            }
        }
        SetFrameImage(frame.data(), r.Width(), r.Height());
        CPaintDC dc(this);
        const COLORREF text = dc.SetTextColor(RGB(255, 255, 255));
        const COLORREF back = dc.SetBkColor(RGB(0, 0, 0));
        CString line;
        line.Format(u"Time:%0.1f~%0.1fms(%I64d->%I64d)", 0.0, 120.0, 0LL, 250LL);
        const CSize extent = dc.GetTextExtent(line);
        dc.TextOut(0, r.Height() - extent.cy, line);
        dc.SetTextColor(text);
        dc.SetBkColor(back);
    }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CTestView, CStatic)
ON_WM_PAINT()
END_MESSAGE_MAP()

class CViewDialog : public CDialogEx {
public:
    CTestView view;

protected:
    void DoDataExchange(CDataExchange* pDX) override { DDX_Control(pDX, IDC_CM_VIEW, view); }
};

struct TemplateCase {
    UINT id;
    const char16_t* caption;
    int controlId;
    const char16_t* controlText;
    RECT controlDlu;
    const char* png;
};

class DialogTemplates : public WinFixture, public ::testing::WithParamInterface<TemplateCase> {};

TEST_P(DialogTemplates, BuiltFromScriptAndGrabbed) {
    const TemplateCase& c = GetParam();
    CDialogEx dlg;
    ASSERT_TRUE(dlg.Create(c.id));
    EXPECT_FALSE(dlg.IsWindowVisible()) << "templates without WS_VISIBLE start hidden";
    dlg.ShowWindow(SW_SHOWNORMAL);
    CString text;
    dlg.GetWindowText(text);
    EXPECT_EQ(text, c.caption);
    CWnd* control = dlg.GetDlgItem(c.controlId);
    ASSERT_NE(control, nullptr);
    control->GetWindowText(text);
    EXPECT_EQ(text, c.controlText);
    const RECT& d = c.controlDlu;
    CRect expected(d.left, d.top, d.left, d.top), size(0, 0, d.right - d.left, 0), actual;
    dlg.MapDialogRect(&expected);
    dlg.MapDialogRect(&size);
    control->GetWindowRect(&actual);
    dlg.ScreenToClient(&actual);
    EXPECT_EQ(actual.TopLeft(), expected.TopLeft());
    EXPECT_EQ(actual.Width(), size.Width());
    if (c.id == IDD_SPCTM_ONECHNL_3D) {
        static const std::pair<int, UINT> icons[] = {
            {IDC_1CH_NORMAL, IDI_BTN_NORMAL},    {IDC_1CH_ROTATE, IDI_BTN_ROTATE},
            {IDC_1CH_ZOOM, IDI_BTN_ZOOM},        {IDC_1CH_MOVE, IDI_BTN_MOVE},
            {IDC_1CH_SETTING, IDI_BTN_SETTING},  {IDC_1CH_FITSIZE, IDI_BTN_FITSIZE},
            {IDC_1CH_3DREND, IDI_BTN_3DREND},    {IDC_1CH_MOVEWAVE, IDI_BTN_MOVEWAVE},
            {IDC_1CH_FITCOLOR, IDI_BTN_FITCOLOR}};
        for (const auto& [button, icon] : icons) {
            auto* b = dynamic_cast<CButton*>(dlg.GetDlgItem(button));
            ASSERT_NE(b, nullptr);
            b->SetIcon(AfxLoadIcon(icon));
        }
        EXPECT_FALSE(dlg.GetDlgItem(IDC_1CH_CLASS)->IsWindowEnabled());
    }
    CWinTestDriver::ProcessEvents();
    EXPECT_TRUE(CWinTestDriver::GrabToPng(&dlg, pngPath(c.png).c_str()));
}

INSTANTIATE_TEST_SUITE_P(Script, DialogTemplates,
                         ::testing::Values(TemplateCase{IDD_SPCTM_ONECHNL_3D,
                                                        u"Single Spectral  Map 3D",
                                                        IDC_1CH_FITPEAK,
                                                        u"Fit Peak",
                                                        {551, 27, 593, 41},
                                                        "dialog_3921"},
                                           TemplateCase{IDD_SPCTM_CONTOURMAP_3D,
                                                        u"Spectral 3D Contourmap",
                                                        IDC_CM_AUTOFITPLACE,
                                                        u"Autofit  Place",
                                                        {7, 124, 62, 134},
                                                        "dialog_3933"},
                                           TemplateCase{
                                               IDD_SPCTM_STDSET,
                                               u"Standard Display Parameters for 3D Spectrum",
                                               IDC_SET_TRIAL2SELECT,
                                               u"Set Trial  to Select",
                                               {119, 147, 186, 161},
                                               "dialog_3902"}),
                         [](const auto& info) { return std::string(info.param.png); });

TEST_F(WinFixture, UnknownTemplateFailsQuietly) {
    CDialogEx dlg;
    EXPECT_FALSE(dlg.Create(4711));
    EXPECT_EQ(dlg.GetSafeHwnd(), nullptr);
    EXPECT_FALSE(dlg.UpdateData(TRUE));
}

TEST_F(WinFixture, SubclassedStaticPaintsOnlyWhenInvalid) {
    CViewDialog dlg;
    ASSERT_TRUE(dlg.Create(IDD_SPCTM_CONTOURMAP_3D));
    ASSERT_NE(dlg.view.GetSafeHwnd(), nullptr);
    EXPECT_EQ(dlg.GetDlgItem(IDC_CM_VIEW), &dlg.view) << "DDX_Control subclasses the item";
    EXPECT_STREQ(dlg.view.GetRuntimeClass()->m_lpszClassName, "CStatic");
    EXPECT_TRUE(dlg.view.IsKindOf(RUNTIME_CLASS(CWnd)));
    dlg.ShowWindow(SW_SHOW);
    CWinTestDriver::ProcessEvents();
    const int first = dlg.view.paints;
    EXPECT_GE(first, 1);
    CWinTestDriver::ProcessEvents();
    EXPECT_EQ(dlg.view.paints, first) << "a valid window gets no WM_PAINT";
    dlg.view.Invalidate(FALSE);
    EXPECT_TRUE(dlg.view.GetUpdateRect(nullptr));
    dlg.view.UpdateWindow();
    EXPECT_EQ(dlg.view.paints, first + 1);
    EXPECT_FALSE(dlg.view.GetUpdateRect(nullptr)) << "CPaintDC validates";
    EXPECT_FALSE(dlg.view.SetFrameImage(nullptr, 10, 10));
    EXPECT_TRUE(CWinTestDriver::GrabToPng(&dlg, pngPath("view_paint").c_str()));
}

// Opaque frames show their colours as they are; where a frame is transparent the dialog's
// background shows through, also on the screen's copy of the window.
TEST_F(WinFixture, FramesShowTheirColoursAndTheBackgroundWhereTransparent) {
    CViewDialog dlg;
    ASSERT_TRUE(dlg.Create(IDD_SPCTM_CONTOURMAP_3D));
    dlg.view.leftAlpha = 0;
    dlg.ShowWindow(SW_SHOW);
    CWinTestDriver::ProcessEvents();
    dlg.view.Invalidate(FALSE); // the first paint erases the frame it drew before its CPaintDC
    dlg.view.UpdateWindow();
    CRect view;
    dlg.view.GetClientRect(&view);
    dlg.view.ClientToScreen(&view);
    dlg.ScreenToClient(&view);
    const auto grab = [&dlg](const char* name) {
        const std::string path = pngPath(name);
        return CWinTestDriver::GrabToPng(&dlg, path.c_str()) ? QImage(QString::fromStdString(path))
                                                             : QImage();
    };
    QImage shown = grab("frame_transparent_left");
    ASSERT_FALSE(shown.isNull());
    CRect client; // the grab has the menu bar over the client area
    dlg.GetClientRect(&client);
    view.OffsetRect(shown.width() - client.Width(), shown.height() - client.Height());
    const QPoint left(view.left + view.Width() / 4, view.top + 2);
    const QPoint right(view.left + view.Width() * 3 / 4, view.top + view.Height() / 2);
    const QRgb background = shown.pixel(left);
    EXPECT_EQ(qAlpha(background), 255);
    EXPECT_GT(qGray(background), 150) << "the light dialog background, not the frame or black";
    const QRgb opaque = shown.pixel(right);
    EXPECT_EQ(qRed(opaque), (view.Width() * 3 / 4) * 255 / view.Width());
    EXPECT_EQ(qGreen(opaque), 40);
    EXPECT_EQ(qBlue(opaque), (view.Height() / 2) * 255 / view.Height());

    dlg.view.leftAlpha = 0xFF;
    dlg.view.Invalidate(FALSE);
    dlg.view.UpdateWindow();
    shown = grab("frame_opaque");
    EXPECT_EQ(qGreen(shown.pixel(left)), 40) << "the frame over what showed through before";
    EXPECT_EQ(qRed(shown.pixel(left)), (view.Width() / 4) * 255 / view.Width());
}

TEST_F(WinFixture, SavedPictureReusesAFramePaintedSinceTheLastInvalidation) {
    CViewDialog dlg;
    ASSERT_TRUE(dlg.Create(IDD_SPCTM_CONTOURMAP_3D));
    dlg.ShowWindow(SW_SHOW);
    CWinTestDriver::ProcessEvents();
    const int painted = dlg.view.paints;
    const std::string path = pngPath("saved_view");
    ASSERT_TRUE(AfxSaveWindowImage(&dlg, path.c_str()));
    EXPECT_EQ(dlg.view.paints, painted);
    dlg.view.Invalidate(FALSE);
    ASSERT_TRUE(AfxSaveWindowImage(&dlg.view, path.c_str()));
    EXPECT_EQ(dlg.view.paints, painted + 1) << "an invalid window is painted for its picture";
    const QImage saved(QString::fromStdString(path));
    CRect client;
    dlg.view.GetClientRect(&client);
    ASSERT_EQ(saved.width(), client.Width());
    // The gradient's right end is red, whatever the encoder.
    EXPECT_GT(qRed(saved.pixel(client.Width() - 2, 1)), 240);
    EXPECT_FALSE(AfxSaveWindowImage(&dlg, "/nonexistent-dir/picture.png"));
}

TEST_F(WinFixture, PictureWrittenFromTheKeptPictureEqualsOnePaintedForTheSave) {
    CViewDialog dlg;
    ASSERT_TRUE(dlg.Create(IDD_SPCTM_CONTOURMAP_3D));
    dlg.ShowWindow(SW_SHOW);
    CWinTestDriver::ProcessEvents();
    // The first paint erases after the frame; from now on each paint draws the same.
    dlg.view.Invalidate(FALSE);
    dlg.view.UpdateWindow();
    const int painted = dlg.view.paints;
    const std::string kept = pngPath("view_kept"), repainted = pngPath("view_repainted");
    ASSERT_TRUE(AfxSaveWindowImage(&dlg.view, kept.c_str()));
    EXPECT_EQ(dlg.view.paints, painted);
    dlg.view.Invalidate(FALSE);
    ASSERT_TRUE(AfxSaveWindowImage(&dlg.view, repainted.c_str()));
    EXPECT_EQ(dlg.view.paints, painted + 1);
    const QImage a = QImage(QString::fromStdString(kept)).convertToFormat(QImage::Format_RGB32);
    const QImage b =
        QImage(QString::fromStdString(repainted)).convertToFormat(QImage::Format_RGB32);
    ASSERT_FALSE(a.isNull());
    EXPECT_EQ(a, b) << "the edge and every pixel of the picture as a paint shows them";
}

} // namespace
