// Validating construction of a data set by a host. Every call checks all it can (including
// the memory the session's spectra would take) before it changes anything.
#include "recording/CMEDataSetBuilder.h"

#include "CMorletTransform.h"
#include "CSpctmBudget.h"
#include "recording/CUtfText.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <new>
#include <utility>

namespace {

using Result = CMEDataSetBuilder::Result;

Result fail(std::string message) {
    return Result{false, std::move(message), {}};
}

std::string num(double v) {
    char text[32];
    std::snprintf(text, sizeof text, "%.10g", v);
    return text;
}

// Why the class is not one of 0..2; empty when it is.
std::string classError(int spectralClass) {
    if (spectralClass >= 0 && spectralClass <= 2) {
        return {};
    }
    return "spectral class must be 0 (Active), 1 (Control) or 2 (Result), not " +
           std::to_string(spectralClass);
}

// Why latencies from firstMs to lastMs are implausible; empty when both lie within the bound.
std::string latencyError(const char* what, double firstMs, double lastMs) {
    constexpr double kMax = CMEDataSetBuilder::kMaxLatencyMs;
    if (std::fabs(firstMs) <= kMax && std::fabs(lastMs) <= kMax) {
        return {};
    }
    return std::string("the latency of every ") + what + " must lie within +-" + num(kMax) +
           " ms; these run from " + num(firstMs) + " to " + num(lastMs) + " ms";
}

bool anyOtherRaw(CMDTrialzq& t, int channel) {
    CMDChannelzq** chs = t.getAllChannelPt();
    for (int c = 0; c < t.getTotalChannel(); ++c) {
        if (c != channel && !chs[c]->getRawData().empty()) {
            return true;
        }
    }
    return false;
}

// Raw epoch timing and windows of a trial, as they stand or as a call proposes them.
struct RawPlan {
    double rate = 0.0;
    double firstMs = 0.0;
    long long nSamples = 0;
    bool hasWindows = false;
    bool hasControl = false;
    double win[2][2] = {{0.0, 0.0}, {0.0, 0.0}};
    long long channels = 0; // with raw epochs

