// Opens the demo's windows through the facade and either runs them or snapshots them.
#include "DemoWindows.h"

#include "dialogs/CDlgRnd3DSpctmOneChnl.h"
#include "dialogs/CDlgSpctmRnd3DStdSet.h"
#include "facade/CVelmoraFacezq.h"
#include "win/CWinTestDriver.h"

#include <filesystem>

namespace {

// The demo host has nothing to do when the view calls back.
int hostCallback(int, int) { return 0; }

bool grab(CWnd* wnd, const std::filesystem::path& file, std::ostream& log) {
    if (!wnd || !CWinTestDriver::GrabToPng(wnd, file.string().c_str())) {
        log << "velmora-demo: could not write " << file.string() << "\n";
        return false;
    }
    log << "wrote " << file.string() << "\n";
    return true;
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
    if (!face.show3DOneChnlSpctmAct(&data, hostCallback, nullptr)) {
        log << "velmora-demo: the single-channel window could not be opened\n";
        return 1;
    }
    if (!face.showSpctmStdSetDlg(&data, &face.m_pDlgOneChnlAct->m_view)) {
        log << "velmora-demo: the parameters window could not be opened\n";
        return 1;
    }
    if (!snapshotDir.empty())
        return snapshot(face, snapshotDir, log);
    return AfxRunMessageLoop();
}
