// Spectrum computation of a session's trials: every trial is computed into new storage, which
// replaces the old spectra only once all trials succeeded.
#include "recording/CMEGData4SpctmProcess.h"

#include "CMorletTransform.h"
#include "CSpctmBudget.h"
#include "recording/CUtfText.h"

#include <atomic>
#include <cmath>
#include <limits>
#include <memory>
#include <mutex>
#include <new>
#include <thread>

namespace {

using TransformCache = std::unique_ptr<CMorletTransform>;
constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
const char* const kClassNames[3] = {"Active", "Control", "Result"};

// Contrast of an Active power value against the Control baseline.
double contrast(double a, double mean, double sd, CSpctmSettings::ResultMode mode) {
    double v = kNaN;
    switch (mode) {
    case CSpctmSettings::Difference:
        v = a - mean;
        break;
    case CSpctmSettings::Ratio:
        v = mean != 0.0 ? a / mean : kNaN;
        break;
    case CSpctmSettings::Decibel:
        v = mean > 0.0 && a > 0.0 ? 10.0 * std::log10(a / mean) : kNaN;
        break;
    case CSpctmSettings::PercentChange:
        v = mean != 0.0 ? 100.0 * (a - mean) / mean : kNaN;
        break;
    case CSpctmSettings::ZScore:
        v = sd > 0.0 ? (a - mean) / sd : kNaN;
        break;
    }
    return std::isfinite(v) ? v : kNaN;
}

// Mean and sample standard deviation of the finite values of column f.
void columnStats(const double* grid, long long nTime, long long nFreq, long long f, double& mean,
                 double& sd) {
    double sum = 0.0, sumSq = 0.0;
    long long n = 0;
    for (long long t = 0; t < nTime; ++t) {
        const double v = grid[t * nFreq + f];
        if (std::isfinite(v)) {
            sum += v;
            sumSq += v * v;
            ++n;
        }
    }
    mean = n ? sum / static_cast<double>(n) : kNaN;
    const double var = n > 1 ? (sumSq - sum * mean) / static_cast<double>(n - 1) : kNaN;
    sd = var > 0.0 ? std::sqrt(var) : (var == 0.0 ? 0.0 : kNaN);
}

// Class 2 of one channel from its classes 0 and 1.
void computeResult(const CSpctmChnl& act, const CSpctmChnl& ctl, CSpctmChnl& res,
                   CSpctmSettings::ResultMode mode) {
    long long nA = 0, nC = 0, nF = 0;
    for (int comp = 0; comp < 3; ++comp) {
        const double* a = act.getSpctmDataPtr(comp, &nA, &nF);
        const double* c = ctl.getSpctmDataPtr(comp, &nC, nullptr);
        double* r = res.getSpctmDataPtr(comp, nullptr, nullptr);
        const auto compMode = comp == 2 ? mode : CSpctmSettings::Difference;
        for (long long f = 0; f < nF; ++f) {
            double mean = 0.0, sd = 0.0;
            columnStats(c, nC, nF, f, mean, sd);
            for (long long t = 0; t < nA; ++t) {
                r[t * nF + f] = contrast(a[t * nF + f], mean, sd, compMode);
            }
        }
    }
}

bool anyFinitePower(const CSpctmChnl& s) {
    long long nT = 0, nF = 0;
    const double* p = s.getSpctmDataPtr(2, &nT, &nF);
    for (long long i = 0; p && i < nT * nF; ++i) {
        if (std::isfinite(p[i])) {
            return true;
        }
    }
    return false;
}

// New spectra of one trial: channel spectra (raw trials only), class axes, group records and
// selected points.
struct Staged {
    CMDTrialzq* trial = nullptr;
    int index = 0;
    bool fromRaw = false;
    std::vector<CSpctmChnlzq> spectra; // channel * 3 + class
    CSpctmTrialzq classes[3];