    static RawPlan of(CMDTrialzq& t) {
        RawPlan p{t.getSamplingRate(),         t.getFirstLatencyMs(), t.getEpochLength(),
                  t.hasSpctmWindows(),         t.hasControlWindow(),  {},
                  CSpctmBudget::rawChannels(t)};
        for (int k = 0; k < 2; ++k) {
            p.win[k][0] = t.getWindowStartMs(k);
            p.win[k][1] = t.getWindowEndMs(k);
        }
        return p;
    }
    double lastMs() const { return firstMs + 1000.0 * static_cast<double>(nSamples - 1) / rate; }
};

// Why the windows do not fit the epochs; empty when they do.
std::string checkWindows(const CSpctmGrid& grid, const RawPlan& p) {
    const char* names[2] = {"Active", "Control"};
    for (int k = 0; k < (p.hasControl ? 2 : 1); ++k) {
        constexpr double kEps = 1e-6;
        const std::string range = std::string(names[k]) + " window " + num(p.win[k][0]) + " to " +
                                  num(p.win[k][1]) + " ms";
        if (p.win[k][0] < p.firstMs - kEps || p.win[k][1] > p.lastMs() + kEps) {
            return range + " lies outside the epochs (" + num(p.firstMs) + " to " +
                   num(p.lastMs()) + " ms)";
        }
        if (grid.window(p.win[k][0], p.win[k][1]).count < 1) {
            return range + " holds no spectrum time point; widen it or lower the time step";
        }
    }
    return {};
}

// Why the timing, windows and settings do not fit together; empty when they do, with the
// shape of the trial's spectra in `shape`.
std::string checkRaw(const RawPlan& p, const CSpctmSettings& s, CSpctmBudget::Shape& shape) {
    std::string error = s.check(p.rate);
    if (!error.empty()) {
        return error;
    }
    const CSpctmGrid grid(p.rate, p.firstMs, p.nSamples, s.timeStepMs);
    error = CMorletTransform::checkSize(grid, p.nSamples, p.rate, s);
    if (error.empty() && p.hasWindows) {
        error = checkWindows(grid, p);
    }
    shape = {};
    if (error.empty() && p.hasWindows) {
        const CSpctmGrid::Window none;
        shape = CSpctmBudget::rawShape(p.channels, grid.window(p.win[0][0], p.win[0][1]),
                                       p.hasControl ? grid.window(p.win[1][0], p.win[1][1]) : none,
                                       static_cast<long long>(s.freqsHz.size()));
    }
    return error;
}

// Bytes of the session's spectra without trial `skip` (-1: with every trial), counting
// `extraChannels` more channels on trials of handed-in spectra.
double sessionBytes(CMEGDatazq& s, const CSpctmSettings& settings, int skip,
                    int extraChannels = 0) {
    double bytes = 0.0;
    for (int i = 0; i < s.getTrialCount(); ++i) {
        if (i == skip) {
            continue;
        }
        CMDTrialzq& t = *s.getTrialzq(i);
        CSpctmBudget::Shape shape = CSpctmBudget::shapeOf(t, settings);
        shape.channels += t.isSpctmFromHost() ? extraChannels : 0;
        bytes += shape.bytes();
    }
    return bytes;
}

// Why the session's channels cannot take this label; empty when they can.
std::string labelError(CMEGDatazq& s, const std::u16string& label) {
    if (label.empty()) {
        return "the channel needs a label, and its sensor has none of its own";
    }
    CMDTrialzq* t = s.getTrialzq(0);
    for (int c = 0; t && c < t->getTotalChannel(); ++c) {
        if (t->getChannel(c)->label == label) {
            return "label '" + CUtfText::toUtf8(label) + "' is already used by channel " +
                   std::to_string(c);
        }
    }
    return {};
}

} // namespace

CMEGDatazq* CMEDataSetBuilder::session(int index, Result& result) {
    CMEGDatazq* s = index >= 0 ? m_data.getSessionData(index) : nullptr;
    if (!s) {
        result = fail("no session " + std::to_string(index) + " (the data set has " +
                      std::to_string(m_data.getSessionCount()) + ")");
    }
    return s;
}

CMDTrialzq* CMEDataSetBuilder::trial(int sessionIndex, int trialIndex, Result& result) {
    CMEGDatazq* s = session(sessionIndex, result);
    CMDTrialzq* t = s && trialIndex >= 0 ? s->getTrialzq(trialIndex) : nullptr;
    if (s && !t) {
        result = fail("no trial " + std::to_string(trialIndex) + " in session " +
                      std::to_string(sessionIndex) + " (it has " +
                      std::to_string(s->getTrialCount()) + ")");
    }
    return t;
}

Result CMEDataSetBuilder::addSession(int* index) {
    if (!m_data.addSession()) {
        return fail("addSession: out of memory");
    }
    m_data.setCurrentSession(m_data.getSessionCount() - 1);
    if (index) {
        *index = m_data.getSessionCount() - 1;
    }
    return {};
}

Result CMEDataSetBuilder::addTrial(int sessionIndex, int* index) {
    Result r;
    CMEGDatazq* s = session(sessionIndex, r);
    if (!s) {
        return r;
    }
    CMDTrialzq* first = s->getTrialzq(0);
    CMDTrialzq* t = s->addTrial();
    if (!t) {
        return fail("addTrial: out of memory");
    }
    try {
        for (int c = 0; first && c < first->getTotalChannel(); ++c) {
            CMDChannelzq* ch = t->addChannel();
            if (!ch) {
                throw std::bad_alloc();
            }
            static_cast<CMDChannel0SensorInfo&>(*ch) = *first->getChannel(c);
        }
    } catch (const std::exception&) {
        s->removeLastTrial();
        return fail("addTrial: out of memory");
    }
    if (index) {
        *index = s->getTrialCount() - 1;
    }
    return {};
}

