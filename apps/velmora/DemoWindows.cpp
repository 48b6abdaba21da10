// Opens the demo's windows through the facade and either runs them or snapshots them.
#include "DemoWindows.h"

#include "SweepWriter.h"
#include "dialogs/CDlgContourMapSpctm3Dzq.h"
#include "dialogs/CDlgRnd3DSpctmOneChnl.h"
#include "dialogs/CDlgSpctmRnd3DStdSet.h"
#include "dialogs/res/resource.h"
#include "engine/CM3Dzq.h"
#include "facade/CVelmoraFacezq.h"
#include "recording/CArrayMEDataSetzq.h"
#include "render/CMEGSpctm3DRndzq.h"

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <limits>
#include <utility>
#include <vector>

namespace {

// The demo host has nothing to do when the view calls back.
int hostCallback(int, int) {
    return 0;
}

bool grab(CWnd* wnd, const std::filesystem::path& file, std::ostream& log) {
    if (!wnd || !AfxSaveWindowImage(wnd, file.string().c_str())) {
        log << "velmora: could not write " << file.string() << "\n";
        return false;
    }
    log << "wrote " << file.string() << "\n";
    return true;
}

constexpr int kPower = 2;
const char* const kRoles[] = {"active", "control", "result"};
// Frames per second of a sweep movie: ten ticks a second, as the default "Speed" plays it.
constexpr int kMovieFps = 10;
constexpr double kSurfaceWidth = 640.0;
constexpr double kSurfaceDepth = 480.0;
// Height of the largest value after "Autofit": the scene's peak limit, which the dialog's
// fit gives values above it, so that values of any size open with the same relief (V Peak
// would leave those below it 30 high on a base 640 wide).
constexpr double kPeakHeight = 512.0;

// The MEG sensor kind the map shows: the one asked for, else magnetometers when the data
// has several kinds (the field's maps show one kind at a time), else all of them.
int sensorKindFor(CMDTrialzq* trial, const DemoWindowOptions& o) {
    if (o.sensorKind != DemoWindowOptions::kDefaultSensors)
        return o.sensorKind;
    return CStatContourMapSpctm3Dzq::megSnsKindsOf(trial).size() > 1
               ? CStatD3DM00MEGData::kMegMagnetometer
               : CStatD3DM00MEGData::kMegAllKinds;
}

// Among the channels the map shows, the one whose power in the class peaks highest becomes
// current, so the single-channel window opens on the strongest activity in the map's unit.
void selectStrongestChannel(CMDTrialzq& trial, const DemoWindowOptions& o) {
    const int kind = sensorKindFor(&trial, o);
    int best = -1;
    double bestMax = 0.0;
    for (int i = 0; i < trial.getTotalChannel(); ++i) {
        CMDChannelzq* ch = trial.getChannel(i);
        const bool shown =
            o.eeg ? ch->getEegElectrode(0) != nullptr
                  : ch->getMEGSensorzq() && CStatD3DM00MEGData::checkMegSnsKind(ch, kind);
        double lo = 0.0, hi = 0.0;
        if (shown &&
            trial.getSpctmRange4OneChnlShowAbs(0, i, &lo, &hi, nullptr, true, o.spectralClass,
                                               kPower) &&
            hi > bestMax) {
            best = i;
            bestMax = hi;
        }
    }
    if (best >= 0)
        trial.setCurrentChannel(best);
}

// The channel the host named becomes current, else the strongest one; false, with the reason
// on log, for a label the data set does not hold.
bool selectChannel(CArrayMEDataSetzq& data, const DemoWindowOptions& o, std::ostream& log) {
    CMEGDatazq* session = data.getSessionData(-1);
    CMDTrialzq* trial = session ? session->getTrialzq(-1) : nullptr;
    if (!trial)
        return true;
    if (o.channel.empty()) {
        selectStrongestChannel(*trial, o);
        return true;
    }
    const CString wanted = CString::FromUtf8(o.channel);
    for (int i = 0; i < trial->getTotalChannel(); ++i) {
        if (CString(trial->getChannel(i)->label) == wanted) {
            trial->setCurrentChannel(i);
            return true;
        }
    }
    log << "velmora: no channel is labelled " << o.channel << "\n";
    return false;
}

// The demo's choices before the first show: power in both windows (the parameters window
// fits its colour range with its own component on its first show), and axes in the pixel
// scale of the peak limit, so that the surface is about as deep as wide.
void prepareWindows(CVelmoraFacezq& face, CArrayMEDataSetzq& data, const DemoWindowOptions& o) {
    const int spectralClass = o.spectralClass;
    face.checkInitMEGSpctm3DRnd(&data);
    face.checkInitSpctmDlgSingleChnl(spectralClass);
    CDlgRnd3DSpctmOneChnl* oneChnl[] = {face.m_pDlgOneChnlAct, face.m_pDlgOneChnlCtl,
                                        face.m_pDlgOneChnlRst};
    if (oneChnl[spectralClass])
        oneChnl[spectralClass]->m_vPeak = kPeakHeight;
    face.checkInitSpctmStdSetDlg(nullptr);
    if (face.m_pDlgStdSet)
        face.m_pDlgStdSet->m_component = kPower;
    face.sendMessageX(4, kPower);
    CMEGDatazq* session = data.getSessionData(-1);
    CMDTrialzq* trial = session ? session->getTrialzq(-1) : nullptr;
    CSpctmTrialzq* st = trial ? trial->getSpctmTrial(false, spectralClass) : nullptr;
    if (face.m_pRnd && st && st->getTrialSpctmTimePt() > 0 && st->getTrialSpctmFreqPt() > 0) {
        face.m_pRnd->scaleTime = kSurfaceWidth / static_cast<double>(st->getTrialSpctmTimePt());
        face.m_pRnd->scaleFreq = kSurfaceDepth / st->getTrialSpctmFreqPt();
    }
}

CDlgContourMapSpctm3Dzq* contourDialog(CVelmoraFacezq& face, int spectralClass) {
    CDlgContourMapSpctm3Dzq* dialogs[] = {face.m_pDlgContourAct, face.m_pDlgContourCtl,
                                          face.m_pDlgContourRst};
    return dialogs[spectralClass];
}

CDlgRnd3DSpctmOneChnl* oneChnlDialog(CVelmoraFacezq& face, int spectralClass) {
    CDlgRnd3DSpctmOneChnl* dialogs[] = {face.m_pDlgOneChnlAct, face.m_pDlgOneChnlCtl,
                                        face.m_pDlgOneChnlRst};
    return dialogs[spectralClass];
}

int openWindows(CVelmoraFacezq& face, CArrayMEDataSetzq& data, const DemoWindowOptions& o) {
    using Show = int (CVelmoraFacezq::*)(CArrayMEDataSetzq*, int (*)(int, int), CWnd*);
    const Show oneChnl[] = {&CVelmoraFacezq::show3DOneChnlSpctmAct,
                            &CVelmoraFacezq::show3DOneChnlSpctmCtl,
                            &CVelmoraFacezq::show3DOneChnlSpctmRst};
    const Show meg[] = {&CVelmoraFacezq::show3DContMapSpctmMegAct,
                        &CVelmoraFacezq::show3DContMapSpctmMegCtl,
                        &CVelmoraFacezq::show3DContMapSpctmMegRst};
    const Show eeg[] = {&CVelmoraFacezq::show3DContMapSpctmEegAct,
                        &CVelmoraFacezq::show3DContMapSpctmEegCtl,
                        &CVelmoraFacezq::show3DContMapSpctmEegRst};
    const int c = o.spectralClass;
    if (!(face.*oneChnl[c])(&data, hostCallback, nullptr))
        return 0;
    return (face.*(o.eeg ? eeg : meg)[c])(&data, hostCallback, nullptr);
}

// Indices [lo, hi] of the increasing axis values inside [from, to]; false when none is.
bool axisRange(const std::vector<double>& axis, double from, double to, long long& lo,
               long long& hi) {
    lo = std::lower_bound(axis.begin(), axis.end(), from) - axis.begin();
    hi = std::upper_bound(axis.begin(), axis.end(), to) - axis.begin() - 1;
    return lo <= hi;
}

// The contour map's window: the host's, or the alpha band (8-12 Hz) over the whole epoch,
// where the recording's occipital alpha lives (on the highest frequency of spectra that do not
// reach 8 Hz). False, with the reason on log, for a window that holds no time point or no
// frequency of the spectra.
bool showContourWindow(CVelmoraFacezq& face, CDlgContourMapSpctm3Dzq& dlg,
                       const DemoWindowOptions& o, std::ostream& log) {
    CMDTrialzq* trial = dlg.m_view.m_pTrial;
    CSpctmTrialzq* st = trial ? trial->getSpctmTrial(false, o.spectralClass) : nullptr;
    if (!st || !face.m_pRnd || st->getFreqsHz().empty())
        return true;
    const std::vector<double>& freqs = st->getFreqsHz();
    std::vector<double> times(static_cast<std::size_t>(st->getTrialSpctmTimePt()));
    for (std::size_t t = 0; t < times.size(); ++t)
        times[t] = st->getLatencyMs(static_cast<long long>(t));
    const double inf = std::numeric_limits<double>::infinity();
    long long t0 = 0, t1 = 0, f0 = 0, f1 = 0;
    if (!axisRange(times, std::isnan(o.tminMs) ? -inf : o.tminMs,
                   std::isnan(o.tmaxMs) ? inf : o.tmaxMs, t0, t1)) {
        log << "velmora: the contour window's times hold no time point of the spectra ("
            << times.front() << " to " << times.back() << " ms)\n";
        return false;
    }
    if (std::isnan(o.fminHz) && std::isnan(o.fmaxHz)) {
        const auto index = [&](double hz) {
            return std::lower_bound(freqs.begin(), freqs.end(), hz) - freqs.begin();
        };
        const long long last = static_cast<long long>(freqs.size()) - 1;
        f0 = std::min<long long>(index(8.0), last);
        f1 = std::clamp<long long>(index(12.0), f0, last);
    } else if (!axisRange(freqs, std::isnan(o.fminHz) ? -inf : o.fminHz,
                          std::isnan(o.fmaxHz) ? inf : o.fmaxHz, f0, f1)) {
        log << "velmora: the contour window's frequencies hold no frequency of the spectra ("
            << freqs.front() << " to " << freqs.back() << " Hz)\n";
        return false;
    }
    face.m_pRnd->timePos = t0;
    face.m_pRnd->freqPos = f0;
    CString width, height;
    width.Format(u"%I64d", t1 - t0);
    height.Format(u"%I64d", f1 - f0);
    dlg.SetDlgItemText(IDC_CM_WINWIDTH, width);
    dlg.SetDlgItemText(IDC_CM_WINHEIGHT, height);
    dlg.SendMessage(WM_COMMAND, MAKEWPARAM(IDC_CM_UPDATE, BN_CLICKED), 0);
    return true;
}

// Steps the contour map's animation tick by tick as its timer would, painting each frame;
// every frame goes into dir as a PNG and into the movie, when given, on a worker thread.
// The frames show the view as the window does: the map with the line naming its window and the
// colour bar; one colour range, fitted over every window the sweep visits, so frames compare.
bool sweep(CDlgContourMapSpctm3Dzq& dlg, const DemoWindowOptions& o, std::ostream& log) {
    CStatContourMapSpctm3Dzq& view = dlg.m_view;
    dlg.SendMessage(WM_COMMAND, MAKEWPARAM(IDC_CM_ANIMATE, BN_CLICKED), 0);
    const int autofit = std::exchange(view.m_autofitColor, 0);
    view.fitColor4Sweep(o.sweepTicks);
    SweepWriter writer(o.snapshotDir, o.movieFile, kMovieFps, log);
    const auto start = std::chrono::steady_clock::now();
    bool ok = true;
    int ticks = 0;
    std::vector<std::uint32_t> frame;
    for (; ticks < o.sweepTicks && ok; ++ticks) {
        dlg.SendMessage(WM_TIMER, CDlgContourMapSpctm3Dzq::kAnimateTimer, 0);
        view.UpdateWindow();
        int width = 0, height = 0;
        if (!view.m_pM3D || !view.m_pM3D->getImage() ||
            !AfxGetWindowImage(&view, frame, width, height)) {
            log << "velmora: the contour map painted no frame\n";
            ok = false;
            break;
        }
        ok = writer.add(frame.data(), width, height);
    }
    ok = writer.finish() && ok;
    const double seconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    view.m_autofitColor = autofit;
    dlg.SendMessage(WM_COMMAND, MAKEWPARAM(IDC_CM_ANIMATE, BN_CLICKED), 0);
    log << "swept " << ticks << " ticks in " << seconds << " s ("
        << (seconds > 0 ? ticks / seconds : 0.0) << " frames/s)\n";
    return ok;
}

// The MEG sensors of the map; false, with the reason on log, for a kind the data lacks.
bool chooseSensors(CVelmoraFacezq& face, CDlgContourMapSpctm3Dzq& dlg, const DemoWindowOptions& o,
                   std::ostream& log) {
    const std::vector<int> kinds = dlg.m_view.getMegSnsKinds();
    const int kind = sensorKindFor(dlg.m_view.m_pTrial, o);
    if (face.setCntmpSnsKind(o.spectralClass, kind))
        return true;
    const char* const names[] = {"magnetometers", "planar gradiometers", "axial gradiometers"};
    std::string present;
    for (int k : kinds)
        present += std::string(present.empty() ? "" : ", ") + names[k];
    log << "velmora: --sensors: the recording has no " << names[std::clamp(kind, 0, 2)]
        << " (its MEG sensors: " << (present.empty() ? "none" : present) << ")\n";
    return false;
}

int snapshot(CVelmoraFacezq& face, const DemoWindowOptions& o, std::ostream& log) {
    std::error_code ec;
    std::filesystem::create_directories(o.snapshotDir, ec);
    if (ec) {
        log << "velmora: cannot create " << o.snapshotDir << ": " << ec.message() << "\n";
        return 1;
    }
    // Let the windows lay out and paint before they are grabbed.
    for (int i = 0; i < 3; ++i)
        AfxPumpMessages();
    const std::filesystem::path base(o.snapshotDir);
    const std::string role = kRoles[o.spectralClass];
    bool ok =
        grab(oneChnlDialog(face, o.spectralClass), base / ("single-channel-" + role + ".png"), log);
    ok = grab(face.m_pDlgStdSet, base / "parameters.png", log) && ok;
    const std::string contour = std::string("contour-") + (o.eeg ? "eeg-" : "") + role + ".png";
    CDlgContourMapSpctm3Dzq* dlg = contourDialog(face, o.spectralClass);
    ok = grab(dlg, base / contour, log) && ok;
    if (o.sweepTicks > 0 && dlg)
        ok = sweep(*dlg, o, log) && ok;
    return ok ? 0 : 1;
}

bool envSet(const char* name) {
    const char* v = std::getenv(name);
    return v && *v;
}

// Where the session's display is said to be, for the message when it cannot be opened.
std::string displayNames() {
    std::string names;
    for (const char* name : {"DISPLAY", "WAYLAND_DISPLAY"})
        if (envSet(name))
            names += std::string(names.empty() ? "" : ", ") + name + "=" + std::getenv(name);
    return names;
}

// Opens the display for interactive windows; without one (none named, offscreen asked for,
// or one that does not answer) the windows are painted into the default snapshot folder.
void chooseDisplay(DemoWindowOptions& o, std::ostream& log) {
    if (!o.snapshotDir.empty())
        return;
    const char* platform = std::getenv("QT_QPA_PLATFORM");
    const bool offscreen = platform && std::strncmp(platform, "offscreen", 9) == 0;
    o.snapshotDir = "snapshots";
    if (offscreen || (!envSet("DISPLAY") && !envSet("WAYLAND_DISPLAY")))
        log << "No display: painting the windows into " << o.snapshotDir << "/\n";
    else if (!AfxWinInit())
        log << "The display (" << displayNames() << ") could not be opened: painting the "
            << "windows into " << o.snapshotDir << "/\n";
    else
        o.snapshotDir.clear();
}

} // namespace

