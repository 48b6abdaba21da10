// What a host may do to its recordings while the windows are open: rebind the facade to
// another recording, release one, free one with or without releasing it first, clear, resize
// or recompute its spectra; and a seeded random soak that mixes all of it with user actions.
// Run under AddressSanitizer, a reference left behind shows up as a use after free.
#include "UiTest.h"
#include "dialogs/CDlgContourMapSpctm3Dzq.h"
#include "dialogs/CDlgRnd3DSpctmOneChnl.h"
#include "dialogs/CDlgSpctmRnd3DStdSet.h"
#include "dialogs/res/resource.h"
#include "facade/CVelmoraFacezq.h"
#include "recording/CMEDataSetBuilder.h"
#include "render/CMEGSpctm3DRndzq.h"
#include "synthetic/CSyntheticRecording.h"

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <functional>
#include <initializer_list>
#include <iterator>
#include <limits>
#include <memory>
#include <random>

namespace {

int noCallback(int, int) {
    return 0;
}

const int kOneChnlButtons[] = {IDC_1CH_FITCOLOR, IDC_1CH_FITSIZE, IDC_1CH_AUTOFIT, IDC_1CH_FITPEAK,
                               IDC_1CH_APPLY,    IDC_1CH_REFRESH, IDC_1CH_UPDATE,  IDC_1CH_RESET,
                               IDC_1CH_INFO,     IDC_1CH_BAR,     IDC_1CH_SETTING, IDC_1CH_ROTATE,
                               IDC_1CH_MOVEWAVE};
const int kContourButtons[] = {IDC_CM_AUTOFITCOLOR, IDC_CM_SENSORS,  IDC_CM_CONTOURMAP,
                               IDC_CM_CONTOURACT,   IDC_CM_MOVE,     IDC_CM_ANIMATE,
                               IDC_CM_RESET,        IDC_CM_UPDATE,   IDC_CM_APPLY,
                               IDC_CM_MARKSELECT,   IDC_CM_SETTINGS, IDC_CM_AUTOFITPLACE};
const int kStdSetButtons[] = {IDC_SET_GETRANGE,   IDC_SET_TRIAL2SELECT, IDC_SET_CHNL2SELECT,
                              IDC_SET_CHECKSPCTM, IDC_SET_AUTOFITTRIAL, IDC_SET_AUTOFITCHNL,
                              IDC_SET_RAWDATA,    IDC_SET_REFRESH,      IDC_SET_UPDATE,
                              IDC_SET_APPLY,      IDC_SET_COLOR512,     IDC_SET_POLARITY};

// A small recording with raw epochs: spectra of every class, MEG and EEG channels.
std::unique_ptr<CArrayMEDataSetzq> recording(unsigned long long seed, int megChannels = 12) {
    CSyntheticRecording::Options o;
    o.seed = seed;
    o.megChannels = megChannels;
    o.eegChannels = 8;
    o.epochs = 2;
    o.samplingRateHz = 250.0;
    o.samplesPerEpoch = 501;
    o.freqsHz = {8.0, 12.0, 20.0, 30.0};
    o.timeStepMs = 40.0;
    return CSyntheticRecording(o).build();
}

class HostContractTest : public UiTest {
protected:
    using OneChnlShow = int (CVelmoraFace04DlgOneChnl::*)(CArrayMEDataSetzq*, int (*)(int, int),
                                                          CWnd*);
    using MapShow = int (CVelmoraFace07DlgEeg::*)(CArrayMEDataSetzq*, int (*)(int, int), CWnd*);

    void showAll(CVelmoraFacezq& face, CArrayMEDataSetzq* data) {
        for (OneChnlShow show :
             std::initializer_list<OneChnlShow>{&CVelmoraFace04DlgOneChnl::show3DOneChnlSpctmAct,
                                                &CVelmoraFace04DlgOneChnl::show3DOneChnlSpctmCtl,
                                                &CVelmoraFace04DlgOneChnl::show3DOneChnlSpctmRst})
            ASSERT_EQ((face.*show)(data, noCallback, nullptr), 1);
        for (MapShow show :
             std::initializer_list<MapShow>{&CVelmoraFace07DlgEeg::show3DContMapSpctmMegAct,
                                            &CVelmoraFace07DlgEeg::show3DContMapSpctmEegCtl,
                                            &CVelmoraFace07DlgEeg::show3DContMapSpctmMegRst})
            ASSERT_EQ((face.*show)(data, noCallback, nullptr), 1);
        ASSERT_TRUE(face.m_pDlgStdSet);
        face.m_pDlgStdSet->ShowWindow(SW_SHOW);
    }