Result CMEDataSetBuilder::addMegChannel(int sessionIndex, std::u16string label,
                                        const CMEGSensorzq& sensor, int* index) {
    Result r;
    CMEGDatazq* s = session(sessionIndex, r);
    if (!s) {
        return r;
    }
    double pos[3] = {0.0, 0.0, 0.0};
    const CBscMagSnszq* coil = sensor.getCoil(0);
    if (!coil || !coil->getCoilPositionD(pos) || !std::isfinite(pos[0] + pos[1] + pos[2])) {
        return fail("addMegChannel: sensor '" + sensor.getLabel() +
                    "' has no coil with a finite position");
    }
    const std::u16string text =
        label.empty() ? CUtfText::toUtf16(sensor.getLabel()) : std::move(label);
    return addChannel(
        *s, "addMegChannel", text,
        [&](CMDChannelzq& ch) {
            ch.label = text;
            ch.setMEGSensor(sensor);
        },
        index);
}

Result CMEDataSetBuilder::addEegChannel(int sessionIndex, std::u16string label,
                                        const CEEGelectrodezq& electrode, int* index) {
    Result r;
    CMEGDatazq* s = session(sessionIndex, r);
    if (!s) {
        return r;
    }
    double pos[3] = {0.0, 0.0, 0.0};
    if (!electrode.getElectrodePositionD(pos) || !std::isfinite(pos[0] + pos[1] + pos[2])) {
        return fail("addEegChannel: electrode '" + electrode.getLabel() +
                    "' has no finite position");
    }
    const std::u16string text =
        label.empty() ? CUtfText::toUtf16(electrode.getLabel()) : std::move(label);
    return addChannel(
        *s, "addEegChannel", text,
        [&](CMDChannelzq& ch) {
            ch.label = text;
            ch.setEegElectrode(electrode);
        },
        index);
}

Result CMEDataSetBuilder::setChannelUnit(int sessionIndex, int channel, std::u16string unit) {
    Result r;
    CMEGDatazq* s = session(sessionIndex, r);
    if (!s) {
        return r;
    }
    const CMDTrialzq* first = s->getTrialzq(0);
    if (!first || channel < 0 || channel >= first->getTotalChannel()) {
        return fail("setChannelUnit: no channel " + std::to_string(channel) + " in session " +
                    std::to_string(sessionIndex));
    }
    const bool printable = std::all_of(unit.begin(), unit.end(), [](char16_t c) {
        return c >= 0x20 && c != 0x7F && !(c >= 0x80 && c < 0xA0);
    });
    if (unit.empty() || unit.size() > 16 || !printable) {
        return fail("setChannelUnit: a unit is 1 to 16 printable characters");
    }
    for (int i = 0; i < s->getTrialCount(); ++i) {
        s->getTrialzq(i)->getChannel(channel)->unit = unit;
    }
    return {};
}

Result CMEDataSetBuilder::setHeadFrame(int sessionIndex, const double front[3],
                                       const double right[3]) {
    Result r;
    CMEGDatazq* s = session(sessionIndex, r);
    if (!s)
        return r;
    CMEGData::HeadFrame frame;
    const double rLen = front && right ? std::hypot(right[0], right[1], right[2]) : 0.0;
    double along = 0.0;
    for (int k = 0; rLen > 0.0 && std::isfinite(rLen) && k < 3; ++k) {
        frame.right[k] = right[k] / rLen;
        along += front[k] * frame.right[k];
    }
    for (int k = 0; k < 3; ++k)
        frame.front[k] = front ? front[k] - along * frame.right[k] : 0.0;
    const double fLen = std::hypot(frame.front[0], frame.front[1], frame.front[2]);
    const double given = front ? std::hypot(front[0], front[1], front[2]) : 0.0;
    if (!(rLen > 0.0 && std::isfinite(rLen) && fLen > 1e-6 * given && std::isfinite(given)))
        return fail("setHeadFrame: front and right must be finite, non-zero and not parallel");
    for (double& c : frame.front)
        c /= fLen;
    frame.known = true;
    s->setHeadFrame(frame);
    return {};
}

