// The facade's lifecycle: lazy creation, re-binding and re-showing, the parameters window
// shared by every view, the command channel, destruction with every window open, and data
// sets that lack what the windows show.
#include "UiTest.h"
#include "dialogs/CDlgContourMapSpctm3Dzq.h"
#include "dialogs/CDlgRnd3DSpctmOneChnl.h"
#include "dialogs/CDlgSpctmRnd3DStdSet.h"
#include "dialogs/res/resource.h"
#include "facade/CVelmoraFacezq.h"
#include "facade/CVelmoraModule.h"
#include "render/CMEGSpctm3DRndzq.h"

#include <algorithm>
#include <functional>
#include <memory>

namespace {

int noCallback(int, int) {
    return 0;
}

using Show = int (CVelmoraFace04DlgOneChnl::*)(CArrayMEDataSetzq*, int (*)(int, int), CWnd*);
const Show kShows[3] = {&CVelmoraFace04DlgOneChnl::show3DOneChnlSpctmAct,
                        &CVelmoraFace04DlgOneChnl::show3DOneChnlSpctmCtl,
                        &CVelmoraFace04DlgOneChnl::show3DOneChnlSpctmRst};
using ShowMap = int (CVelmoraFace07DlgEeg::*)(CArrayMEDataSetzq*, int (*)(int, int), CWnd*);
const ShowMap kShowMaps[6] = {&CVelmoraFace07DlgEeg::show3DContMapSpctmMegAct,
                              &CVelmoraFace07DlgEeg::show3DContMapSpctmMegCtl,
                              &CVelmoraFace07DlgEeg::show3DContMapSpctmMegRst,
                              &CVelmoraFace07DlgEeg::show3DContMapSpctmEegAct,
                              &CVelmoraFace07DlgEeg::show3DContMapSpctmEegCtl,
                              &CVelmoraFace07DlgEeg::show3DContMapSpctmEegRst};

bool registered(CDlgSpctmRnd3DStdSet* set, CWnd* view) {
    return std::find(std::begin(set->m_views), std::end(set->m_views), view) !=
           std::end(set->m_views);
}

class FacadeTest : public UiTest {
protected:
    void SetUp() override {
        UiTest::SetUp();
        if (IsSkipped())
            return;
        const auto g = GridDataSet::ramp(8, 4, 0.0, 4.0);
        a.build(8, 4, {g, g});
        b.build(8, 4, {g});
    }
    GridDataSet a, b;
    CVelmoraFacezq face;
};

TEST_F(FacadeTest, LibraryRegisteredItsResources) {
    EXPECT_TRUE(CVelmoraModule::isRegistered());
}

TEST_F(FacadeTest, DisplayPreparedAheadServesTheFirstShow) {
    EXPECT_EQ(CVelmoraFace::prepareDisplay(), 1);
    EXPECT_EQ(CVelmoraFace::prepareDisplay(), 1);
    ASSERT_EQ(face.show3DOneChnlSpctmAct(&a.data, noCallback, nullptr), 1);
    CWinTestDriver::ProcessEvents();
    EXPECT_NE(face.m_pDlgOneChnlAct->m_view.m_pM3D, nullptr);
}

TEST_F(FacadeTest, ShowingTwiceRebindsTheSameWindow) {
    ASSERT_EQ(face.show3DOneChnlSpctmCtl(&a.data, noCallback, nullptr), 1);
    CDlgRnd3DSpctmOneChnl* dlg = face.m_pDlgOneChnlCtl;
    CMEGSpctm3DRndzq* rnd = face.m_pRnd;
    ASSERT_EQ(face.show3DOneChnlSpctmCtl(&b.data, noCallback, nullptr), 1);
    EXPECT_EQ(face.m_pDlgOneChnlCtl, dlg);
    EXPECT_EQ(face.m_pRnd, rnd);
    EXPECT_EQ(dlg->m_pData, &b.data);
    EXPECT_EQ(dlg->m_view.m_pMEDataSet, &b.data);
    EXPECT_EQ(rnd->dataSet, &b.data);
    EXPECT_EQ(dlg->m_view.m_cbfHost, &noCallback);
    EXPECT_EQ(dlg->m_view.m_pCbfOwner, dlg);
    EXPECT_TRUE(dlg->IsWindowVisible());
}

TEST_F(FacadeTest, SingleChannelWindowCreatedHiddenByClass) {
    EXPECT_EQ(face.checkInitSpctmDlgSingleChnl(3), 0);
    EXPECT_EQ(face.m_pDlgOneChnlAct, nullptr);
    EXPECT_EQ(face.m_pRnd, nullptr);
    ASSERT_EQ(face.checkInitSpctmDlgSingleChnl(1), 1);
    CDlgRnd3DSpctmOneChnl* dlg = face.m_pDlgOneChnlCtl;
    ASSERT_NE(dlg, nullptr);
    EXPECT_FALSE(dlg->IsWindowVisible());
    EXPECT_EQ(dlg->m_spectralClass, 1);
    EXPECT_EQ(dlg->m_view.m_spectralClass, 1);
    ASSERT_EQ(face.show3DOneChnlSpctmCtl(&a.data, noCallback, nullptr), 1);
    EXPECT_EQ(face.m_pDlgOneChnlCtl, dlg);
    EXPECT_TRUE(dlg->IsWindowVisible());
}

TEST_F(FacadeTest, EveryClassGetsItsTitleAndTheSharedParameters) {
    const char16_t* titles[] = {u"Spectrogram 3D: Active  time window",
                                u"Spectrogram 3D: Control time window",
                                u"Spectrogram 3D:Results from Active/Control time windows"};
    for (int c = 0; c < 3; ++c)
        ASSERT_EQ((face.*kShows[c])(&a.data, noCallback, nullptr), 1);
    CDlgRnd3DSpctmOneChnl* dlgs[] = {face.m_pDlgOneChnlAct, face.m_pDlgOneChnlCtl,
                                     face.m_pDlgOneChnlRst};
    for (int c = 0; c < 3; ++c) {
        CString title;
        dlgs[c]->GetWindowText(title);
        EXPECT_EQ(title, titles[c]);
        EXPECT_EQ(dlgs[c]->m_pFace, &face);
        EXPECT_EQ(dlgs[c]->m_view.m_pRnd, face.m_pRnd);
        EXPECT_TRUE(registered(face.m_pDlgStdSet, &dlgs[c]->m_view));
    }
    // "setting" of two windows opens the one parameters window.
    CWinTestDriver::Click(dlgs[0]->GetDlgItem(IDC_1CH_SETTING));
    CWinTestDriver::Click(dlgs[2]->GetDlgItem(IDC_1CH_SETTING));
    EXPECT_EQ(dlgs[0]->m_pDlgStdSet, face.m_pDlgStdSet);
    EXPECT_EQ(dlgs[2]->m_pDlgStdSet, face.m_pDlgStdSet);
    EXPECT_TRUE(face.m_pDlgStdSet->IsWindowVisible());
    EXPECT_EQ(face.m_pDlgStdSet->m_pView, &dlgs[2]->m_view);
    EXPECT_EQ(messages.Count(), 0);
}

TEST_F(FacadeTest, DataComponentReachesEveryWindow) {
    CVelmoraFace base;
    EXPECT_EQ(base.sendMessageX(4, 2), 0);
    EXPECT_EQ(face.sendMessageX(4, 2), 1);
    ASSERT_EQ(face.show3DOneChnlSpctmAct(&a.data, noCallback, nullptr), 1);
    ASSERT_EQ(face.show3DOneChnlSpctmRst(&a.data, noCallback, nullptr), 1);
    EXPECT_EQ(face.sendMessageX(7, 1), 1);
    EXPECT_EQ(face.m_pDlgOneChnlAct->m_component, 0);
    CWinTestDriver::SelectComboItem(&face.m_pDlgStdSet->m_cmbComponent, 2);
    for (CDlgRnd3DSpctmOneChnl* dlg : {face.m_pDlgOneChnlAct, face.m_pDlgOneChnlRst}) {
        EXPECT_EQ(dlg->m_component, 2);
        EXPECT_EQ(dlg->m_view.m_component, 2);
        CString item;
        dlg->m_cmbComponent.GetLBText(dlg->m_cmbComponent.GetCurSel(), item);
        EXPECT_EQ(item, u"Power/Phase");
    }
}

TEST_F(FacadeTest, ClosedWindowsShowAgainAndAllCloseWithTheFacade) {
    auto owned = std::make_unique<CVelmoraFacezq>();
    for (const Show show : kShows)
        ASSERT_EQ(((*owned).*show)(&a.data, noCallback, nullptr), 1);
    for (const ShowMap show : kShowMaps)
        ASSERT_EQ(((*owned).*show)(&a.data, noCallback, nullptr), 1);
    // Only the Active contour map follows the host's new data.
    ASSERT_EQ(owned->setCbfGetMEGData(&b.data), 1);
    EXPECT_EQ(owned->m_pDlgContourAct->m_view.m_pMEDataSet, &b.data);
    EXPECT_EQ(owned->m_pDlgContourCtl->m_view.m_pMEDataSet, &a.data);
    CMEGDatazq* session = b.data.getSessionData(-1);
    EXPECT_EQ(owned->update3DCntmapWave(session), 0) << "an EEG map and data without EEG";
    ASSERT_EQ(owned->show3DContMapSpctmMegAct(&b.data, noCallback, nullptr), 1);
    EXPECT_EQ(owned->update3DCntmapWave(session), 1);
    owned->m_pDlgContourAct->SendMessage(WM_CLOSE);
    EXPECT_EQ(owned->update3DCntmapWave(session), 0) << "hidden";
    ASSERT_NE(owned->showSpctmStdSetDlg(&a.data, &owned->m_pDlgOneChnlAct->m_view), nullptr);
    for (CDialog* dlg :
         std::initializer_list<CDialog*>{owned->m_pDlgOneChnlAct, owned->m_pDlgOneChnlCtl,
                                         owned->m_pDlgOneChnlRst, owned->m_pDlgStdSet}) {
        dlg->SendMessage(WM_CLOSE);
        EXPECT_FALSE(dlg->IsWindowVisible());
    }
    ASSERT_EQ(owned->show3DOneChnlSpctmRst(&a.data, noCallback, nullptr), 1);
    EXPECT_TRUE(owned->m_pDlgOneChnlRst->IsWindowVisible());
    owned.reset();
    CWinTestDriver::ProcessEvents();
}

// Data sets that lack, in turn, every level of what the window shows.
struct Lacking {
    const char* name;
    std::function<void(GridDataSet&)> build;
};

class LackingDataTest : public UiTest, public ::testing::WithParamInterface<Lacking> {};

TEST_P(LackingDataTest, EveryControlFailsQuietly) {
    GridDataSet d;
    GetParam().build(d);
    CVelmoraFacezq face;
    for (const Show show : kShows)
        ASSERT_EQ((face.*show)(&d.data, noCallback, nullptr), 1);
    CDlgRnd3DSpctmOneChnl* dlg = face.m_pDlgOneChnlAct;
    for (int id : {IDC_1CH_FITCOLOR, IDC_1CH_FITSIZE, IDC_1CH_AUTOFIT, IDC_1CH_FITPEAK,
                   IDC_1CH_APPLY, IDC_1CH_REFRESH, IDC_1CH_UPDATE, IDC_1CH_RESET, IDC_1CH_INFO,
                   IDC_1CH_BAR, IDC_1CH_SETTING, IDC_1CH_3DREND})
        CWinTestDriver::Click(dlg->GetDlgItem(id));
    dlg->SendMessage(WM_COMMAND, ID_1CH_LINKCONTOURMAP);
    dlg->m_view.drawCombined = 0;
    dlg->m_view.UpdateWindow();
    for (const ShowMap show : kShowMaps)
        ASSERT_EQ((face.*show)(&d.data, noCallback, nullptr), 1);
    CDlgContourMapSpctm3Dzq* map = face.m_pDlgContourRst;
    for (int id : {IDC_CM_AUTOFITCOLOR, IDC_CM_SENSORS, IDC_CM_CONTOURMAP, IDC_CM_CONTOURACT,
                   IDC_CM_MOVE, IDC_CM_ANIMATE, IDC_CM_SETTINGS, IDC_CM_RESET, IDC_CM_UPDATE,
                   IDC_CM_APPLY, IDC_CM_CONTOURMAP})
        CWinTestDriver::Click(map->GetDlgItem(id));
    CWinTestDriver::FireTimer(map, CDlgContourMapSpctm3Dzq::kAnimateTimer);
    EXPECT_FALSE(CWinTestDriver::HasTimer(map, CDlgContourMapSpctm3Dzq::kAnimateTimer));
    CWinTestDriver::KeyPress(&map->m_view, VK_RIGHT);
    map->m_view.m_surfHullMode = 0;
    map->m_view.UpdateWindow();
    CWinTestDriver::ProcessEvents();
    for (const CMessageBoxRecorder::Record& r : messages.Records())
        EXPECT_TRUE(r.text == u"Spectral data range error!") << r.text.ToUtf8();
}

INSTANTIATE_TEST_SUITE_P(
    Data, LackingDataTest,
    ::testing::Values(
        Lacking{"NoSession", [](GridDataSet&) {}},
        Lacking{"NoTrial", [](GridDataSet& d) { CMEDataSetBuilder(d.data).addSession(); }},
        Lacking{"NoChannels", [](GridDataSet& d) { d.build(8, 4, {}); }},
        Lacking{"NoSpectrumOfClass",
                [](GridDataSet& d) { d.build(8, 4, {GridDataSet::ramp(8, 4, 0, 1)}, 1); }},
        Lacking{"NonFiniteValues",
                [](GridDataSet& d) {
                    d.build(8, 4,
                            {std::vector<double>(32, std::numeric_limits<double>::quiet_NaN())});
                }}),
    [](const ::testing::TestParamInfo<Lacking>& i) { return std::string(i.param.name); });

} // namespace