bool openDemoWindows(CVelmoraFacezq& face, CArrayMEDataSetzq& data,
                     const DemoWindowOptions& options, std::ostream& log) {
    if (!selectChannel(data, options, log))
        return false;
    prepareWindows(face, data, options);
    if (!openWindows(face, data, options)) {
        log << "velmora: the spectral windows could not be opened\n";
        return false;
    }
    face.sendMessageX(4, kPower);
    CDlgRnd3DSpctmOneChnl* oneChnl = oneChnlDialog(face, options.spectralClass);
    // Opened as the window's "setting" button does (which binds its view).
    oneChnl->SendMessage(WM_COMMAND, MAKEWPARAM(IDC_1CH_SETTING, BN_CLICKED), 0);
    if (!face.m_pDlgStdSet || !face.m_pDlgStdSet->IsWindowVisible()) {
        log << "velmora: the parameters window could not be opened\n";
        return false;
    }
    // Smooth lighting over the whole grid, picked in the parameters window.
    auto* detail = static_cast<CComboBox*>(face.m_pDlgStdSet->GetDlgItem(IDC_SET_DETAIL));
    if (detail) {
        detail->SetCurSel(2);
        face.m_pDlgStdSet->SendMessage(WM_COMMAND, MAKEWPARAM(IDC_SET_DETAIL, CBN_SELCHANGE), 0);
    }
    CDlgContourMapSpctm3Dzq* contour = contourDialog(face, options.spectralClass);
    if (!contour)
        return true;
    if (!showContourWindow(face, *contour, options, log))
        return false;
    if (!options.eeg && !chooseSensors(face, *contour, options, log))
        return false;
    // Colours that fit the quantity; the windows share them.
    face.fitColor4Quantity(options.spectralClass);
    return true;
}

int runDemoWindows(CArrayMEDataSetzq& data, const DemoWindowOptions& options, std::ostream& log) {
    DemoWindowOptions o = options;
    chooseDisplay(o, log);
    if (!o.snapshotDir.empty())
        setenv("QT_QPA_PLATFORM", "offscreen", 1);
    if (!AfxWinInit()) {
        log << "velmora: Qt's offscreen platform could not be started\n";
        return 1;
    }
    CVelmoraFacezq face;
    if (!openDemoWindows(face, data, o, log))
        return 1;
    if (!o.snapshotDir.empty())
        return snapshot(face, o, log);
    return AfxRunMessageLoop();
}