Result CMEDataSetBuilder::addChannel(CMEGDatazq& s, const char* call, const std::u16string& label,
                                     const std::function<void(CMDChannelzq&)>& setUp, int* index) {
    if (s.getTrialCount() == 0) {
        return fail(std::string(call) + ": add a trial to the session before its channels");
    }
    std::string error = labelError(s, label);
    if (error.empty()) {
        error = CSpctmBudget::check(sessionBytes(s, s.getSpctmSettings(), -1, 1));
    }
    if (!error.empty()) {
        return fail(std::string(call) + ": " + error);
    }
    std::vector<int> before;
    try {
        for (int i = 0; i < s.getTrialCount(); ++i) {
            before.push_back(s.getTrialzq(i)->getTotalChannel());
        }
        for (int i = 0; i < s.getTrialCount(); ++i) {
            CMDChannelzq* ch = s.getTrialzq(i)->addChannel();
            if (!ch) {
                throw std::bad_alloc();
            }
            setUp(*ch);
        }
    } catch (const std::exception&) {
        for (std::size_t i = 0; i < before.size(); ++i) {
            CMDTrialzq* t = s.getTrialzq(static_cast<int>(i));
            while (t->getTotalChannel() > before[i]) {
                t->removeLastChannel();
            }
        }
        return fail(std::string(call) + ": out of memory");
    }
    s.markChanged();
    if (index) {
        *index = s.getTrialzq(0)->getTotalChannel() - 1;
    }
    return {};
}

Result CMEDataSetBuilder::setChannelEpochs(int sessionIndex, int trialIndex, int channel,
                                           std::span<const double> samples, long long nEpochs,
                                           double rate, double firstLatencyMs) {
    return storeEpochs(sessionIndex, trialIndex, channel, samples, nullptr, nEpochs, rate,
                       firstLatencyMs);
}

Result CMEDataSetBuilder::setChannelEpochs(int sessionIndex, int trialIndex, int channel,
                                           std::vector<double>&& samples, long long nEpochs,
                                           double rate, double firstLatencyMs) {
    return storeEpochs(sessionIndex, trialIndex, channel, samples, &samples, nEpochs, rate,
                       firstLatencyMs);
}

