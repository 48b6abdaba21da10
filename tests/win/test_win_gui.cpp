// Window-layer semantics that the dialogs rely on: notifications, data exchange, scroll codes,
// timers, capture, pre-translation, message boxes, menus and cursors.
#include "TestName.h"
#include "WinFixture.h"
#include "resource.h"

#include <algorithm>
#include <utility>

namespace {

class WinSemantics : public WinFixture {
protected:
    void SetUp() override {
        WinFixture::SetUp();
        if (IsSkipped()) {
            return;
        }
        ASSERT_TRUE(dlg.Create(IDD_SPCTM_STDSET));
        dlg.ShowWindow(SW_SHOW);
        dlg.log.clear();
    }
    template <class T>
    T* item(int id) {
        return dynamic_cast<T*>(dlg.GetDlgItem(id));
    }
    size_t count(const std::string& entry) const {
        return static_cast<size_t>(std::count(dlg.log.begin(), dlg.log.end(), entry));
    }
    CRecordingDialog dlg;
};

TEST_F(WinSemantics, NotifiesOnlyForUserChangesExceptEditText) {
    auto* combo = item<CComboBox>(IDC_SET_CLASS);
    ASSERT_NE(combo, nullptr);
    EXPECT_EQ(combo->AddString(u"Active"), 0);
    EXPECT_EQ(combo->AddString(u"Control"), 1);
    EXPECT_EQ(combo->GetCurSel(), CB_ERR) << "adding items selects nothing";
    EXPECT_EQ(combo->SetCurSel(1), 1);
    EXPECT_EQ(combo->SetCurSel(5), CB_ERR);
    EXPECT_EQ(combo->SetItemData(1, 42), 0);
    EXPECT_EQ(combo->GetItemData(1), 42u);
    EXPECT_EQ(combo->GetItemData(9), static_cast<DWORD_PTR>(CB_ERR));
    auto* check = item<CButton>(IDC_SET_POLARITY);
    check->SetCheck(BST_CHECKED);
    EXPECT_TRUE(dlg.log.empty()) << "programmatic selection and check send nothing";

    CWinTestDriver::SelectComboItem(combo, 0);
    CWinTestDriver::Click(check);
    EXPECT_EQ(count("selchange"), 1u);
    EXPECT_EQ(count("clicked"), 1u);
    EXPECT_EQ(check->GetCheck(), BST_UNCHECKED) << "an auto check box toggles on click";

    CWnd* edit = dlg.GetDlgItem(IDC_SET_SELECTMIN);
    edit->SetWindowText(u"12");
    edit->SetWindowText(u"12");
    EXPECT_EQ(count("enchange"), 1u) << "set text notifies once, unchanged text not at all";
    CWinTestDriver::TypeText(edit, u"3");
    EXPECT_GE(count("enchange"), 2u);
    CString text;
    edit->GetWindowText(text);
    EXPECT_EQ(text, u"3");
}

struct DdxCase {
    int id;
    const char16_t* text;
    const char16_t* prompt;
};

class DdxFailure : public WinSemantics, public ::testing::WithParamInterface<DdxCase> {};

TEST_P(DdxFailure, PromptsKeepsFieldAndFails) {
    CMessageBoxRecorder boxes;
    ASSERT_TRUE(dlg.UpdateData(FALSE));
    dlg.SetDlgItemText(GetParam().id, GetParam().text);
    dlg.intField = 5;
    dlg.wideField = 7;
    dlg.realField = 1.5;
    EXPECT_FALSE(dlg.UpdateData(TRUE));
    ASSERT_EQ(boxes.Count(), 1);
    EXPECT_EQ(boxes.LastText(), GetParam().prompt);
    EXPECT_EQ(dlg.intField, 5);
    EXPECT_EQ(dlg.wideField, 7);
    EXPECT_DOUBLE_EQ(dlg.realField, 1.5);
}

INSTANTIATE_TEST_SUITE_P(
    BadText, DdxFailure,
    ::testing::Values(DdxCase{IDC_SET_SELECTMIN, u"abc", u"Please enter an integer."},
                      DdxCase{IDC_SET_SELECTMIN, u"", u"Please enter an integer."},
                      DdxCase{IDC_SET_SELECTMIN, u"99999999999", u"Please enter an integer."},
                      DdxCase{IDC_SET_SELECTMAX, u"1.5", u"Please enter an integer."},
                      DdxCase{IDC_SET_TRIALMIN, u"1.2.3", u"Please enter a number."},
                      DdxCase{IDC_SET_TRIALMIN, u"nan", u"Please enter a number."}),
    [](const auto& info) { return testNameOf(info.param.text); });

TEST_F(WinSemantics, ExchangesGoodValuesChecksAndRadios) {
    CMessageBoxRecorder boxes;
    dlg.realField = 0.1;
    dlg.radio = 2;
    dlg.check = 1;
    ASSERT_TRUE(dlg.UpdateData(FALSE));
    CString text;
    dlg.GetDlgItemText(IDC_SET_TRIALMIN, text);
    EXPECT_EQ(text, u"0.1");
    EXPECT_EQ(dlg.IsDlgButtonChecked(IDC_SET_COLOR768), BST_CHECKED);
    dlg.SetDlgItemText(IDC_SET_SELECTMIN, u" -12 ");
    dlg.SetDlgItemText(IDC_SET_SELECTMAX, u"-9000000000");
    dlg.SetDlgItemText(IDC_SET_TRIALMIN, u"2.5e-3");
    CWinTestDriver::Click(dlg.GetDlgItem(IDC_SET_COLOR1024));
    ASSERT_TRUE(dlg.UpdateData(TRUE));
    EXPECT_EQ(boxes.Count(), 0);
    EXPECT_EQ(dlg.intField, -12);
    EXPECT_EQ(dlg.wideField, -9000000000LL);
    EXPECT_DOUBLE_EQ(dlg.realField, 0.0025);
    EXPECT_EQ(dlg.radio, 3) << "the clicked radio unchecks the rest of its group";
    EXPECT_EQ(dlg.check, 1);
    dlg.CheckDlgButton(IDC_SET_COLOR1024, BST_UNCHECKED);
    EXPECT_EQ(dlg.IsDlgButtonChecked(IDC_SET_COLOR1024), BST_UNCHECKED)
        << "a radio button is cleared by id as by BM_SETCHECK";
    BOOL translated = TRUE;
    dlg.GetDlgItemInt(IDC_SET_SELECTMAX, &translated);
    EXPECT_FALSE(translated) << "beyond 32 bits is no integer";
}

// A float field is shown and read back by the rules of a double field: the shortest text at its
// own precision, the same prompt for text that is no number, and no value beyond its range.
TEST_F(WinSemantics, FloatFieldsExchangeLikeDoubles) {
    CMessageBoxRecorder boxes;
    const std::pair<float, const char16_t*> shown[] = {
        {0.1f, u"0.1"}, {-1234.5f, u"-1234.5"}, {3e-7f, u"3e-07"}, {123456789.0f, u"1.23457e+08"}};
    for (const auto& [value, text] : shown) {
        dlg.floatField = value;
        ASSERT_TRUE(dlg.UpdateData(FALSE));
        CString got;
        dlg.GetDlgItemText(IDC_SET_TRIALMAX, got);
        EXPECT_EQ(got, text);
    }
    const std::pair<const char16_t*, float> read[] = {
        {u" 2.5e-3 ", 0.0025f}, {u"-7", -7.0f}, {u"0.1", 0.1f}, {u"3.4e38", 3.4e38f}};
    for (const auto& [text, value] : read) {
        dlg.SetDlgItemText(IDC_SET_TRIALMAX, text);
        ASSERT_TRUE(dlg.UpdateData(TRUE)) << CString(text).ToUtf8();
        EXPECT_EQ(dlg.floatField, value) << CString(text).ToUtf8();
    }
    EXPECT_EQ(boxes.Count(), 0);
    for (const char16_t* bad : {u"1.2.3", u"", u"nan", u"1e39", u"-1e39"}) {
        dlg.floatField = 2.5f;
        dlg.SetDlgItemText(IDC_SET_TRIALMAX, bad);
        EXPECT_FALSE(dlg.UpdateData(TRUE)) << CString(bad).ToUtf8();
        EXPECT_EQ(boxes.LastText(), u"Please enter a number.");
        EXPECT_EQ(dlg.floatField, 2.5f) << CString(bad).ToUtf8();
    }
    EXPECT_EQ(boxes.Count(), 5);
}

struct ScrollCase {
    UINT code;
    int thumb;
    int expectedPos;
    const char* first;
};

class ScrollCodes : public WinSemantics, public ::testing::WithParamInterface<ScrollCase> {};

TEST_P(ScrollCodes, SendsCodeToParentAndEndsScroll) {
    auto* bar = item<CScrollBar>(IDC_SET_LOWSCROLL);
    ASSERT_NE(bar, nullptr);
    bar->SetScrollRange(0, 1024);
    SCROLLINFO si{sizeof(SCROLLINFO), SIF_PAGE, 0, 0, 102, 0, 0};
    bar->SetScrollInfo(&si);
    bar->SetScrollPos(512);
    CWinTestDriver::ScrollAction(bar, GetParam().code, GetParam().thumb);
    ASSERT_FALSE(dlg.log.empty());
    EXPECT_EQ(dlg.log.front(), GetParam().first);
    EXPECT_EQ(dlg.log.back(), "scroll:8:0");
    EXPECT_EQ(bar->GetScrollPos(), GetParam().expectedPos) << "the bar moves only when told";
}

INSTANTIATE_TEST_SUITE_P(Codes, ScrollCodes,
                         ::testing::Values(ScrollCase{SB_LINELEFT, 0, 512, "scroll:0:0"},
                                           ScrollCase{SB_LINERIGHT, 0, 512, "scroll:1:0"},
                                           ScrollCase{SB_PAGELEFT, 0, 512, "scroll:2:0"},
                                           ScrollCase{SB_PAGERIGHT, 0, 512, "scroll:3:0"},
                                           ScrollCase{SB_LEFT, 0, 512, "scroll:6:0"},
                                           ScrollCase{SB_RIGHT, 0, 512, "scroll:7:0"},
                                           ScrollCase{SB_THUMBTRACK, 700, 700, "scroll:5:700"}),
                         ([](const auto& info) {
                             const char* const codes[] = {
                                 "LineLeft",  "LineRight",     "PageLeft",
                                 "PageRight", "ThumbPosition", "ThumbTrack",
                                 "Left",      "Right",         "EndScroll"};
                             const UINT code = info.param.code;
                             return std::string(code < 9 ? codes[code] : "OtherCode");
                         }));

TEST_F(WinSemantics, ScrollRangeKeepsPositionWithinPage) {
    auto* bar = item<CScrollBar>(IDC_SET_HIGHSCROLL);
    bar->SetScrollRange(0, 1024);
    SCROLLINFO si{sizeof(SCROLLINFO), SIF_PAGE | SIF_POS, 0, 0, 102, 2000, 0};
    bar->SetScrollInfo(&si);
    EXPECT_EQ(bar->GetScrollPos(), 923);
    int lo = -1, hi = -1;
    bar->GetScrollRange(&lo, &hi);
    EXPECT_EQ(hi, 1024);
    EXPECT_EQ(bar->SetScrollPos(-5), 923);
    EXPECT_EQ(bar->GetScrollPos(), 0);
}

TEST_F(WinSemantics, TimersTickUntilKilled) {
    EXPECT_EQ(dlg.SetTimer(100, 0, nullptr), 100u);
    EXPECT_EQ(CWinTestDriver::TimerPeriod(&dlg, 100), USER_TIMER_MINIMUM);
    EXPECT_TRUE(CWinTestDriver::FireTimer(&dlg, 100));
    EXPECT_EQ(count("timer:100:0"), 1u);
    const DWORD start = GetTickCount();
    while (count("timer:100:0") < 2 && GetTickCount() - start < 5000) {
        CWinTestDriver::ProcessEvents();
    }
    EXPECT_GE(count("timer:100:0"), 2u) << "the real timer delivers WM_TIMER";
    EXPECT_TRUE(dlg.KillTimer(100));
    EXPECT_FALSE(CWinTestDriver::FireTimer(&dlg, 100));
    EXPECT_FALSE(dlg.KillTimer(100));
}

TEST_F(WinSemantics, CaptureRoutesDragToCapturingWindow) {
    CWnd* label = dlg.GetDlgItem(IDC_SET_LOWLABEL);
    CRect r;
    label->GetWindowRect(&r);
    dlg.ScreenToClient(&r);
    const CPoint from = r.CenterPoint();
    EXPECT_EQ(dlg.ChildWindowFromPoint(from), label);
    CWinTestDriver::Drag(&dlg, from, from + CPoint(30, 4), 2);
    ASSERT_EQ(dlg.log.size(), 4u);
    EXPECT_EQ(dlg.log[0], "down:" + std::to_string(from.x) + ":" + std::to_string(from.y))
        << "a static without SS_NOTIFY lets the click through to the dialog";
    EXPECT_EQ(dlg.log[2], "move:" + std::to_string(from.x + 30) + ":" + std::to_string(from.y + 4));
    EXPECT_EQ(CWnd::GetCapture(), nullptr);
    CWinTestDriver::Wheel(&dlg, from, -WHEEL_DELTA);
    EXPECT_EQ(dlg.log.back(), "wheel:-120:0");
}

TEST_F(WinSemantics, PreTranslatesBeforeDispatchAndHandlesDialogKeys) {
    CWnd* edit = dlg.GetDlgItem(IDC_SET_SELECTMIN);
    edit->SetWindowText(u"");
    dlg.swallowKeys = true;
    CWinTestDriver::KeyPress(edit, '7');
    EXPECT_EQ(count("pre:55:0"), 1u);
    CString text;
    edit->GetWindowText(text);
    EXPECT_EQ(text, u"") << "a swallowed key never reaches the edit";
    dlg.swallowKeys = false;
    CWinTestDriver::KeyPress(edit, '7');
    edit->GetWindowText(text);
    EXPECT_EQ(text, u"7");
    CWinTestDriver::KeyPress(edit, VK_ESCAPE);
    EXPECT_FALSE(dlg.IsWindowVisible()) << "Escape cancels, which hides a modeless dialog";
    EXPECT_EQ(dlg.GetDialogResult(), IDCANCEL);
    dlg.ShowWindow(SW_SHOW);
    CMessageBoxRecorder boxes;
    dlg.SetDlgItemText(IDC_SET_SELECTMIN, u"x");
    CWinTestDriver::KeyPress(edit, VK_RETURN);
    EXPECT_TRUE(dlg.IsWindowVisible()) << "OK with bad data stays open";
    EXPECT_EQ(boxes.Count(), 1);
}

TEST_F(WinSemantics, MessageBoxesGoThroughTheHook) {
    CMessageBoxRecorder boxes(IDCANCEL);
    EXPECT_EQ(AfxMessageBox(u"Spectral data range error!"), IDCANCEL);
    EXPECT_EQ(dlg.MessageBox(u"Channel type error!"), IDCANCEL);
    ASSERT_EQ(boxes.Count(), 2);
    EXPECT_EQ(boxes.Records()[0].text, u"Spectral data range error!");
    EXPECT_EQ(boxes.Records()[1].owner, &dlg);
}

TEST_F(WinSemantics, ResizeSendsClientSize) {
    dlg.MoveWindow(10, 10, 500, 400);
    CWinTestDriver::ProcessEvents();
    CRect c, w;
    dlg.GetClientRect(&c);
    dlg.GetWindowRect(&w);
    EXPECT_EQ(w, CRect(10, 10, 510, 410)) << "the frame's rectangle";
    EXPECT_GT(c.Width(), 400);
    EXPECT_LE(c.Width(), 500);
    ASSERT_FALSE(dlg.log.empty());
    EXPECT_EQ(dlg.log.back(),
              "size:" + std::to_string(c.Width()) + ":" + std::to_string(c.Height()));
}

class WinMenus : public WinFixture {};

TEST_F(WinMenus, MenuPicksArriveAsCommandsAndCursorFollowsSetCursor) {
    CRecordingDialog dlg;
    ASSERT_TRUE(dlg.Create(IDD_SPCTM_CONTOURMAP_3D));
    dlg.ShowWindow(SW_SHOW);
    CMenu* menu = dlg.GetMenu();
    ASSERT_NE(menu, nullptr);
    EXPECT_TRUE(CWinTestDriver::PickMenuItem(&dlg, 4031));
    menu->EnableMenuItem(4025, MF_GRAYED);
    EXPECT_FALSE(CWinTestDriver::PickMenuItem(&dlg, 4025)) << "a greyed item cannot be picked";
    EXPECT_EQ(menu->CheckMenuItem(4024, MF_CHECKED), MF_UNCHECKED);
    ASSERT_FALSE(dlg.log.empty());
    EXPECT_EQ(dlg.log.back(), "menu:4031:0");

    dlg.cursor = AfxLoadCursor(IDC_CURSOR_WINDOWMOVE);
    ASSERT_NE(dlg.cursor, nullptr);
    const CPoint pt(20, 20);
    CWnd* under = dlg.ChildWindowFromPoint(pt);
    CWinTestDriver::MouseMove(&dlg, pt);
    EXPECT_EQ(CWinTestDriver::ShownCursor(under), dlg.cursor) << "children ask the dialog";
    dlg.cursor = nullptr;
    CWinTestDriver::MouseMove(&dlg, pt + CPoint(1, 0));
    EXPECT_EQ(CWinTestDriver::ShownCursorId(under), IDC_ARROW);
    EXPECT_NE(AfxLoadIcon(IDI_BTN_ROTATE), nullptr);
    EXPECT_EQ(AfxLoadIcon(12345), nullptr);
    EXPECT_NE(LoadCursor(nullptr, IDC_WAIT), nullptr);
}

} // namespace