    const CSpctmChnl* spectrum(int channel, int k) const {
        const CSpctmChnl* s = fromRaw ? &spectra[static_cast<std::size_t>(channel * 3 + k)]
                                      : trial->getChannel(channel)->getSpctmChnl(true, k);
        return s->isEmpty() ? nullptr : s;
    }
    // Replace the trial's spectra with these; the old ones stay here.
    void swapIn() noexcept {
        CMDChannelzq** chs = trial->getAllChannelPt();
        for (int c = 0; fromRaw && c < trial->getTotalChannel(); ++c) {
            for (int k = 0; k < 3; ++k) {
                chs[c]->getSpctmChnl(true, k)->swap(spectra[static_cast<std::size_t>(c * 3 + k)]);
            }
        }
        for (int k = 0; k < 3; ++k) {
            trial->getSpctmTrial(true, k)->swap(classes[k]);
        }
    }
};

// What the computation says about channels.
class Outcomes {
public:
    explicit Outcomes(std::vector<CSpctmOutcome>& list) : m_list(list) {}
    void add(const Staged& s, int channel, int spectralClass, CSpctmOutcome::Kind kind,
             std::string reason) {
        m_list.push_back({s.index, channel, spectralClass, kind,
                          CUtfText::toUtf8(s.trial->getChannel(channel)->label),
                          std::move(reason)});
    }

private:
    std::vector<CSpctmOutcome>& m_list;
};

// Group records of every class, then the selected points: the host's where the new grid holds
// it (when kept), else the largest group RMS.
void finishGroups(Staged& s, bool keepHostChoice) {
    const int n = s.trial->getTotalChannel();
    std::vector<const CSpctmChnl*> spectra(static_cast<std::size_t>(n));
    for (int k = 0; k < 3; ++k) {
        for (int c = 0; c < n; ++c) {
            spectra[static_cast<std::size_t>(c)] = s.spectrum(c, k);
        }
        CSpctmTrialzq& st = s.classes[k];
        st.updateSumChnlSpctm(spectra.data(), n);
        if (!keepHostChoice || !st.takeHostChoice(*s.trial->getSpctmTrial(true, k))) {
            st.selectMaxRmsPoint(false);
        }
    }
}

// Counts the channels transformed and tells the host, one call at a time, in order.
class ChannelCounter {
public:
    ChannelCounter(const CMEGData4SpctmProcess::ChannelProgress& progress, long long total)
        : m_progress(progress), m_total(total) {}
    void channelDone() {
        if (m_progress) {
            std::lock_guard<std::mutex> lock(m_mutex);
            m_progress(++m_done, m_total);
        }
    }

private:
    const CMEGData4SpctmProcess::ChannelProgress& m_progress;
    const long long m_total;
    long long m_done = 0;
    std::mutex m_mutex;
};

// One channel to transform: its samples, its Active and Control grids, the epochs it used.
struct Work {
    const double* raw;
    CSpctmChnl* out[2];
    long long used = 0;
};

// Transform the channels of `work`, taking the next one until none is left.
void transformChannels(const CMorletTransform& t, std::vector<Work>& work, long long nEpochs,
                       const CMorletTransform::Window win[2], std::atomic<std::size_t>& next,
                       ChannelCounter& counter) {
    CMorletTransform::Workspace ws(t);
    if (!ws.ok()) {
        throw std::bad_alloc();
    }
    for (std::size_t i = next++; i < work.size(); i = next++) {
        double* re[2];
        double* im[2];
        double* pw[2];
        for (int k = 0; k < 2; ++k) {
            re[k] = work[i].out[k]->getSpctmDataPtr(0, nullptr, nullptr);
            im[k] = work[i].out[k]->getSpctmDataPtr(1, nullptr, nullptr);
            pw[k] = work[i].out[k]->getSpctmDataPtr(2, nullptr, nullptr);
        }
        work[i].used = t.transformChannel(work[i].raw, nEpochs, ws, win, re, im, pw, 2);
        counter.channelDone();
    }
}

// Transform the channels of `work` on several threads, each pulling the next channel.
bool runChannels(const CMorletTransform& t, std::vector<Work>& work, long long nEpochs,
                 const CMorletTransform::Window win[2], int threads, ChannelCounter& counter) {
    std::atomic<std::size_t> next{0};
    std::atomic<bool> failed{false};
    auto worker = [&]() {
        try {
            transformChannels(t, work, nEpochs, win, next, counter);
        } catch (const std::exception&) {
            failed = true;
        }
    };
    std::vector<std::thread> pool;
    for (int i = 1; i < threads; ++i) {
        try {
            pool.emplace_back(worker);
        } catch (const std::exception&) {
            break; // fewer threads; the calling thread still works
        }
    }
    worker();
    for (auto& th : pool) {
        th.join();
    }
    return !failed;
}

int threadCount(const CSpctmSettings& s, std::size_t channels) {
    unsigned n =
        s.threads > 0 ? static_cast<unsigned>(s.threads) : std::thread::hardware_concurrency();
    n = n < 1 ? 1 : n;
    return static_cast<int>(n < channels ? n : (channels ? channels : 1));
}

std::string epochsText(long long n) {
    return std::to_string(n) + (n == 1 ? " epoch" : " epochs");
}

// Tell which channels ended without spectra, with NaN spectra or from fewer epochs.
void reportRaw(const Staged& s, const std::vector<int>& channelOf, const std::vector<Work>& work,
               Outcomes& out) {
    const long long nEpochs = s.trial->getEpochCount();
    std::size_t w = 0;
    for (int c = 0; c < s.trial->getTotalChannel(); ++c) {
        if (w >= work.size() || channelOf[w] != c) {
            out.add(s, c, -1, CSpctmOutcome::NoEpochs, "no raw epochs, so no spectra");
            continue;
        }
        const long long used = work[w++].used;
        if (used == 0) {
            out.add(s, c, -1, CSpctmOutcome::NoUsableEpoch,
                    "none of its " + epochsText(nEpochs) +
                        " is usable (each holds a sample that is not finite or beyond +-1e60), "
                        "so its spectra are NaN");
            continue;
        }
        if (used < nEpochs) {
            out.add(s, c, -1, CSpctmOutcome::EpochsLeftOut,
                    std::to_string(nEpochs - used) + " of " + epochsText(nEpochs) +
                        " left out (a sample not finite or beyond +-1e60)");
        }
        for (int k = 0; k < 3; ++k) {
            if (s.classes[k].getTrialSpctmTimePt() > 0 && !anyFinitePower(*s.spectrum(c, k))) {
                out.add(s, c, k, CSpctmOutcome::NoFiniteValue,
                        std::string("the power of class ") + std::to_string(k) + " (" +
                            kClassNames[k] + ") holds no finite value");
            }
        }
    }
}

void reportHandedIn(const Staged& s, Outcomes& out) {
    for (int c = 0; c < s.trial->getTotalChannel(); ++c) {
        for (int k = 0; k < 3; ++k) {
            if (s.classes[k].getTrialSpctmTimePt() < 1) {
                continue;
            }
            const std::string cls = std::to_string(k) + " (" + kClassNames[k] + ")";
            const CSpctmChnl* sp = s.spectrum(c, k);
            if (!sp) {
                out.add(s, c, k, CSpctmOutcome::NoSpectrum,
                        "no spectrum handed in for class " + cls);
            } else if (!anyFinitePower(*sp)) {
                out.add(s, c, k, CSpctmOutcome::NoFiniteValue,
                        "the power of class " + cls + " holds no finite value");
            }
        }
    }
}

// Channels the computation transforms: those of the raw trials with their epochs (as
// stageRaw picks them).
long long rawChannelCount(const std::vector<std::unique_ptr<Staged>>& staged) {
    long long n = 0;
    for (const auto& s : staged) {
        const long long nRaw = s->trial->getEpochCount() * s->trial->getEpochLength();
        for (int c = 0; s->fromRaw && c < s->trial->getTotalChannel(); ++c) {
            n += static_cast<long long>(s->trial->getChannel(c)->getRawData().size()) == nRaw ? 1
                                                                                              : 0;
        }
    }
    return n;
}

// Spectra of a raw trial; false (error set) when the transform cannot be made or memory runs
// out.
bool stageRaw(Staged& s, const CSpctmSettings& settings, TransformCache& cache, Outcomes& out,
              ChannelCounter& counter, std::string& error) {
    CMDTrialzq& trial = *s.trial;
    const double rate = trial.getSamplingRate();
    if (!cache ||
        !cache->matches(rate, trial.getFirstLatencyMs(), trial.getEpochLength(), settings)) {
        cache = CMorletTransform::create(rate, trial.getFirstLatencyMs(), trial.getEpochLength(),
                                         settings, error);
        if (!cache) {
            return false;
        }
    }
    const CMorletTransform& t = *cache;
    const CSpctmGrid& grid = t.getGrid();
    // Without a Control window its grid is empty, and Control and Result stay without axes.
    const bool control = trial.hasControlWindow();
    const CMorletTransform::Window win[2] = {
        grid.window(trial.getWindowStartMs(0), trial.getWindowEndMs(0)),
        control ? grid.window(trial.getWindowStartMs(1), trial.getWindowEndMs(1))
                : CMorletTransform::Window{}};
    const long long nRaw = trial.getEpochCount() * trial.getEpochLength();
    const long long nF = t.getFreqCount();
    s.spectra.resize(static_cast<std::size_t>(trial.getTotalChannel()) * 3);
    std::vector<Work> work;
    std::vector<int> channelOf;
    CMDChannelzq** chs = trial.getAllChannelPt();
    for (int c = 0; c < trial.getTotalChannel(); ++c) {
        if (static_cast<long long>(chs[c]->getRawData().size()) != nRaw) {
            continue;
        }
        CSpctmChnlzq* sp = &s.spectra[static_cast<std::size_t>(c * 3)];
        if (!sp[0].resize(win[0].count, nF) || (control && !sp[1].resize(win[1].count, nF)) ||
            (control && !sp[2].resize(win[0].count, nF))) {
            throw std::bad_alloc();
        }
        work.push_back({chs[c]->getRawData().data(), {&sp[0], &sp[1]}});
        channelOf.push_back(c);
    }
    if (!runChannels(t, work, trial.getEpochCount(), win, threadCount(settings, work.size()),
                     counter)) {
        throw std::bad_alloc();
    }
    for (int c : channelOf) {
        CSpctmChnlzq* sp = &s.spectra[static_cast<std::size_t>(c * 3)];
        if (control) {
            computeResult(sp[0], sp[1], sp[2], settings.resultMode);
        }
    }
    for (int k = 0; k < (control ? 3 : 1); ++k) {
        const CMorletTransform::Window& w = win[k == 1 ? 1 : 0];
        if (!s.classes[k].setSpctmAxes(w.count, grid.gridLatencyMs(w.first), grid.getStepMs(),
                                       t.getFreqsHz())) {
            throw std::bad_alloc();
        }
        s.classes[k].setAccumSpctm(1);
    }
    reportRaw(s, channelOf, work, out);
    return true;
}

// Group records of a trial of handed-in spectra, on the same axes.
void stageHandedIn(Staged& s, Outcomes& out) {
    for (int k = 0; k < 3; ++k) {
        CSpctmTrialzq& live = *s.trial->getSpctmTrial(true, k);
        if (live.getTrialSpctmTimePt() > 0 &&
            !s.classes[k].setSpctmAxes(live.getTrialSpctmTimePt(), live.getLatencyMs(0),
                                       live.getTimeStepMs(), live.getFreqsHz())) {
            throw std::bad_alloc();
        }
        s.classes[k].setAccumSpctm(live.isAccumSpctm());
    }
    reportHandedIn(s, out);
}

// Why the trial cannot be computed with these settings; empty when it can.
std::string checkTrial(CMDTrialzq& t, const CSpctmSettings& s) {
    if (t.isSpctmFromHost()) {
        return {};
    }
    if (!t.hasRawTiming()) {
        return "it has neither raw epochs nor spectra";
    }
    if (!t.hasSpctmWindows()) {
        return "it has raw epochs but no windows (setWindows, or setActiveWindow for the Active "
               "window alone)";
    }
    std::string error = s.check(t.getSamplingRate());
    const CSpctmGrid grid(t.getSamplingRate(), t.getFirstLatencyMs(), t.getEpochLength(),
                          s.timeStepMs);
    if (error.empty()) {
        error = CMorletTransform::checkSize(grid, t.getEpochLength(), t.getSamplingRate(), s);
    }
    if (error.empty() && (grid.window(t.getWindowStartMs(0), t.getWindowEndMs(0)).count < 1 ||
                          (t.hasControlWindow() &&
                           grid.window(t.getWindowStartMs(1), t.getWindowEndMs(1)).count < 1))) {
        error = "the Active or Control window holds no spectrum time point";
    }
    return error;
}

} // namespace