Result CMEDataSetBuilder::storeEpochs(int sessionIndex, int trialIndex, int channel,
                                      std::span<const double> samples, std::vector<double>* owned,
                                      long long nEpochs, double rate, double firstLatencyMs) {
    Result r;
    CMDTrialzq* t = trial(sessionIndex, trialIndex, r);
    if (!t) {
        return r;
    }
    CMDChannelzq* ch = channel >= 0 ? t->getChannel(channel) : nullptr;
    if (!ch) {
        return fail("setChannelEpochs: no channel " + std::to_string(channel) + " (the trial has " +
                    std::to_string(t->getTotalChannel()) + ")");
    }
    if (t->isSpctmFromHost()) {
        return fail("setChannelEpochs: trial " + std::to_string(trialIndex) +
                    " holds spectra handed in by the host; a trial takes either raw epochs or "
                    "handed-in spectra, not both");
    }
    if (!std::isfinite(rate) || rate <= 0.0) {
        return fail("setChannelEpochs: the sampling rate must be a finite number above 0 Hz, not " +
                    num(rate));
    }
    if (nEpochs < 1 || samples.empty() || samples.size() % static_cast<std::size_t>(nEpochs)) {
        return fail("setChannelEpochs: " + std::to_string(samples.size()) +
                    " samples do not split into " + std::to_string(nEpochs) +
                    " epochs of equal, non-zero length");
    }
    RawPlan plan = RawPlan::of(*t);
    plan.rate = rate;
    plan.firstMs = firstLatencyMs;
    plan.nSamples = static_cast<long long>(samples.size()) / nEpochs;
    std::string error = latencyError("sample", plan.firstMs, plan.lastMs());
    if (!error.empty()) {
        return fail("setChannelEpochs: " + error);
    }
    const bool same = t->hasRawTiming() && t->getSamplingRate() == rate &&
                      t->getFirstLatencyMs() == firstLatencyMs && t->getEpochCount() == nEpochs &&
                      t->getEpochLength() == plan.nSamples;
    if (!same && anyOtherRaw(*t, channel)) {
        return fail("setChannelEpochs: timing differs from the trial's other channels (" +
                    num(t->getSamplingRate()) + " Hz, first sample at " +
                    num(t->getFirstLatencyMs()) + " ms, " + std::to_string(t->getEpochCount()) +
                    " epochs of " + std::to_string(t->getEpochLength()) + " samples)");
    }
    const bool had = same && ch->getRawData().size() == samples.size();
    plan.channels = (same ? plan.channels : 0) + (had ? 0 : 1);
    CMEGDatazq& s = *m_data.getSessionData(sessionIndex);
    CSpctmBudget::Shape shape;
    error = checkRaw(plan, s.getSpctmSettings(), shape);
    if (error.empty()) {
        error =
            CSpctmBudget::check(sessionBytes(s, s.getSpctmSettings(), trialIndex) + shape.bytes());
    }
    if (!error.empty()) {
        return fail("setChannelEpochs: " + error);
    }
    try {
        ch->setRawData(owned ? std::move(*owned)
                             : std::vector<double>(samples.begin(), samples.end()));
    } catch (const std::exception&) {
        return fail("setChannelEpochs: out of memory for " + std::to_string(samples.size()) +
                    " samples");
    }
    t->setRawTiming(rate, firstLatencyMs, nEpochs, plan.nSamples);
    s.markChanged();
    return {};
}

Result CMEDataSetBuilder::setWindows(int sessionIndex, int trialIndex, double activeStartMs,
                                     double activeEndMs, double controlStartMs,
                                     double controlEndMs) {
    const double win[2][2] = {{activeStartMs, activeEndMs}, {controlStartMs, controlEndMs}};
    return applyWindows(sessionIndex, trialIndex, win, true, "setWindows");
}

Result CMEDataSetBuilder::setActiveWindow(int sessionIndex, int trialIndex, double startMs,
                                          double endMs) {
    const double win[2][2] = {{startMs, endMs}, {startMs, endMs}};
    return applyWindows(sessionIndex, trialIndex, win, false, "setActiveWindow");
}

Result CMEDataSetBuilder::applyWindows(int sessionIndex, int trialIndex, const double (&win)[2][2],
                                       bool hasControl, const std::string& call) {
    Result r;
    CMDTrialzq* t = trial(sessionIndex, trialIndex, r);
    if (!t) {
        return r;
    }
    for (int k = 0; k < (hasControl ? 2 : 1); ++k) {
        if (!(std::fabs(win[k][0]) <= kMaxLatencyMs) || !(std::fabs(win[k][1]) <= kMaxLatencyMs) ||
            win[k][0] > win[k][1]) {
            return fail(call + ": each window needs finite latencies within +-" +
                        num(kMaxLatencyMs) + " ms, with start <= end");
        }
    }
    CMEGDatazq& s = *m_data.getSessionData(sessionIndex);
    if (t->hasRawTiming()) {
        RawPlan plan = RawPlan::of(*t);
        plan.hasWindows = true;
        plan.hasControl = hasControl;
        std::copy(&win[0][0], &win[0][0] + 4, &plan.win[0][0]);
        CSpctmBudget::Shape shape;
        std::string error = checkRaw(plan, s.getSpctmSettings(), shape);
        if (error.empty()) {
            error = CSpctmBudget::check(sessionBytes(s, s.getSpctmSettings(), trialIndex) +
                                        shape.bytes());
        }
        if (!error.empty()) {
            return fail(call + ": " + error);
        }
    }
    if (hasControl) {
        t->setSpctmWindows(win[0][0], win[0][1], win[1][0], win[1][1]);
    } else {
        t->setSpctmActiveWindow(win[0][0], win[0][1]);
    }
    s.markChanged();
    return {};
}

