// Controls and window geometry the dialogs build on: combo lists, scroll-bar positions driven by
// the parent, timers, capture, coordinates, visibility, dialog units and module lookup order.
#include "WinFixture.h"
#include "resource.h"

#include <string>
#include <vector>

namespace {

// Two copies of one dialog that differ only in the template font, and a dialog that shadows
// one of the display library's templates while its module is registered.
const char controlsScript[] = R"(
7001 DIALOGEX 0, 0, 200, 120
STYLE DS_SETFONT | WS_POPUP | WS_CAPTION
CAPTION "Small"
FONT 8, "MS Shell Dlg"
BEGIN
    COMBOBOX        7010, 10, 10, 80, 60, CBS_DROPDOWNLIST | CBS_SORT | WS_VSCROLL
    COMBOBOX        7011, 100, 10, 80, 60, CBS_DROPDOWNLIST | WS_VSCROLL
    SCROLLBAR       7012, 10, 40, 150, 10
    LTEXT           "Label", 7013, 10, 60, 60, 10
    EDITTEXT        7014, 100, 60, 60, 14
END
7002 DIALOGEX 0, 0, 200, 120
STYLE DS_SETFONT | WS_POPUP | WS_CAPTION
CAPTION "Large"
FONT 16, "MS Shell Dlg"
BEGIN
    COMBOBOX        7010, 10, 10, 80, 60, CBS_DROPDOWNLIST | CBS_SORT | WS_VSCROLL
    COMBOBOX        7011, 100, 10, 80, 60, CBS_DROPDOWNLIST | WS_VSCROLL
    SCROLLBAR       7012, 10, 40, 150, 10
    LTEXT           "Label", 7013, 10, 60, 60, 10
    EDITTEXT        7014, 100, 60, 60, 14
END
3902 DIALOGEX 0, 0, 100, 50
STYLE DS_SETFONT | WS_POPUP | WS_CAPTION
CAPTION "Shadow"
FONT 8, "MS Shell Dlg"
BEGIN
    LTEXT           "Only here", 7013, 5, 5, 60, 10
END
)";

constexpr int kSorted = 7010, kPlain = 7011, kBar = 7012, kLabel = 7013, kEdit = 7014;

// A parent that moves its scroll bar the usual way: lines by one, pages by the page size.
class CScrollingDialog : public CRecordingDialog {
protected:
    afx_msg void OnHScroll(UINT nSBCode, UINT nPos, CScrollBar* pScrollBar) {
        SCROLLINFO si{sizeof(SCROLLINFO), SIF_ALL, 0, 0, 0, 0, 0};
        pScrollBar->GetScrollInfo(&si);
        const int page = static_cast<int>(si.nPage);
        const int moves[] = {-1, 1, -page, page};
        if (nSBCode <= SB_PAGERIGHT) {
            pScrollBar->SetScrollPos(si.nPos + moves[nSBCode]);
        } else if (nSBCode == SB_THUMBTRACK || nSBCode == SB_THUMBPOSITION) {
            pScrollBar->SetScrollPos(static_cast<int>(nPos));
        } else if (nSBCode == SB_LEFT) {
            pScrollBar->SetScrollPos(si.nMin);
        } else if (nSBCode == SB_RIGHT) {
            pScrollBar->SetScrollPos(si.nMax);
        }
    }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CScrollingDialog, CRecordingDialog)
ON_WM_HSCROLL()
END_MESSAGE_MAP()

class WinControls : public WinFixture {
protected:
    void SetUp() override {
        WinFixture::SetUp();
        if (IsSkipped()) {
            return;
        }
        ASSERT_TRUE(AfxInitExtensionModule(module, nullptr));
        library = new CDynLinkLibrary(module);
        ASSERT_TRUE(dlg.Create(7001));
        dlg.ShowWindow(SW_SHOW);
        dlg.log.clear();
    }
    void TearDown() override {
        dlg.DestroyWindow();
        AfxTermExtensionModule(module);
        WinFixture::TearDown();
    }
    template <class T>
    T* item(int id) {
        return dynamic_cast<T*>(dlg.GetDlgItem(id));
    }
    AFX_EXTENSION_MODULE module = {FALSE, nullptr, controlsScript, "test_win_controls"};
    CDynLinkLibrary* library = nullptr;
    CScrollingDialog dlg;
};

