// Spectrum computation of a session's trials.
#include "recording/CMEGData4SpctmProcess.h"

#include "CMorletTransform.h"

#include <atomic>
#include <cmath>
#include <limits>
#include <new>
#include <thread>

namespace {

using TransformCache = std::unique_ptr<CMorletTransform>;
constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
// Above this the spectra of one trial are refused before allocating.
constexpr double kMaxSpectrumBytes = 64.0 * (1LL << 30);

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
void computeResult(CMDChannelzq& ch, CSpctmSettings::ResultMode mode) {
    long long nA = 0, nC = 0, nF = 0;
    CSpctmChnlzq* act = ch.getSpctmChnl(false, 0);
    CSpctmChnlzq* ctl = ch.getSpctmChnl(false, 1);
    CSpctmChnlzq* res = ch.getSpctmChnl(true, 2);
    if (!act || !ctl || act->getFreqCount() != ctl->getFreqCount()) {
        return;
    }
    for (int comp = 0; comp < 3; ++comp) {
        const double* a = act->getSpctmDataPtr(comp, &nA, &nF);
        const double* c = ctl->getSpctmDataPtr(comp, &nC, nullptr);
        double* r = res->getSpctmDataPtr(comp, nullptr, nullptr);
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

// Group records of every class, then the selected points.
void finishGroups(CMDTrialzq& trial, const bool hostSel[3], const long long sel[3][2]) {
    std::vector<const CSpctmChnl*> spectra(static_cast<std::size_t>(trial.getTotalChannel()));
    for (int k = 0; k < 3; ++k) {
        CMDChannelzq** chs = trial.getAllChannelPt();
        for (std::size_t c = 0; c < spectra.size(); ++c) {
            spectra[c] = chs[c]->getSpctmChnl(false, k);
        }
        CSpctmTrialzq* st = trial.getSpctmTrial(true, k);
        st->updateSumChnlSpctm(spectra.data(), static_cast<int>(spectra.size()));
        if (!hostSel[k] || !st->setTrialSpctmSelectTimeFreq(sel[k][0], sel[k][1])) {
            st->selectMaxRmsPoint(false);
        }
    }
}

// Transform channels of `work`, taking the next one until none is left.
void transformChannels(const CMorletTransform& t, const std::vector<CMDChannelzq*>& work,
                       long long nEpochs, const CMorletTransform::Window win[2],
                       std::atomic<std::size_t>& next) {
    CMorletTransform::Workspace ws(t);
    if (!ws.ok()) {
        throw std::bad_alloc();
    }
    for (std::size_t i = next++; i < work.size(); i = next++) {
        CMDChannelzq& ch = *work[i];
        double* re[2];
        double* im[2];
        double* pw[2];
        for (int k = 0; k < 2; ++k) {
            CSpctmChnlzq* s = ch.getSpctmChnl(true, k);
            re[k] = s->getSpctmDataPtr(0, nullptr, nullptr);
            im[k] = s->getSpctmDataPtr(1, nullptr, nullptr);
            pw[k] = s->getSpctmDataPtr(2, nullptr, nullptr);
        }
        t.transformChannel(ch.getRawData().data(), nEpochs, ws, win, re, im, pw, 2);
    }
}

// Transform the channels of `work` on several threads, each pulling the next channel.
bool runChannels(const CMorletTransform& t, const std::vector<CMDChannelzq*>& work,
                 long long nEpochs, const CMorletTransform::Window win[2], int threads) {
    std::atomic<std::size_t> next{0};
    std::atomic<bool> failed{false};
    auto worker = [&]() {
        try {
            transformChannels(t, work, nEpochs, win, next);
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

// Size the channel grids; false (with the reason) when they do not fit.
bool sizeGrids(CMDTrialzq& trial, const std::vector<CMDChannelzq*>& work, long long nA,
               long long nC, long long nF, std::string& error) {
    const double bytes = static_cast<double>(work.size()) * 3.0 * static_cast<double>(2 * nA + nC) *
                         static_cast<double>(nF) * 8.0;
    if (bytes > kMaxSpectrumBytes) {
        error = "spectrum: the trial's spectra would need " + std::to_string(bytes / (1 << 30)) +
                " GiB; use fewer frequencies, a larger time step or shorter windows";
        return false;
    }
    CMDChannelzq** chs = trial.getAllChannelPt();
    for (int c = 0; c < trial.getTotalChannel(); ++c) {
        for (int k = 0; k < 3; ++k) {
            chs[c]->getSpctmChnl(true, k)->clear();
        }
    }
    for (CMDChannelzq* ch : work) {
        if (!ch->getSpctmChnl(true, 0)->resize(nA, nF) ||
            !ch->getSpctmChnl(true, 1)->resize(nC, nF) ||
            !ch->getSpctmChnl(true, 2)->resize(nA, nF)) {
            error = "spectrum: out of memory";
            return false;
        }
    }
    return true;
}

bool computeFromRaw(CMDTrialzq& trial, const CSpctmSettings& s, TransformCache& cache,
                    std::string& error) {
    const double rate = trial.getSamplingRate();
    if (!cache || !cache->matches(rate, trial.getFirstLatencyMs(), trial.getEpochLength(), s)) {
        cache = CMorletTransform::create(rate, trial.getFirstLatencyMs(), trial.getEpochLength(), s,
                                         error);
        if (!cache) {
            return false;
        }
    }
    const CMorletTransform& t = *cache;
    if (!trial.hasSpctmWindows()) {
        error = "spectrum: the trial has no Active and Control windows";
        return false;
    }
    const CMorletTransform::Window win[2] = {
        t.window(trial.getWindowStartMs(0), trial.getWindowEndMs(0)),
        t.window(trial.getWindowStartMs(1), trial.getWindowEndMs(1))};
    if (win[0].count < 1 || win[1].count < 1) {
        error = "spectrum: the Active or Control window holds no spectrum time point";
        return false;
    }
    const long long nRaw = trial.getEpochCount() * trial.getEpochLength();
    std::vector<CMDChannelzq*> work;
    CMDChannelzq** chs = trial.getAllChannelPt();
    for (int c = 0; c < trial.getTotalChannel(); ++c) {
        if (static_cast<long long>(chs[c]->getRawData().size()) == nRaw) {
            work.push_back(chs[c]);
        }
    }
    const long long nF = t.getFreqCount();
    if (!sizeGrids(trial, work, win[0].count, win[1].count, nF, error) ||
        !runChannels(t, work, trial.getEpochCount(), win, threadCount(s, work.size()))) {
        error = error.empty() ? "spectrum: out of memory" : error;
        return false;
    }
    for (CMDChannelzq* ch : work) {
        computeResult(*ch, s.resultMode);
    }
    for (int k = 0; k < 3; ++k) {
        const CMorletTransform::Window& w = win[k == 1 ? 1 : 0];
        CSpctmTrialzq* st = trial.getSpctmTrial(true, k);
        if (!st->setSpctmAxes(w.count, t.gridLatencyMs(w.first), t.getStepMs(), t.getFreqsHz())) {
            error = "spectrum: out of memory";
            return false;
        }
        st->setAccumSpctm(1);
    }
    return true;
}

bool computeTrial(CMDTrialzq& trial, const CSpctmSettings& s, bool resetSelect,
                  TransformCache& cache, std::string& error) {
    bool hostSel[3];
    long long sel[3][2] = {{0, 0}, {0, 0}, {0, 0}};
    for (int k = 0; k < 3; ++k) {
        CSpctmTrialzq* st = trial.getSpctmTrial(true, k);
        hostSel[k] = !resetSelect && st->isSelectSetByHost() &&
                     st->getTrialSpctmSelectTimeFreqBB(sel[k][0], sel[k][1]);
    }
    if (trial.hasRawTiming() && !trial.isSpctmFromHost()) {
        if (!computeFromRaw(trial, s, cache, error)) {
            trial.reloadSpctmDataAll();
            return false;
        }
    } else if (!trial.getSpctmTrial(false, 0) && !trial.getSpctmTrial(false, 1) &&
               !trial.getSpctmTrial(false, 2)) {
        error = "spectrum: the trial has neither raw epochs nor spectra";
        return false;
    }
    try {
        finishGroups(trial, hostSel, sel);
    } catch (const std::exception&) {
        error = "spectrum: out of memory";
        return false;
    }
    return true;
}

} // namespace

int CMEGData4SpctmProcess::computTrialSpctmAllPro(CMDTrialzq* trial, bool resetSelect) {
    m_lastError.clear();
    std::vector<CMDTrialzq*> trials;
    try {
        for (int i = 0; !trial && i < getTrialCount(); ++i) {
            trials.push_back(getTrialzq(i));
        }
        if (trial) {
            trials.push_back(trial);
        }
    } catch (const std::exception&) {
        m_lastError = "spectrum: out of memory";
        return 0;
    }
    if (trials.empty()) {
        m_lastError = "spectrum: the session has no trial";
        return 0;
    }
    TransformCache cache;
    for (CMDTrialzq* t : trials) {
        std::string error;
        if (!computeTrial(*t, getSpctmSettings(), resetSelect, cache, error) &&
            m_lastError.empty()) {
            m_lastError = error;
        }
    }
    markChanged();
    return m_lastError.empty() ? 1 : 0;
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
    if (force || rec->nTime < 1 || rec->nFreq < 1) {
        computTrialSpctmAllPro(allTrials ? nullptr : trial, resetSelect);
    }
    return rec;
}