Result CMEDataSetBuilder::setSpectrumSettings(int sessionIndex, const CSpctmSettings& settings) {
    Result r;
    CMEGDatazq* s = session(sessionIndex, r);
    if (!s) {
        return r;
    }
    std::string error = settings.check(0.0);
    double bytes = 0.0;
    for (int i = 0; error.empty() && i < s->getTrialCount(); ++i) {
        CMDTrialzq* t = s->getTrialzq(i);
        CSpctmBudget::Shape shape = CSpctmBudget::shapeOf(*t, settings);
        if (t->hasRawTiming()) {
            error = checkRaw(RawPlan::of(*t), settings, shape);
            error = error.empty() ? error : "trial " + std::to_string(i) + ": " + error;
        }
        bytes += shape.bytes();
    }
    if (error.empty()) {
        error = CSpctmBudget::check(bytes);
    }
    if (!error.empty()) {
        return fail("setSpectrumSettings: " + error);
    }
    try {
        s->setSpctmSettings(settings);
    } catch (const std::exception&) {
        return fail("setSpectrumSettings: out of memory");
    }
    s->markChanged();
    return {};
}

Result CMEDataSetBuilder::setSpectrumAxes(int sessionIndex, int trialIndex, int spectralClass,
                                          long long nTime, double firstLatencyMs, double stepMs,
                                          std::span<const double> freqsHz, bool accumulated) {
    Result r;
    CMDTrialzq* t = trial(sessionIndex, trialIndex, r);
    if (!t) {
        return r;
    }
    std::string error = classError(spectralClass);
    if (error.empty() && t->hasRawTiming()) {
        error = "trial " + std::to_string(trialIndex) +
                " has raw epochs; its spectra are computed from them";
    }
    if (error.empty() && nTime < 1) {
        error = "a spectrum needs at least one time point";
    }
    if (error.empty()) {
        error = CSpctmSettings::checkFreqsHz(freqsHz, 0.0);
    }
    if (error.empty() && (!std::isfinite(stepMs) || stepMs <= 0.0)) {
        error = "the time step must be a finite number of ms above 0";
    }
    if (error.empty()) {
        error = latencyError("time point", firstLatencyMs,
                             firstLatencyMs + stepMs * static_cast<double>(nTime - 1));
    }
    CMEGDatazq& s = *m_data.getSessionData(sessionIndex);
    if (error.empty()) {
        CSpctmBudget::Shape shape = CSpctmBudget::shapeOf(*t, s.getSpctmSettings());
        shape.channels = t->getTotalChannel();
        shape.nTime[spectralClass] = nTime;
        shape.nFreq[spectralClass] = static_cast<long long>(freqsHz.size());
        error =
            CSpctmBudget::check(sessionBytes(s, s.getSpctmSettings(), trialIndex) + shape.bytes());
    }
    if (!error.empty()) {
        return fail("setSpectrumAxes: " + error);
    }
    CSpctmTrialzq* live = t->getSpctmTrial(true, spectralClass);
    CSpctmTrialzq staged;
    try {
        const std::vector<double> freqs(freqsHz.begin(), freqsHz.end());
        if (!staged.setSpctmAxes(nTime, firstLatencyMs, stepMs, freqs)) {
            throw std::bad_alloc();
        }
    } catch (const std::exception&) {
        return fail("setSpectrumAxes: out of memory for " + std::to_string(nTime) + " x " +
                    std::to_string(freqsHz.size()) + " points");
    }
    staged.takeHostChoice(*live);
    staged.setAccumSpctm(accumulated ? 1 : 0);
    live->swap(staged);
    CMDChannelzq** chs = t->getAllChannelPt();
    for (int c = 0; c < t->getTotalChannel(); ++c) {
        chs[c]->getSpctmChnl(true, spectralClass)->clear();
    }
    t->setSpctmFromHost(true);
    s.markChanged();
    return {};
}

