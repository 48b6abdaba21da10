// What a host asks of the demo's windows reaches them: the single-channel window's channel and
// the contour map's window; what the data cannot give is refused with the reason.
#include "DemoWindows.h"

#include "dialogs/CDlgContourMapSpctm3Dzq.h"
#include "dialogs/res/resource.h"
#include "facade/CVelmoraFacezq.h"
#include "render/CMEGSpctm3DRndzq.h"
#include "synthetic/CSyntheticRecording.h"
#include "win/afxwin.h"

#include <gtest/gtest.h>
#include <limits>
#include <sstream>

namespace {

CString label(CArrayMEDataSetzq& data) {
    CMDTrialzq* trial = data.getSessionData(-1)->getTrialzq(-1);
    return CString(trial->getChannel(trial->getCurntChnlIndx())->label);
}

TEST(DemoWindows, TheHostsChannelAndContourWindowAreShown) {
    if (!AfxWinInit())
        GTEST_SKIP() << "no window system (Qt's offscreen platform is missing)";
    CSyntheticRecording recording;
    auto data = recording.build();
    ASSERT_TRUE(data) << recording.getError();
    DemoWindowOptions o;
    o.channel = "MEG0113";
    // The spectra's grid: 10 ms steps from 0 ms, 2 Hz steps from 4 Hz.
    o.tminMs = 95.0;
    o.tmaxMs = 300.0;
    o.fminHz = 20.0;
    o.fmaxHz = 31.0;
    std::ostringstream log;
    {
        CVelmoraFacezq face;
        ASSERT_TRUE(openDemoWindows(face, *data, o, log)) << log.str();
        EXPECT_EQ(label(*data), CString(u"MEG0113"));
        EXPECT_EQ(face.m_pRnd->timePos, 10);
        EXPECT_EQ(face.m_pRnd->freqPos, 8);
        EXPECT_EQ(face.m_pDlgContourAct->GetDlgItemInt(IDC_CM_WINWIDTH), 20u);
        EXPECT_EQ(face.m_pDlgContourAct->GetDlgItemInt(IDC_CM_WINHEIGHT), 5u);
    }
    // One bound alone: the window reaches the grid's end on the other side.
    o.fminHz = 40.0;
    o.fmaxHz = std::numeric_limits<double>::quiet_NaN();
    {
        CVelmoraFacezq face;
        ASSERT_TRUE(openDemoWindows(face, *data, o, log)) << log.str();
        EXPECT_EQ(face.m_pRnd->freqPos, 18);
        EXPECT_EQ(face.m_pDlgContourAct->GetDlgItemInt(IDC_CM_WINHEIGHT), 11u);
    }
    o.channel = "MEG9999";
    CVelmoraFacezq missing;
    EXPECT_FALSE(openDemoWindows(missing, *data, o, log));
    EXPECT_NE(log.str().find("no channel is labelled MEG9999"), std::string::npos);
    o.channel.clear();
    o.fminHz = 100.0;
    o.fmaxHz = 120.0;
    CVelmoraFacezq outside;
    EXPECT_FALSE(openDemoWindows(outside, *data, o, log));
    EXPECT_NE(log.str().find("hold no frequency of the spectra"), std::string::npos);
}

} // namespace