    std::vector<CDlgRnd3DSpctmOneChnl*> oneChnl(CVelmoraFacezq& face) {
        return {face.m_pDlgOneChnlAct, face.m_pDlgOneChnlCtl, face.m_pDlgOneChnlRst};
    }
    std::vector<CDlgContourMapSpctm3Dzq*> maps(CVelmoraFacezq& face) {
        return {face.m_pDlgContourAct, face.m_pDlgContourCtl, face.m_pDlgContourRst};
    }

    // Every button, the link command, keys, a drag and a paint of every window.
    void clickEverything(CVelmoraFacezq& face) {
        for (CDlgRnd3DSpctmOneChnl* dlg : oneChnl(face)) {
            if (!dlg)
                continue;
            for (int id : kOneChnlButtons)
                CWinTestDriver::Click(dlg->GetDlgItem(id));
            dlg->SendMessage(WM_COMMAND, ID_1CH_LINKCONTOURMAP);
            CWinTestDriver::SelectComboItem(&dlg->m_cmbClass, 2);
            CWinTestDriver::KeyPress(&dlg->m_view, VK_RIGHT);
            CWinTestDriver::Drag(&dlg->m_view, CPoint(40, 40), CPoint(60, 20));
            dlg->m_view.UpdateWindow();
        }
        for (CDlgContourMapSpctm3Dzq* dlg : maps(face)) {
            if (!dlg)
                continue;
            for (int id : kContourButtons)
                CWinTestDriver::Click(dlg->GetDlgItem(id));
            CWinTestDriver::FireTimer(dlg, CDlgContourMapSpctm3Dzq::kAnimateTimer);
            CWinTestDriver::KeyPress(&dlg->m_view, VK_UP);
            CWinTestDriver::Wheel(&dlg->m_view, CPoint(50, 50), 120);
            dlg->m_view.UpdateWindow();
        }
        if (CDlgSpctmRnd3DStdSet* set = face.m_pDlgStdSet) {
            for (int id : kStdSetButtons)
                CWinTestDriver::Click(set->GetDlgItem(id));
            CWinTestDriver::SelectComboItem(&set->m_cmbClass, 1);
            CWinTestDriver::ScrollAction(&set->m_scrHigh, SB_LINEDOWN);
        }
        CWinTestDriver::ProcessEvents();
    }