Result CMEDataSetBuilder::setChannelSpectrum(int sessionIndex, int trialIndex, int channel,
                                             int spectralClass, std::span<const double> real,
                                             std::span<const double> imag,
                                             std::span<const double> power) {
    Result r;
    CMDTrialzq* t = trial(sessionIndex, trialIndex, r);
    if (!t) {
        return r;
    }
    CMDChannelzq* ch = channel >= 0 ? t->getChannel(channel) : nullptr;
    if (!ch) {
        return fail("setChannelSpectrum: no channel " + std::to_string(channel));
    }
    const std::string error = classError(spectralClass);
    if (!error.empty()) {
        return fail("setChannelSpectrum: " + error);
    }
    if (t->hasRawTiming()) {
        return fail("setChannelSpectrum: trial " + std::to_string(trialIndex) +
                    " has raw epochs; its spectra are computed from them");
    }
    const CSpctmTrialzq* st = t->getSpctmTrial(false, spectralClass);
    if (!st) {
        return fail("setChannelSpectrum: set the axes of spectral class " +
                    std::to_string(spectralClass) + " first (setSpectrumAxes)");
    }
    const long long nTime = st->getTrialSpctmTimePt();
    const long long nFreq = st->getTrialSpctmFreqPt();
    const auto n = static_cast<std::size_t>(nTime * nFreq);
    if (real.size() != n || imag.size() != n || power.size() != n) {
        return fail("setChannelSpectrum: each grid needs " + std::to_string(nTime) + " x " +
                    std::to_string(nFreq) + " = " + std::to_string(n) + " values; got " +
                    std::to_string(real.size()) + ", " + std::to_string(imag.size()) + " and " +
                    std::to_string(power.size()));
    }
    CSpctmChnlzq grids;
    if (!grids.resize(nTime, nFreq)) {
        return fail("setChannelSpectrum: out of memory");
    }
    const std::span<const double> src[3] = {real, imag, power};
    for (int k = 0; k < 3; ++k) {
        std::copy(src[k].begin(), src[k].end(), grids.getSpctmDataPtr(k, nullptr, nullptr));
    }
    ch->getSpctmChnl(true, spectralClass)->swap(grids);
    m_data.getSessionData(sessionIndex)->markChanged();
    return {};
}

Result CMEDataSetBuilder::computeSpectra(int sessionIndex) {
    Result r;
    CMEGDatazq* s = session(sessionIndex, r);
    if (!s) {
        return r;
    }
    if (!s->computTrialSpctmAllPro(nullptr, true, m_progress)) {
        return fail("computeSpectra: " + s->getLastError());
    }
    try {
        r.outcomes = s->getLastOutcomes();
    } catch (const std::exception&) {
        r.message = "computeSpectra: out of memory for the list of channel outcomes";
    }
    return r;
}

Result CMEDataSetBuilder::setSelectedPoint(int sessionIndex, int trialIndex, int spectralClass,
                                           long long timeIndex, long long freqIndex) {
    Result r;
    CMDTrialzq* t = trial(sessionIndex, trialIndex, r);
    if (!t) {
        return r;
    }
    const std::string error = classError(spectralClass);
    if (!error.empty()) {
        return fail("setSelectedPoint: " + error);
    }
    CSpctmTrialzq* st = t->getSpctmTrial(false, spectralClass);
    if (!st) {
        return fail("setSelectedPoint: the trial has no spectrum of class " +
                    std::to_string(spectralClass));
    }
    if (!st->setTrialSpctmSelectTimeFreq(timeIndex, freqIndex)) {
        return fail("setSelectedPoint: point (" + std::to_string(timeIndex) + ", " +
                    std::to_string(freqIndex) + ") lies outside the " +
                    std::to_string(st->getTrialSpctmTimePt()) + " x " +
                    std::to_string(st->getTrialSpctmFreqPt()) + " grid");
    }
    m_data.getSessionData(sessionIndex)->markChanged();
    return {};
}