CString text(const CComboBox* combo, int index) {
    CString s;
    combo->GetLBText(index, s);
    return s;
}

TEST_F(WinControls, ComboListKeepsItemDataWithItsItem) {
    auto* plain = item<CComboBox>(kPlain);
    ASSERT_NE(plain, nullptr);
    EXPECT_EQ(plain->AddString(u"MEG"), 0);
    EXPECT_EQ(plain->AddString(u"EEG"), 1);
    EXPECT_EQ(plain->InsertString(0, u"All"), 0);
    EXPECT_EQ(plain->InsertString(-1, u"Trigger"), 3);
    EXPECT_EQ(plain->InsertString(9, u"Beyond"), CB_ERR);
    EXPECT_EQ(plain->GetCount(), 4);
    EXPECT_EQ(text(plain, 1), u"MEG");
    EXPECT_EQ(plain->GetLBTextLen(3), 7);
    EXPECT_EQ(plain->GetLBTextLen(4), CB_ERR);
    EXPECT_EQ(plain->GetLBTextLen(-1), CB_ERR);
    EXPECT_EQ(text(plain, 7), u"") << "a bad index leaves the text empty";

    plain->SetItemData(1, 100);
    plain->SetItemData(2, 200);
    EXPECT_EQ(plain->SetItemData(4, 1), CB_ERR);
    EXPECT_EQ(plain->InsertString(1, u"µV"), 1);
    EXPECT_EQ(plain->GetItemData(2), 100u) << "item data moves with its item";
    EXPECT_EQ(plain->GetItemData(1), 0u);
    EXPECT_EQ(plain->DeleteString(0), 4);
    EXPECT_EQ(plain->DeleteString(4), CB_ERR);
    EXPECT_EQ(text(plain, 0), u"µV");
    EXPECT_EQ(plain->GetItemData(2), 200u);
    EXPECT_EQ(plain->FindStringExact(-1, u"eeg"), 2) << "exact search ignores case";
    EXPECT_EQ(plain->FindStringExact(-1, u"EE"), CB_ERR);

    EXPECT_EQ(plain->SetCurSel(2), 2);
    plain->ResetContent();
    EXPECT_EQ(plain->GetCount(), 0);
    EXPECT_EQ(plain->GetCurSel(), CB_ERR);
    EXPECT_EQ(plain->GetItemData(0), static_cast<DWORD_PTR>(CB_ERR));
    EXPECT_TRUE(dlg.log.empty());

    auto* sorted = item<CComboBox>(kSorted);
    EXPECT_EQ(sorted->AddString(u"Theta"), 0);
    EXPECT_EQ(sorted->AddString(u"Alpha"), 0);
    EXPECT_EQ(sorted->AddString(u"Delta"), 1);
    sorted->SetItemData(0, 8);
    EXPECT_EQ(sorted->AddString(u"Beta"), 1);
    EXPECT_EQ(sorted->GetItemData(0), 8u);
    EXPECT_EQ(text(sorted, 3), u"Theta");
}

struct BarCase {
    int pos;
    UINT code;
    int thumb;
    int expected;
};

class ScrollMoves : public WinControls, public ::testing::WithParamInterface<BarCase> {};

