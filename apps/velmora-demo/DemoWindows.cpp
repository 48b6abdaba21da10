// Opens the demo's windows through the facade and either runs them or snapshots them.
#include "DemoWindows.h"

#include "dialogs/CDlgRnd3DSpctmOneChnl.h"
#include "dialogs/CDlgSpctmRnd3DStdSet.h"
#include "dialogs/res/resource.h"
#include "facade/CVelmoraFacezq.h"
#include "recording/CArrayMEDataSetzq.h"
#include "render/CMEGSpctm3DRndzq.h"
#include "win/CWinTestDriver.h"

#include <filesystem>

namespace {

// The demo host has nothing to do when the view calls back.
int hostCallback(int, int) {
    return 0;
}

bool grab(CWnd* wnd, const std::filesystem::path& file, std::ostream& log) {
    if (!wnd || !CWinTestDriver::GrabToPng(wnd, file.string().c_str())) {
        log << "velmora-demo: could not write " << file.string() << "\n";
        return false;
    }
    log << "wrote " << file.string() << "\n";
    return true;
}

constexpr int kPower = 2;
constexpr double kSurfaceWidth = 640.0;
constexpr double kSurfaceDepth = 480.0;

// The channel whose Active power peaks highest becomes current, so the window opens on
// the strongest activity of the recording.
void selectStrongestChannel(CArrayMEDataSetzq& data) {
    CMEGDatazq* session = data.getSessionData(-1);
    CMDTrialzq* trial = session ? session->getTrialzq(-1) : nullptr;
    if (!trial)
        return;
    int best = -1;
    double bestMax = 0.0;
    for (int i = 0; i < trial->getTotalChannel(); ++i) {
        double lo = 0.0, hi = 0.0;
        if (trial->getSpctmRange4OneChnlShowAbs(0, i, &lo, &hi, nullptr, true, 0, kPower) &&
            hi > bestMax) {
            best = i;
            bestMax = hi;
        }
    }
    if (best >= 0)
        trial->setCurrentChannel(best);
}

// The demo's choices before the first show: power in both windows (the parameters window
// fits its colour range with its own component on its first show), and axes in the pixel
// scale of the peak limit, so that the surface is about as deep as wide.
void prepareWindows(CVelmoraFacezq& face, CArrayMEDataSetzq& data) {
    selectStrongestChannel(data);
    face.checkInitMEGSpctm3DRnd(&data);
    face.checkInitSpctmDlgSingleChnl(0);
    face.checkInitSpctmStdSetDlg(nullptr);
    if (face.m_pDlgStdSet)
        face.m_pDlgStdSet->m_component = kPower;
    face.sendMessageX(4, kPower);
    CMEGDatazq* session = data.getSessionData(-1);
    CMDTrialzq* trial = session ? session->getTrialzq(-1) : nullptr;
    CSpctmTrialzq* st = trial ? trial->getSpctmTrial(false, 0) : nullptr;
    if (face.m_pRnd && st && st->getTrialSpctmTimePt() > 0 && st->getTrialSpctmFreqPt() > 0) {
        face.m_pRnd->scaleTime = kSurfaceWidth / static_cast<double>(st->getTrialSpctmTimePt());
        face.m_pRnd->scaleFreq = kSurfaceDepth / st->getTrialSpctmFreqPt();
    }
}

// Tilts the surface towards the viewer with the arrow key, as a user would.
void tiltView(CVelmoraFacezq& face, int steps) {
    CWnd* view = &face.m_pDlgOneChnlAct->m_view;
    for (int i = 0; i < steps; ++i)
        CWinTestDriver::KeyPress(view, VK_UP);
}

int snapshot(CVelmoraFacezq& face, const std::string& dir, std::ostream& log) {
    std::error_code ec;
    std::filesystem::create_directories(dir, ec);
    if (ec) {
        log << "velmora-demo: cannot create " << dir << ": " << ec.message() << "\n";
        return 1;
    }
    // Let the windows lay out and paint before they are grabbed.
    for (int i = 0; i < 3; ++i)
        AfxPumpMessages();
    const std::filesystem::path base(dir);
    bool ok = grab(face.m_pDlgOneChnlAct, base / "single-channel-active.png", log);
    ok = grab(face.m_pDlgStdSet, base / "parameters.png", log) && ok;
    return ok ? 0 : 1;
}

} // namespace

int runDemoWindows(CArrayMEDataSetzq& data, const std::string& snapshotDir, std::ostream& log) {
    if (!AfxWinInit()) {
        log << "velmora-demo: no window system could be opened (try --snapshot DIR, which "
               "runs on Qt's offscreen platform)\n";
        return 1;
    }
    CVelmoraFacezq face;
    prepareWindows(face, data);
    if (!face.show3DOneChnlSpctmAct(&data, hostCallback, nullptr)) {
        log << "velmora-demo: the single-channel window could not be opened\n";
        return 1;
    }
    // Opened as a user does, with the window's "setting" button (which binds its view).
    CWinTestDriver::Click(face.m_pDlgOneChnlAct->GetDlgItem(IDC_1CH_SETTING));
    if (!face.m_pDlgStdSet || !face.m_pDlgStdSet->IsWindowVisible()) {
        log << "velmora-demo: the parameters window could not be opened\n";
        return 1;
    }
    // Smooth lighting over the whole grid, picked in the parameters window.
    auto* detail = static_cast<CComboBox*>(face.m_pDlgStdSet->GetDlgItem(IDC_SET_DETAIL));
    if (detail)
        CWinTestDriver::SelectComboItem(detail, 2);
    AfxPumpMessages();
    tiltView(face, 6);
    if (!snapshotDir.empty())
        return snapshot(face, snapshotDir, log);
    return AfxRunMessageLoop();
}