    // Whether any window, view or the renderer refers to data or its session (to any data set
    // or session for null).
    static bool holds(CVelmoraFacezq& face, CArrayMEDataSetzq* data) {
        CMEGDatazq* session = data ? data->getSessionData(0) : nullptr;
        const auto refers = [&](const CArrayMEDataSetzq* d, const CMEGDatazq* s) {
            return data ? d == data || s == session : d || s;
        };
        bool held = face.m_pRnd && refers(face.m_pRnd->dataSet, face.m_pRnd->session);
        for (CDlgRnd3DSpctmOneChnl* d :
             {face.m_pDlgOneChnlAct, face.m_pDlgOneChnlCtl, face.m_pDlgOneChnlRst})
            held = held || (d && (refers(d->m_pData, d->m_pSession) ||
                                  refers(d->m_view.m_pMEDataSet, d->m_view.m_pMEGData)));
        for (CDlgContourMapSpctm3Dzq* d :
             {face.m_pDlgContourAct, face.m_pDlgContourCtl, face.m_pDlgContourRst})
            held = held || (d && refers(d->m_view.m_pMEDataSet, d->m_view.m_pMEGData));
        CDlgSpctmRnd3DStdSet* set = face.m_pDlgStdSet;
        return held || (set && refers(set->m_pData, set->m_pSession));
    }
};

TEST_F(HostContractTest, FreeingARecordingAfterAnyRebindOrReleaseLeavesNothingDangling) {
    struct Case {
        const char* name;
        // Runs after every window was shown with a; returns the data set still bound.
        std::function<CArrayMEDataSetzq*(CVelmoraFacezq&, CArrayMEDataSetzq* a,
                                         CArrayMEDataSetzq* b)>
            rebind;
    };
    const Case cases[] = {
        {"single-channel show with another recording",
         [](CVelmoraFacezq& f, CArrayMEDataSetzq*, CArrayMEDataSetzq* b) {
             f.show3DOneChnlSpctmAct(b, noCallback, nullptr);
             return b;
         }},
        {"contour show with another recording",
         [](CVelmoraFacezq& f, CArrayMEDataSetzq*, CArrayMEDataSetzq* b) {
             f.show3DContMapSpctmEegRst(b, noCallback, nullptr);
             return b;
         }},
        {"parameters window shown with another recording",
         [](CVelmoraFacezq& f, CArrayMEDataSetzq*, CArrayMEDataSetzq* b) {
             f.showSpctmStdSetDlg(b, &f.m_pDlgOneChnlAct->m_view);
             return b;
         }},
        {"release of the recording",
         [](CVelmoraFacezq& f, CArrayMEDataSetzq* a, CArrayMEDataSetzq*) {
             EXPECT_EQ(f.releaseDataSet(a), 1);
             EXPECT_EQ(f.releaseDataSet(a), 0);
             return static_cast<CArrayMEDataSetzq*>(nullptr);
         }},
        {"release of everything",
         [](CVelmoraFacezq& f, CArrayMEDataSetzq*, CArrayMEDataSetzq*) {
             EXPECT_EQ(f.releaseDataSet(nullptr), 1);
             return static_cast<CArrayMEDataSetzq*>(nullptr);
         }},
        {"a null show keeps the binding, then the recording is freed unreleased",
         [](CVelmoraFacezq& f, CArrayMEDataSetzq*, CArrayMEDataSetzq*) {
             f.show3DOneChnlSpctmCtl(nullptr, noCallback, nullptr);
             return static_cast<CArrayMEDataSetzq*>(nullptr);
         }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        auto a = recording(1);
        auto b = recording(2, 6);
        ASSERT_TRUE(a && b);
        CVelmoraFacezq face;
        showAll(face, a.get());
        clickEverything(face);
        CArrayMEDataSetzq* bound = c.rebind(face, a.get(), b.get());
        if (bound) {
            EXPECT_FALSE(holds(face, a.get()));
        }
        const CArrayMEDataSetzq* freed = a.get();
        a.reset();
        clickEverything(face);
        if (bound) {
            EXPECT_EQ(face.m_pRnd->dataSet, bound);
            // A released window asking for the parameters window binds it to nothing.
            EXPECT_NE(face.m_pDlgStdSet->m_pData, freed);
        } else {
            EXPECT_FALSE(holds(face, nullptr));
            EXPECT_EQ(face.m_pDlgOneChnlAct->m_cmbChannel.GetCount(), 0);
        }
        // Bound again, every window works on the new recording.
        showAll(face, b.get());
        clickEverything(face);
        EXPECT_GT(face.m_pDlgOneChnlAct->m_cmbChannel.GetCount(), 0);
    }
}

TEST_F(HostContractTest, FacadeGoneFirstRecordingGoneFirstOrRecordingReplaced) {
    auto a = recording(3);
    ASSERT_TRUE(a);
    {
        CVelmoraFacezq face;
        showAll(face, a.get());
    }
    a.reset();
    auto b = recording(4);
    CVelmoraFacezq face;
    showAll(face, b.get());
    b.reset();
    EXPECT_FALSE(holds(face, nullptr));
    clickEverything(face);
    // A data set whose contents the host replaces by moving another one into it.
    auto c = recording(7);
    showAll(face, c.get());
    *c = std::move(*recording(8, 4));
    EXPECT_FALSE(holds(face, nullptr));
    clickEverything(face);
    showAll(face, c.get());
    clickEverything(face);
}

TEST_F(HostContractTest, SpectraClearedResizedOrRecomputedUnderOpenWindows) {
    auto a = recording(5);
    ASSERT_TRUE(a);
    CVelmoraFacezq face;
    showAll(face, a.get());
    clickEverything(face);
    CMEDataSetBuilder builder(*a);
    const auto recompute = [&](std::vector<double> freqs, double stepMs) {
        CSpctmSettings s;
        s.freqsHz = std::move(freqs);
        s.timeStepMs = stepMs;
        ASSERT_TRUE(builder.setSpectrumSettings(0, s));
        ASSERT_TRUE(builder.computeSpectra(0));
    };
    recompute({10.0, 20.0}, 40.0); // fewer frequencies, same time grid
    clickEverything(face);
    recompute({6.0, 9.0, 12.0, 16.0, 22.0, 30.0, 40.0}, 40.0); // more frequencies
    clickEverything(face);
    recompute({6.0, 9.0, 12.0}, 12.0); // more time points, fewer frequencies
    clickEverything(face);
    // Axes handed in for a trial of raw epochs are refused and change nothing under the windows.
    EXPECT_FALSE(builder.setSpectrumAxes(0, 0, 0, 3, 0.0, 100.0, std::vector<double>{10.0}));
    clickEverything(face);
    // The host empties the Active spectra under the open windows.
    a->getSessionData(0)->getTrialzq(0)->getSpctmTrial(false, 0)->clear();
    clickEverything(face);
    EXPECT_EQ(face.m_pDlgOneChnlAct->m_pTrial, a->getSessionData(0)->getTrialzq(0));
}

TEST_F(HostContractTest, SeededSoakOfUserAndHostActions) {
    std::vector<std::unique_ptr<CArrayMEDataSetzq>> recordings;
    for (unsigned long long seed : {11ull, 12ull})
        recordings.push_back(recording(seed, static_cast<int>(4 + 8 * seed % 3)));
    CVelmoraFacezq face;
    showAll(face, recordings[0].get());
    std::mt19937 rng(20261206u);
    const auto pick = [&](std::size_t n) {
        return static_cast<std::size_t>(std::uniform_int_distribution<std::size_t>(0, n - 1)(rng));
    };
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(45);
    int actions = 0;
    for (; actions < 2500 && std::chrono::steady_clock::now() < deadline; ++actions) {
        CDlgRnd3DSpctmOneChnl* one = oneChnl(face)[pick(3)];
        CDlgContourMapSpctm3Dzq* map = maps(face)[pick(3)];
        const CPoint p(static_cast<int>(pick(300)), static_cast<int>(pick(200)));
        switch (pick(12)) {
        case 0:
            if (one)
                CWinTestDriver::Click(
                    one->GetDlgItem(kOneChnlButtons[pick(std::size(kOneChnlButtons))]));
            break;
        case 1:
            if (map)
                CWinTestDriver::Click(
                    map->GetDlgItem(kContourButtons[pick(std::size(kContourButtons))]));
            break;
        case 2:
            if (face.m_pDlgStdSet)
                CWinTestDriver::Click(
                    face.m_pDlgStdSet->GetDlgItem(kStdSetButtons[pick(std::size(kStdSetButtons))]));
            break;
        case 3:
            if (one)
                CWinTestDriver::Drag(&one->m_view, p, CPoint(p.x + 7, p.y - 5), 2);
            break;
        case 4:
            if (map)
                CWinTestDriver::KeyPress(&map->m_view, pick(2) ? VK_LEFT : VK_DOWN);
            break;
        case 5:
            if (map)
                CWinTestDriver::FireTimer(map, CDlgContourMapSpctm3Dzq::kAnimateTimer);
            break;
        case 6:
            if (one && one->m_cmbChannel.GetCount() > 0)
                CWinTestDriver::SelectComboItem(
                    &one->m_cmbChannel, static_cast<int>(pick(one->m_cmbChannel.GetCount())));
            break;
        case 7:
            if (map)
                map->m_view.UpdateWindow();
            if (one)
                one->m_view.UpdateWindow();
            break;
        case 8:
            face.releaseDataSet(pick(2) ? nullptr : recordings[pick(recordings.size())].get());
            break;
        case 9: {
            // The host frees a recording and makes a new one in its place.
            const std::size_t i = pick(recordings.size());
            recordings[i].reset();
            recordings[i] = recording(100 + actions, static_cast<int>(4 + pick(12)));
            break;
        }
        case 10: {
            CArrayMEDataSetzq* data = recordings[pick(recordings.size())].get();
            if (pick(2))
                face.show3DOneChnlSpctmRst(data, noCallback, nullptr);
            else
                face.show3DContMapSpctmMegCtl(data, noCallback, nullptr);
            break;
        }
        default: {
            CSpctmSettings s;
            s.freqsHz = {6.0 + static_cast<double>(pick(4)), 15.0,
                         25.0 + static_cast<double>(pick(10))};
            s.timeStepMs = pick(2) ? 40.0 : 20.0;
            CMEDataSetBuilder b(*recordings[pick(recordings.size())]);
            if (b.setSpectrumSettings(0, s))
                b.computeSpectra(0);
            break;
        }
        }
        CWinTestDriver::ProcessEvents();
    }
    EXPECT_GT(actions, 200);
}

TEST_F(HostContractTest, HostSelectedPointSurvivesUpdateAndRawData) {
    auto a = recording(9);
    ASSERT_TRUE(a);
    CVelmoraFacezq face;
    showAll(face, a.get());
    ASSERT_TRUE(CMEDataSetBuilder(*a).setSelectedPoint(0, 0, 0, 3, 2));
    CSpctmTrialzq* st = a->getSessionData(0)->getTrialzq(0)->getSpctmTrial(false, 0);
    for (const auto& [window, id] : {std::pair<CWnd*, int>{face.m_pDlgOneChnlAct, IDC_1CH_UPDATE},
                                     {face.m_pDlgStdSet, IDC_SET_RAWDATA},
                                     {face.m_pDlgStdSet, IDC_SET_CHECKSPCTM}}) {
        CWinTestDriver::Click(window->GetDlgItem(id));
        st = a->getSessionData(0)->getTrialzq(0)->getSpctmTrial(false, 0);
        ASSERT_TRUE(st);
        long long t = -1, f = -1;
        ASSERT_EQ(st->getTrialSpctmSelectTimeFreqBB(t, f), 1);
        EXPECT_EQ(t, 3) << id;
        EXPECT_EQ(f, 2) << id;
        EXPECT_TRUE(st->isSelectSetByHost()) << id;
    }
}

// Pixels of the view's client area that differ from its corner (the background).
int drawnPixels(CWnd* view) {
    int w = 0, h = 0;
    const std::vector<std::uint32_t> px = CWinTestDriver::GrabClient(view, &w, &h);
    return px.empty() ? 0
                      : static_cast<int>(std::count_if(
                            px.begin(), px.end(), [&](std::uint32_t p) { return p != px[0]; }));
}

TEST_F(HostContractTest, ValuesTheViewCannotDrawAreRefusedAndResetRestoresThem) {
    auto a = recording(6);
    ASSERT_TRUE(a);
    CVelmoraFacezq face;
    ASSERT_EQ(face.show3DOneChnlSpctmAct(a.get(), noCallback, nullptr), 1);
    CDlgRnd3DSpctmOneChnl* dlg = face.m_pDlgOneChnlAct;
    dlg->m_view.UpdateWindow();
    if (!dlg->m_view.m_pM3D)
        GTEST_SKIP() << "no 3D device";
    const int drawn = drawnPixels(&dlg->m_view);
    ASSERT_GT(drawn, 100);
    const struct {
        int id;
        const char16_t* text;
        const char* prompt;
    } typed[] = {{IDC_1CH_LEFTRIGHT, u"1e308", "Please enter a number between 1e-06 and 1000."},
                 {IDC_1CH_ANTPOST, u"0", "Please enter a number between 1e-06 and 1000."},
                 {IDC_1CH_VRATIO, u"0", "Please enter a number between 1e-40 and 1e+40."},
                 {IDC_1CH_VRATIO, u"1e308", "Please enter a number between 1e-40 and 1e+40."},
                 {IDC_1CH_VPEAK, u"-1e308", "Please enter a number between 1e-06 and 1000000."}};
    for (const auto& t : typed) {
        const double before[] = {dlg->m_view.m_leftRight, dlg->m_view.m_antPost,
                                 dlg->m_view.m_vRatio, dlg->m_vPeak};
        CString shown;
        dlg->GetDlgItem(t.id)->GetWindowText(shown);
        messages.Clear();
        dlg->GetDlgItem(t.id)->SetWindowText(t.text);
        EXPECT_EQ(messages.LastText().ToUtf8(), t.prompt);
        CWinTestDriver::Click(dlg->GetDlgItem(IDC_1CH_APPLY));
        const double after[] = {dlg->m_view.m_leftRight, dlg->m_view.m_antPost,
                                dlg->m_view.m_vRatio, dlg->m_vPeak};
        EXPECT_TRUE(std::equal(std::begin(before), std::end(before), std::begin(after)));
        dlg->GetDlgItem(t.id)->SetWindowText(shown);
    }
    // Values the window never accepts, written by a host straight into the renderer.
    face.m_pRnd->scaleTime = 1e308;
    face.m_pRnd->scaleValue = -std::numeric_limits<double>::infinity();
    dlg->m_view.updateSpctmSurface();
    CWinTestDriver::Click(dlg->GetDlgItem(IDC_1CH_RESET));
    EXPECT_EQ(face.m_pRnd->scaleTime, 1.0);
    EXPECT_EQ(face.m_pRnd->scaleValue, 1.0);
    CWinTestDriver::Click(dlg->GetDlgItem(IDC_1CH_AUTOFIT));
    dlg->m_view.UpdateWindow();
    EXPECT_GT(drawnPixels(&dlg->m_view), drawn / 2);
}

} // namespace