TEST_P(ScrollMoves, ParentMovesBarWithinLimit) {
    auto* bar = item<CScrollBar>(kBar);
    ASSERT_NE(bar, nullptr);
    SCROLLINFO si{
        sizeof(SCROLLINFO), SIF_RANGE | SIF_PAGE | SIF_POS, 10, 110, 20, GetParam().pos, 0};
    ASSERT_TRUE(bar->SetScrollInfo(&si));
    EXPECT_EQ(bar->GetScrollLimit(), 91);
    CWinTestDriver::ScrollAction(bar, GetParam().code, GetParam().thumb);
    EXPECT_EQ(bar->GetScrollPos(), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Codes, ScrollMoves,
    ::testing::Values(BarCase{50, SB_LINELEFT, 0, 49}, BarCase{10, SB_LINELEFT, 0, 10},
                      BarCase{50, SB_LINERIGHT, 0, 51}, BarCase{91, SB_LINERIGHT, 0, 91},
                      BarCase{50, SB_PAGELEFT, 0, 30}, BarCase{15, SB_PAGELEFT, 0, 10},
                      BarCase{80, SB_PAGERIGHT, 0, 91}, BarCase{50, SB_LEFT, 0, 10},
                      BarCase{50, SB_RIGHT, 0, 91}, BarCase{50, SB_THUMBTRACK, 60, 60}),
    ([](const auto& info) {
        const char* const codes[] = {"LineLeft",  "LineRight",     "PageLeft",
                                     "PageRight", "ThumbPosition", "ThumbTrack",
                                     "Left",      "Right",         "EndScroll"};
        const UINT code = info.param.code;
        return (code < 9 ? codes[code] : "OtherCode") + std::string("From") +
               std::to_string(info.param.pos);
    }));

TEST_F(WinControls, ScrollInfoClampsAndReadsBack) {
    auto* bar = item<CScrollBar>(kBar);
    bar->SetScrollRange(0, 100);
    bar->SetScrollPos(80);
    bar->SetScrollRange(0, 50);
    EXPECT_EQ(bar->GetScrollPos(), 50) << "a shrunk range pulls the position in";
    SCROLLINFO si{sizeof(SCROLLINFO), SIF_PAGE, 0, 0, 200, 0, 0};
    bar->SetScrollInfo(&si);
    SCROLLINFO back{sizeof(SCROLLINFO), SIF_ALL, 0, 0, 0, 0, 0};
    ASSERT_TRUE(bar->GetScrollInfo(&back));
    EXPECT_EQ(back.nMin, 0);
    EXPECT_EQ(back.nMax, 50);
    EXPECT_EQ(back.nPage, 51u) << "the page is kept within the range";
    EXPECT_EQ(back.nPos, 0);
    EXPECT_EQ(bar->SetScrollPos(30), 0);
    EXPECT_EQ(bar->GetScrollPos(), 0);
}

TEST_F(WinControls, SetTimerRestartsWithNewPeriodWithinLimits) {
    EXPECT_EQ(dlg.SetTimer(7, 500, nullptr), 7u);
    EXPECT_EQ(dlg.SetTimer(7, 250, nullptr), 7u);
    EXPECT_EQ(CWinTestDriver::TimerPeriod(&dlg, 7), 250u) << "the same id replaces the period";
    dlg.SetTimer(8, 0xFFFFFFFFu, nullptr);
    EXPECT_EQ(CWinTestDriver::TimerPeriod(&dlg, 8), USER_TIMER_MAXIMUM);
    EXPECT_TRUE(CWinTestDriver::FireTimer(&dlg, 8));
    EXPECT_TRUE(CWinTestDriver::FireTimer(&dlg, 7));
    ASSERT_EQ(dlg.log.size(), 2u);
    EXPECT_EQ(dlg.log[0], "timer:8:0");
    EXPECT_TRUE(dlg.KillTimer(7));
    EXPECT_FALSE(CWinTestDriver::HasTimer(&dlg, 7));
    EXPECT_TRUE(CWinTestDriver::HasTimer(&dlg, 8));
    EXPECT_EQ(CWinTestDriver::TimerPeriod(&dlg, 7), 0u);
    dlg.DestroyWindow();
    EXPECT_FALSE(CWinTestDriver::HasTimer(&dlg, 8)) << "timers die with the window";
    EXPECT_EQ(dlg.SetTimer(9, 100, nullptr), 0u);
}

TEST_F(WinControls, CaptureTakesMovesFromOverChildrenAndOutside) {
    CWnd* label = dlg.GetDlgItem(kLabel);
    CWnd* edit = dlg.GetDlgItem(kEdit);
    CRect from, over;
    label->GetWindowRect(&from);
    edit->GetWindowRect(&over);
    dlg.ScreenToClient(&from);
    dlg.ScreenToClient(&over);
    CWinTestDriver::MouseDown(&dlg, from.CenterPoint());
    EXPECT_EQ(CWnd::GetCapture(), &dlg);
    CWinTestDriver::MouseMove(&dlg, over.CenterPoint(), MK_LBUTTON);
    CWinTestDriver::MouseMove(&dlg, CPoint(-15, -7), MK_LBUTTON);
    CWinTestDriver::MouseUp(&dlg, CPoint(-15, -7));
    ASSERT_EQ(dlg.log.size(), 4u);
    const CPoint c = over.CenterPoint();
    EXPECT_EQ(dlg.log[1], "move:" + std::to_string(c.x) + ":" + std::to_string(c.y))
        << "a move over another control goes to the capturing dialog";
    EXPECT_EQ(dlg.log[2], "move:-15:-7");
    EXPECT_EQ(dlg.log[3], "up:-15:-7");
    EXPECT_EQ(CWnd::GetCapture(), nullptr);

    EXPECT_EQ(edit->SetCapture(), nullptr);
    EXPECT_EQ(dlg.SetCapture(), edit) << "SetCapture returns the previous holder";
    EXPECT_TRUE(ReleaseCapture());
    EXPECT_EQ(CWnd::GetCapture(), nullptr);
}

TEST_F(WinControls, CoordinatesRoundTripAndMoveResizes) {
    dlg.MoveWindow(40, 30, 420, 260);
    CWinTestDriver::ProcessEvents();
    CRect client, frame;
    dlg.GetClientRect(&client);
    dlg.GetWindowRect(&frame);
    EXPECT_EQ(frame, CRect(40, 30, 460, 290));
    EXPECT_EQ(client.TopLeft(), CPoint(0, 0));
    EXPECT_LE(client.Width(), 420);
    EXPECT_EQ(dlg.log.back(),
              "size:" + std::to_string(client.Width()) + ":" + std::to_string(client.Height()));

    CWnd* edit = dlg.GetDlgItem(kEdit);
    edit->MoveWindow(12, 34, 56, 20);
    CRect placed;
    edit->GetWindowRect(&placed);
    dlg.ScreenToClient(&placed);
    EXPECT_EQ(placed, CRect(12, 34, 68, 54)) << "a child's position is in parent client space";
    CRect inner;
    edit->GetClientRect(&inner);
    EXPECT_EQ(inner.TopLeft(), CPoint(0, 0));
    EXPECT_LE(inner.Width(), 56);

    CPoint p(3, 4);
    edit->ClientToScreen(&p);
    CPoint q = p;
    dlg.ScreenToClient(&q);
    EXPECT_TRUE(placed.PtInRect(q)) << "the edit's client lies inside its window";
    edit->ScreenToClient(&p);
    EXPECT_EQ(p, CPoint(3, 4));
    CRect r(-5, -6, 70, 80);
    dlg.ClientToScreen(&r);
    dlg.ScreenToClient(&r);
    EXPECT_EQ(r, CRect(-5, -6, 70, 80));
}

TEST_F(WinControls, VisibilityFollowsParent) {
    CWnd* label = dlg.GetDlgItem(kLabel);
    EXPECT_TRUE(label->IsWindowVisible());
    EXPECT_TRUE(label->ShowWindow(SW_HIDE)) << "returns whether it was visible";
    EXPECT_FALSE(label->IsWindowVisible());
    EXPECT_FALSE(label->ShowWindow(SW_SHOW));
    dlg.ShowWindow(SW_HIDE);
    EXPECT_FALSE(label->IsWindowVisible()) << "a child of a hidden dialog is not visible";
    EXPECT_TRUE(label->GetStyle() & WS_VISIBLE);
    dlg.ShowWindow(SW_SHOW);
    EXPECT_TRUE(label->IsWindowVisible());
}

TEST_F(WinControls, ControlsScaleWithTemplateFont) {
    CRecordingDialog large;
    ASSERT_TRUE(large.Create(7002));
    CRect smallDlu(10, 40, 160, 50), largeDlu = smallDlu;
    dlg.MapDialogRect(&smallDlu);
    large.MapDialogRect(&largeDlu);
    EXPECT_GT(largeDlu.Width(), smallDlu.Width());
    EXPECT_GT(largeDlu.Height(), smallDlu.Height());
    // Origin and size map separately, as CreateWindow gets them.
    for (CDialog* d : {static_cast<CDialog*>(&dlg), static_cast<CDialog*>(&large)}) {
        CRect origin(10, 40, 10, 40), size(0, 0, 150, 10), actual;
        d->MapDialogRect(&origin);
        d->MapDialogRect(&size);
        d->GetDlgItem(kBar)->GetWindowRect(&actual);
        d->ScreenToClient(&actual);
        EXPECT_EQ(actual.TopLeft(), origin.TopLeft()) << "template " << d->GetTemplateId();
        EXPECT_EQ(actual.Size(), size.Size()) << "template " << d->GetTemplateId();
    }
    CRect smallClient, largeClient;
    dlg.GetClientRect(&smallClient);
    large.GetClientRect(&largeClient);
    EXPECT_GT(largeClient.Width(), smallClient.Width());
}

TEST_F(WinControls, LatestModuleShadowsTemplateUntilRemoved) {
    CString caption;
    {
        CDialogEx shadowed;
        ASSERT_TRUE(shadowed.Create(IDD_SPCTM_STDSET));
        shadowed.GetWindowText(caption);
        EXPECT_EQ(caption, u"Shadow");
        EXPECT_NE(shadowed.GetDlgItem(kLabel), nullptr);
    }
    dlg.DestroyWindow();
    AfxTermExtensionModule(module);
    CDialogEx original;
    ASSERT_TRUE(original.Create(IDD_SPCTM_STDSET));
    original.GetWindowText(caption);
    EXPECT_EQ(caption, u"Standard Display Parameters for 3D Spectrum");
    CDialogEx gone;
    EXPECT_FALSE(gone.Create(7001)) << "the module's own templates go with it";
}

TEST_F(WinFixture, MenuStateDecidesWhatAPickSends) {
    CRecordingDialog view;
    ASSERT_TRUE(view.Create(IDD_SPCTM_CONTOURMAP_3D));
    view.ShowWindow(SW_SHOW);
    CMenu* menu = view.GetMenu();
    ASSERT_NE(menu, nullptr);
    view.log.clear();
    EXPECT_EQ(menu->EnableMenuItem(4026, MF_GRAYED), MF_ENABLED);
    EXPECT_FALSE(CWinTestDriver::PickMenuItem(&view, 4026));
    EXPECT_TRUE(view.log.empty()) << "a greyed item sends nothing";
    EXPECT_EQ(menu->EnableMenuItem(4026, MF_ENABLED), MF_GRAYED);
    EXPECT_TRUE(CWinTestDriver::PickMenuItem(&view, 4026));
    EXPECT_EQ(view.log, std::vector<std::string>{"menu:4026:0"});
    EXPECT_EQ(menu->CheckMenuItem(4027, MF_CHECKED), MF_UNCHECKED);
    EXPECT_EQ(menu->GetMenuState(4027, MF_BYCOMMAND) & MF_CHECKED, MF_CHECKED);
    EXPECT_EQ(menu->CheckMenuItem(4027, MF_UNCHECKED), MF_CHECKED);
    EXPECT_FALSE(CWinTestDriver::PickMenuItem(&view, 9999));
    EXPECT_EQ(menu->GetMenuState(9999, MF_BYCOMMAND), static_cast<UINT>(-1));
}

} // namespace
