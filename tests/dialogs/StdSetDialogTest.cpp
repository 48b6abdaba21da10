// The display-parameters window driven as a user would: fits, scroll bars, radio group,
// combo boxes, typed values, registration of views and the messages of its failures.
#include "UiTest.h"
#include "dialogs/CDlgSpctmRnd3DStdSet.h"
#include "dialogs/res/resource.h"
#include "render/CMEGSpctm3DRndzq.h"

#include <memory>

namespace {

class StdSetTest : public UiTest {
protected:
    // Opens the window on a trial whose channels carry the given grids.
    void open(const std::vector<std::vector<double>>& grids, long long nTime = 8,
              long long nFreq = 4) {
        data.build(nTime, nFreq, grids);
        dlg = std::make_unique<CDlgSpctmRnd3DStdSet>();
        ASSERT_TRUE(dlg->createWnd());
        dlg->m_pRnd = &rnd;
        dlg->m_pData = &data.data;
        dlg->ShowWindow(SW_SHOW);
        dlg->updateDlgShow();
    }
    void click(int id) { CWinTestDriver::Click(dlg->GetDlgItem(id)); }
    std::string text(int id) {
        CString s;
        dlg->GetDlgItem(id)->GetWindowText(s);
        return s.ToUtf8();
    }

    GridDataSet data;
    CMEGSpctm3DRndzq rnd;
    std::unique_ptr<CDlgSpctmRnd3DStdSet> dlg;
};

TEST_F(StdSetTest, FirstShowFitsRangesAndFillsControls) {
    open({GridDataSet::ramp(8, 4, -3.0, 2.0), GridDataSet::ramp(8, 4, 0.0, 1.0)});
    EXPECT_DOUBLE_EQ(dlg->m_trialMin, -3.0);
    EXPECT_DOUBLE_EQ(dlg->m_trialMax, 2.0);
    // The current channel's magnitudes: 0 (between -3 and 2) up to 3.
    EXPECT_DOUBLE_EQ(rnd.stdUpper, dlg->m_chnlMax);
    EXPECT_DOUBLE_EQ(rnd.stdLower, dlg->m_chnlMin);
    EXPECT_DOUBLE_EQ(dlg->m_chnlMax, 3.0);
    EXPECT_EQ(dlg->m_cmbClass.GetCount(), 3);
    CString item;
    dlg->m_cmbComponent.GetLBText(2, item);
    EXPECT_EQ(item, u"Junction");
    EXPECT_EQ(dlg->m_cmbDetail.GetCurSel(), 1);
    EXPECT_EQ(text(IDC_SET_HIGHLABEL), "select high:3.000");
    // The renderer's initial 765 counts as 1024 until Apply writes it.
    EXPECT_EQ(dlg->IsDlgButtonChecked(IDC_SET_COLOR1024), static_cast<UINT>(BST_CHECKED));
    click(IDC_SET_APPLY);
    EXPECT_EQ(rnd.colorCount, 1024);
    click(IDC_SET_COLOR256);
    EXPECT_EQ(rnd.colorCount, 256);
    EXPECT_EQ(messages.Count(), 0);
}

TEST_F(StdSetTest, EmptyRangeShowsRangeError) {
    open({std::vector<double>(32, 1.0)});
    EXPECT_EQ(messages.LastText().ToUtf8(), "Spectral data range error!");
    EXPECT_EQ(dlg->m_firstFit, 1);
    EXPECT_EQ(dlg->updateDlgShow(), 0);
}

TEST_F(StdSetTest, AutofitSelectTakesMagnitudesHalfway) {
    open({GridDataSet::ramp(8, 4, 0.0, 4.0)});
    dlg->autofitSelect(-4.0, 2.0);
    EXPECT_DOUBLE_EQ(dlg->m_selectMin, 2.0);
    EXPECT_DOUBLE_EQ(dlg->m_selectMax, 3.0);
    dlg->autofitSelect(0.0, 10.0);
    EXPECT_DOUBLE_EQ(rnd.stdLower, 0.0);
    EXPECT_DOUBLE_EQ(rnd.stdUpper, 5.0);
}

struct SignedRangeCase {
    double lo, hi, selectMin, selectMax;
};
class TrialToSelectTest : public StdSetTest,
                          public ::testing::WithParamInterface<SignedRangeCase> {};

TEST_P(TrialToSelectTest, SetsRangeFromSignedValues) {
    const SignedRangeCase c = GetParam();
    open({GridDataSet::ramp(8, 4, c.lo, c.hi)});
    click(IDC_SET_TRIAL2SELECT);
    EXPECT_DOUBLE_EQ(dlg->m_selectMin, c.selectMin);
    EXPECT_DOUBLE_EQ(dlg->m_selectMax, c.selectMax);
    EXPECT_DOUBLE_EQ(rnd.stdUpper, c.selectMax);
}
INSTANTIATE_TEST_SUITE_P(Ranges, TrialToSelectTest,
                         ::testing::Values(SignedRangeCase{-3, 2, 0, 3},
                                           SignedRangeCase{1, 5, 1, 5}),
                         [](const auto& info) {
                             return std::string(info.param.lo < 0 ? "SignedValues"
                                                                  : "PositiveValues");
                         });

TEST_F(StdSetTest, ScrollPositionsFollowTheTrialRange) {
    open({GridDataSet::ramp(8, 4, 0.0, 4.0)});
    dlg->m_selectMin = 0.5;
    dlg->m_selectMax = 1.0;
    dlg->setScrollPos4Select();
    EXPECT_EQ(dlg->m_scrLow.GetScrollPos(), 128);
    EXPECT_EQ(dlg->m_scrHigh.GetScrollPos(), 256);
    dlg->m_trialMax = 2.5;
    dlg->setScrollPos4Select();
    EXPECT_EQ(dlg->m_scrLow.GetScrollPos(), 204);
    EXPECT_EQ(dlg->m_scrHigh.GetScrollPos(), 409);
    dlg->UpdateData(FALSE);
    CWinTestDriver::ScrollAction(&dlg->m_scrLow, SB_THUMBTRACK, 512);
    EXPECT_DOUBLE_EQ(rnd.stdLower, 1.25);
    EXPECT_EQ(text(IDC_SET_LOWLABEL), "Select Low:1.250");
    CWinTestDriver::ScrollAction(&dlg->m_scrHigh, SB_LINELEFT);
    EXPECT_DOUBLE_EQ(rnd.stdUpper, 2.5 * 408 / 1024.0);
}

TEST_F(StdSetTest, GetDataRangeKeepsTheSelection) {
    open({GridDataSet::ramp(8, 4, -1.0, 6.0)});
    dlg->m_selectMin = 0.25;
    dlg->m_selectMax = 0.75;
    dlg->UpdateData(FALSE);
    click(IDC_SET_GETRANGE);
    EXPECT_DOUBLE_EQ(dlg->m_selectMin, 0.25);
    EXPECT_DOUBLE_EQ(dlg->m_selectMax, 0.75);
    EXPECT_DOUBLE_EQ(dlg->m_chnlMin, -1.0);
    EXPECT_DOUBLE_EQ(dlg->m_chnlMax, 6.0);
}

TEST_F(StdSetTest, ControlsWriteTheRenderer) {
    open({GridDataSet::ramp(8, 4, 0.0, 4.0)});
    CWinTestDriver::SelectComboItem(&dlg->m_cmbDetail, 2);
    EXPECT_EQ(rnd.normalDetail, 2);
    click(IDC_SET_POLARITY);
    EXPECT_EQ(rnd.polarity, 0);
    CWinTestDriver::SelectComboItem(&dlg->m_cmbClass, 2);
    EXPECT_EQ(dlg->m_spectralClass, 2);
    CWinTestDriver::TypeText(dlg->GetDlgItem(IDC_SET_SELECTMAX), u"2.5");
    click(IDC_SET_APPLY);
    EXPECT_DOUBLE_EQ(rnd.stdUpper, 2.5);
}

TEST_F(StdSetTest, NonNumericTextIsRefused) {
    open({GridDataSet::ramp(8, 4, 0.0, 4.0)});
    const double before = dlg->m_selectMin;
    CWinTestDriver::TypeText(dlg->GetDlgItem(IDC_SET_SELECTMIN), u"abc");
    click(IDC_SET_APPLY);
    EXPECT_EQ(messages.LastText().ToUtf8(), "Please enter a number.");
    EXPECT_DOUBLE_EQ(dlg->m_selectMin, before);
}

TEST_F(StdSetTest, RegistersAtMostTwelveDistinctViews) {
    open({GridDataSet::ramp(8, 4, 0.0, 4.0)});
    std::vector<std::unique_ptr<CWnd>> views(13);
    EXPECT_EQ(dlg->addViewWnd(nullptr), 0);
    for (int i = 0; i < 12; ++i) {
        views[static_cast<size_t>(i)] = std::make_unique<CWnd>();
        EXPECT_EQ(dlg->addViewWnd(views[static_cast<size_t>(i)].get()), 1);
    }
    EXPECT_EQ(dlg->addViewWnd(views[0].get()), 0);
    EXPECT_EQ(messages.Count(), 0);
    views[12] = std::make_unique<CWnd>();
    EXPECT_EQ(dlg->addViewWnd(views[12].get()), 0);
    EXPECT_EQ(messages.LastText().ToUtf8(), "Spectral settings control maximum 12 windows!");
    EXPECT_EQ(dlg->refreshViewWnds(), 1);
}

TEST_F(StdSetTest, MissingDataAsksForData) {
    dlg = std::make_unique<CDlgSpctmRnd3DStdSet>();
    ASSERT_TRUE(dlg->createWnd());
    EXPECT_EQ(dlg->updateDlgShow(), 0);
    for (int id : {IDC_SET_CHECKSPCTM, IDC_SET_RAWDATA}) {
        messages.Clear();
        click(id);
        EXPECT_EQ(messages.LastText().ToUtf8(), "Is there any MEG data?!");
    }
    messages.Clear();
    for (int id : {IDC_SET_GETRANGE, IDC_SET_AUTOFITTRIAL, IDC_SET_AUTOFITCHNL,
                   IDC_SET_TRIAL2SELECT, IDC_SET_CHNL2SELECT, IDC_SET_APPLY, IDC_SET_UPDATE})
        click(id);
    EXPECT_EQ(messages.Count(), 0);
}

} // namespace