int CMEGData4SpctmProcess::computTrialSpctmAllPro(CMDTrialzq* trial, bool keepHostChoice,
                                                  const ChannelProgress& progress) {
    m_lastError.clear();
    m_lastOutcomes.clear();
    std::vector<std::unique_ptr<Staged>> staged;
    std::vector<CSpctmOutcome> outcomes;
    try {
        double bytes = 0.0;
        for (int i = 0; i < getTrialCount(); ++i) {
            CMDTrialzq* t = getTrialzq(i);
            bytes += CSpctmBudget::shapeOf(*t, getSpctmSettings()).bytes();
            if (trial && t != trial) {
                continue;
            }
            const std::string error = checkTrial(*t, getSpctmSettings());
            if (!error.empty()) {
                m_lastError = "spectrum: trial " + std::to_string(i) + ": " + error;
                return 0;
            }
            staged.push_back(std::make_unique<Staged>());
            staged.back()->trial = t;
            staged.back()->index = i;
            staged.back()->fromRaw = !t->isSpctmFromHost();
        }
        if (staged.empty()) {
            m_lastError = getTrialCount() ? "spectrum: the trial is not one of the session's"
                                          : "spectrum: the session has no trial";
            return 0;
        }
        m_lastError = CSpctmBudget::check(bytes);
        if (!m_lastError.empty()) {
            m_lastError = "spectrum: " + m_lastError;
            return 0;
        }
        TransformCache cache;
        Outcomes out(outcomes);
        ChannelCounter counter(progress, rawChannelCount(staged));
        for (auto& s : staged) {
            std::string error;
            if (!s->fromRaw) {
                stageHandedIn(*s, out);
            } else if (!stageRaw(*s, getSpctmSettings(), cache, out, counter, error)) {
                m_lastError = "spectrum: trial " + std::to_string(s->index) + ": " + error;
                return 0;
            }
            finishGroups(*s, keepHostChoice);
        }
    } catch (const std::exception&) {
        m_lastError = "spectrum: out of memory";
        return 0;
    }
    for (auto& s : staged) {
        s->swapIn();
    }
    m_lastOutcomes.swap(outcomes);
    markChanged();
    return 1;
}

CSumChnlSpctmDatazq* CMEGData4SpctmProcess::computTrialSpctm(CMDTrialzq* trial, bool force,
                                                             bool resetSelect, bool reloadRaw,
                                                             bool allTrials, int spectralClass,
                                                             int component) {
    if (!trial || spectralClass < 0 || spectralClass > 2 || component < 0 || component > 2) {
        return nullptr;
    }
    for (int i = 0; reloadRaw && allTrials && i < getTrialCount(); ++i) {
        getTrialzq(i)->reloadSpctmDataAll();
    }
    if (reloadRaw) {
        trial->reloadSpctmDataAll();
    }
    CSumChnlSpctmDatazq* rec =
        trial->getSpctmTrial(true, spectralClass)->getSumChnlSpctmData(component);
    bool computed = false;
    for (int k = 0; k < 3; ++k) {
        const CSumChnlSpctmDatazq* r =
            trial->getSpctmTrial(true, k)->getSumChnlSpctmData(component);
        computed |= r->nTime > 0 && r->nFreq > 0;
    }
    if (force || !computed) {
        computTrialSpctmAllPro(allTrials ? nullptr : trial, !resetSelect);
    }
    return rec;
}
