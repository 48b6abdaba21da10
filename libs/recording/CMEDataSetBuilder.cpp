// Validating construction of a data set by a host.
#include "recording/CMEDataSetBuilder.h"

#include "CMorletTransform.h"

#include <algorithm>
#include <cmath>
#include <new>
#include <string_view>

namespace {

using Result = CMEDataSetBuilder::Result;

Result fail(std::string message) {
    return Result{false, std::move(message)};
}

std::string num(double v) {
    std::string s = std::to_string(v);
    s.erase(s.find_last_not_of('0') + 1);
    return s.back() == '.' ? s.substr(0, s.size() - 1) : s;
}

// UTF-8 to UTF-16; malformed bytes become U+FFFD.
std::u16string toUtf16(std::string_view in) {
    std::u16string out;
    for (std::size_t i = 0; i < in.size();) {
        const auto c = static_cast<unsigned char>(in[i]);
        const int len = c < 0x80         ? 1
                        : (c >> 5) == 6  ? 2
                        : (c >> 4) == 14 ? 3
                        : (c >> 3) == 30 ? 4
                                         : 0;
        char32_t cp = len == 1 ? c : len == 2 ? (c & 0x1F) : len == 3 ? (c & 0x0F) : (c & 0x07);
        bool ok = len > 0 && i + len <= in.size();
        for (int k = 1; ok && k < len; ++k) {
            const auto b = static_cast<unsigned char>(in[i + k]);
            ok = (b >> 6) == 2;
            cp = (cp << 6) | (b & 0x3F);
        }
        if (!ok || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) {
            out.push_back(u'\uFFFD');
            ++i;
            continue;
        }
        if (cp >= 0x10000) {
            out.push_back(static_cast<char16_t>(0xD800 + ((cp - 0x10000) >> 10)));
            out.push_back(static_cast<char16_t>(0xDC00 + ((cp - 0x10000) & 0x3FF)));
        } else {
            out.push_back(static_cast<char16_t>(cp));
        }
        i += static_cast<std::size_t>(len);
    }
    return out;
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

// Why the windows do not fit epochs of this timing; empty when they do.
std::string checkWindows(const CMorletTransform& t, double firstMs, double lastMs,
                         const double win[2][2]) {
    const char* names[2] = {"Active", "Control"};
    for (int k = 0; k < 2; ++k) {
        constexpr double kEps = 1e-6;
        if (win[k][0] < firstMs - kEps || win[k][1] > lastMs + kEps) {
            return std::string(names[k]) + " window " + num(win[k][0]) + " to " + num(win[k][1]) +
                   " ms lies outside the epochs (" + num(firstMs) + " to " + num(lastMs) + " ms)";
        }
        if (t.window(win[k][0], win[k][1]).count < 1) {
            return std::string(names[k]) + " window " + num(win[k][0]) + " to " + num(win[k][1]) +
                   " ms holds no spectrum time point; widen it or lower the time step";
        }
    }
    return {};
}

// Whether the trial's timing, windows and the settings fit together.
std::string checkTrial(double rate, double firstMs, long long nSamples, bool hasWindows,
                       const double win[2][2], const CSpctmSettings& s) {
    std::string error;
    auto t = CMorletTransform::create(rate, firstMs, nSamples, s, error);
    if (!t) {
        return error;
    }
    if (!hasWindows) {
        return {};
    }
    return checkWindows(*t, firstMs, firstMs + 1000.0 * static_cast<double>(nSamples - 1) / rate,
                        win);
}

void trialWindows(CMDTrialzq& t, double win[2][2]) {
    for (int k = 0; k < 2; ++k) {
        win[k][0] = t.getWindowStartMs(k);
        win[k][1] = t.getWindowEndMs(k);
    }
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
    if (s->getTrialCount() == 0) {
        return fail("addMegChannel: add a trial to the session before its channels");
    }
    const std::u16string text = label.empty() ? toUtf16(sensor.getLabel()) : std::move(label);
    return addChannel(
        *s,
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
    if (s->getTrialCount() == 0) {
        return fail("addEegChannel: add a trial to the session before its channels");
    }
    const std::u16string text = label.empty() ? toUtf16(electrode.getLabel()) : std::move(label);
    return addChannel(
        *s,
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

Result CMEDataSetBuilder::addChannel(CMEGDatazq& s, const std::function<void(CMDChannelzq&)>& setUp,
                                     int* index) {
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
        return fail("add channel: out of memory");
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
    if (!std::isfinite(rate) || rate <= 0.0) {
        return fail("setChannelEpochs: the sampling rate must be a finite number above 0 Hz, not " +
                    num(rate));
    }
    if (!std::isfinite(firstLatencyMs)) {
        return fail("setChannelEpochs: the latency of the first sample must be finite");
    }
    if (nEpochs < 1 || samples.empty() || samples.size() % static_cast<std::size_t>(nEpochs)) {
        return fail("setChannelEpochs: " + std::to_string(samples.size()) +
                    " samples do not split into " + std::to_string(nEpochs) +
                    " epochs of equal, non-zero length");
    }
    const auto nSamples = static_cast<long long>(samples.size()) / nEpochs;
    const bool same = t->hasRawTiming() && t->getSamplingRate() == rate &&
                      t->getFirstLatencyMs() == firstLatencyMs && t->getEpochCount() == nEpochs &&
                      t->getEpochLength() == nSamples;
    if (!same && anyOtherRaw(*t, channel)) {
        return fail("setChannelEpochs: timing differs from the trial's other channels (" +
                    num(t->getSamplingRate()) + " Hz, first sample at " +
                    num(t->getFirstLatencyMs()) + " ms, " + std::to_string(t->getEpochCount()) +
                    " epochs of " + std::to_string(t->getEpochLength()) + " samples)");
    }
    if (!same) {
        double win[2][2];
        trialWindows(*t, win);
        const std::string error =
            checkTrial(rate, firstLatencyMs, nSamples, t->hasSpctmWindows(), win,
                       m_data.getSessionData(sessionIndex)->getSpctmSettings());
        if (!error.empty()) {
            return fail("setChannelEpochs: " + error);
        }
    }
    try {
        ch->setRawData(std::vector<double>(samples.begin(), samples.end()));
    } catch (const std::exception&) {
        return fail("setChannelEpochs: out of memory for " + std::to_string(samples.size()) +
                    " samples");
    }
    t->setRawTiming(rate, firstLatencyMs, nEpochs, nSamples);
    t->setSpctmFromHost(false);
    m_data.getSessionData(sessionIndex)->markChanged();
    return {};
}

Result CMEDataSetBuilder::setWindows(int sessionIndex, int trialIndex, double activeStartMs,
                                     double activeEndMs, double controlStartMs,
                                     double controlEndMs) {
    Result r;
    CMDTrialzq* t = trial(sessionIndex, trialIndex, r);
    if (!t) {
        return r;
    }
    const double win[2][2] = {{activeStartMs, activeEndMs}, {controlStartMs, controlEndMs}};
    for (const auto& w : win) {
        if (!std::isfinite(w[0]) || !std::isfinite(w[1]) || w[0] > w[1]) {
            return fail("setWindows: each window needs finite latencies with start <= end");
        }
    }
    if (t->hasRawTiming()) {
        const std::string error =
            checkTrial(t->getSamplingRate(), t->getFirstLatencyMs(), t->getEpochLength(), true, win,
                       m_data.getSessionData(sessionIndex)->getSpctmSettings());
        if (!error.empty()) {
            return fail("setWindows: " + error);
        }
    }
    t->setSpctmWindows(activeStartMs, activeEndMs, controlStartMs, controlEndMs);
    m_data.getSessionData(sessionIndex)->markChanged();
    return {};
}

Result CMEDataSetBuilder::setSpectrumSettings(int sessionIndex, const CSpctmSettings& settings) {
    Result r;
    CMEGDatazq* s = session(sessionIndex, r);
    if (!s) {
        return r;
    }
    std::string error = CMorletTransform::check(settings, 0.0);
    for (int i = 0; error.empty() && i < s->getTrialCount(); ++i) {
        CMDTrialzq* t = s->getTrialzq(i);
        if (t->hasRawTiming()) {
            double win[2][2];
            trialWindows(*t, win);
            error = checkTrial(t->getSamplingRate(), t->getFirstLatencyMs(), t->getEpochLength(),
                               t->hasSpctmWindows(), win, settings);
            error = error.empty() ? error : "trial " + std::to_string(i) + ": " + error;
        }
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
    if (spectralClass < 0 || spectralClass > 2) {
        return fail("setSpectrumAxes: spectral class must be 0, 1 or 2, not " +
                    std::to_string(spectralClass));
    }
    if (nTime < 1 || freqsHz.empty()) {
        return fail("setSpectrumAxes: a spectrum needs at least one time and one frequency point");
    }
    if (!std::isfinite(firstLatencyMs) || !std::isfinite(stepMs) || stepMs <= 0.0) {
        return fail("setSpectrumAxes: first latency must be finite and the time step above 0 ms");
    }
    for (std::size_t i = 0; i < freqsHz.size(); ++i) {
        if (!std::isfinite(freqsHz[i]) || freqsHz[i] <= 0.0 ||
            (i > 0 && freqsHz[i] <= freqsHz[i - 1])) {
            return fail("setSpectrumAxes: frequencies must be finite, above 0 Hz and increasing");
        }
    }
    const double bytes = static_cast<double>(t->getTotalChannel() + 2) * 3.0 *
                         static_cast<double>(nTime) * static_cast<double>(freqsHz.size()) * 8.0;
    if (bytes > 64.0 * (1LL << 30)) {
        return fail("setSpectrumAxes: " + std::to_string(nTime) + " x " +
                    std::to_string(freqsHz.size()) + " points per channel cannot be allocated");
    }
    CSpctmTrialzq* st = t->getSpctmTrial(true, spectralClass);
    try {
        const std::vector<double> freqs(freqsHz.begin(), freqsHz.end());
        if (!st->setSpctmAxes(nTime, firstLatencyMs, stepMs, freqs)) {
            throw std::bad_alloc();
        }
    } catch (const std::exception&) {
        return fail("setSpectrumAxes: out of memory");
    }
    st->setAccumSpctm(accumulated ? 1 : 0);
    CMDChannelzq** chs = t->getAllChannelPt();
    for (int c = 0; c < t->getTotalChannel(); ++c) {
        chs[c]->getSpctmChnl(true, spectralClass)->clear();
    }
    t->setSpctmFromHost(true);
    m_data.getSessionData(sessionIndex)->markChanged();
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
    *ch->getSpctmChnl(true, spectralClass) = std::move(grids);
    m_data.getSessionData(sessionIndex)->markChanged();
    return {};
}

Result CMEDataSetBuilder::computeSpectra(int sessionIndex) {
    Result r;
    CMEGDatazq* s = session(sessionIndex, r);
    if (!s) {
        return r;
    }
    for (int i = 0; i < s->getTrialCount(); ++i) {
        CMDTrialzq* t = s->getTrialzq(i);
        if (t->hasRawTiming() && !t->isSpctmFromHost() && !t->hasSpctmWindows()) {
            return fail("computeSpectra: trial " + std::to_string(i) +
                        " has raw epochs but no Active and Control windows (setWindows)");
        }
    }
    if (!s->computTrialSpctmAllPro(nullptr, false)) {
        return fail("computeSpectra: " + s->getLastError());
    }
    return {};
}

Result CMEDataSetBuilder::setSelectedPoint(int sessionIndex, int trialIndex, int spectralClass,
                                           long long timeIndex, long long freqIndex) {
    Result r;
    CMDTrialzq* t = trial(sessionIndex, trialIndex, r);
    if (!t) {
        return r;
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
