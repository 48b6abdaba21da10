// Spectrum trials, windows and range queries of a trial.
#include "recording/CMDTrial4Spctm.h"

#include <cmath>
#include <limits>

namespace {

// Finite minimum, maximum and sum of the values visited.
struct RangeAcc {
    double min = std::numeric_limits<double>::infinity();
    double max = -std::numeric_limits<double>::infinity();
    double sum = 0.0;
    long long n = 0;

    void addGrid(const double* grid, long long count, long long stride, bool magnitude) {
        for (long long i = 0; i < count; ++i) {
            double v = grid[i * stride];
            if (!std::isfinite(v)) {
                continue;
            }
            v = magnitude ? std::fabs(v) : v;
            min = v < min ? v : min;
            max = v > max ? v : max;
            sum += v;
            ++n;
        }
    }

    int write(double* minimum, double* maximum, double* mean) const {
        if (n == 0) {
            return 0;
        }
        if (minimum) {
            *minimum = min;
        }
        if (maximum) {
            *maximum = max;
        }
        if (mean) {
            *mean = sum / static_cast<double>(n);
        }
        return 1;
    }
};

bool validClass(int spectralClass) {
    return spectralClass >= 0 && spectralClass < 3;
}
bool validComponent(int component) {
    return component >= 0 && component < 3;
}

} // namespace

CSpctmTrialzq* CMDTrial4Spctm::getSpctmTrial(bool evenIfEmpty, int spectralClass) {
    if (!validClass(spectralClass)) {
        return nullptr;
    }
    CSpctmTrialzq* s = &m_spctm[spectralClass];
    const bool empty = s->getTrialSpctmTimePt() < 1 || s->getTrialSpctmFreqPt() < 1;
    return evenIfEmpty || !empty ? s : nullptr;
}

int CMDTrial4Spctm::getSpctmRangeAllChann(double* minimum, double* maximum, double* mean, int flag,
                                          int spectralClass, int component) {
    if (!validClass(spectralClass) || !validComponent(component)) {
        return 0;
    }
    const CMDChannelzq* current = getChannel(-1);
    const int type = current ? current->getChannelType() : CMDChannelzq::NoSensor;
    RangeAcc acc;
    CMDChannelzq** channels = getAllChannelPt();
    for (int c = 0; c < getTotalChannel(); ++c) {
        if (flag == 0 && channels[c]->getChannelType() != type) {
            continue;
        }
        const CSpctmChnlzq* s = channels[c]->getSpctmChnl(false, spectralClass);
        long long nTime = 0, nFreq = 0;
        const double* grid = s ? s->getSpctmDataPtr(component, &nTime, &nFreq) : nullptr;
        if (grid) {
            acc.addGrid(grid, nTime * nFreq, 1, false);
        }
    }
    return acc.write(minimum, maximum, mean);
}

int CMDTrial4Spctm::getSpctmRange4OneChnlShowAbs(int showSource, int channel, double* minimum,
                                                 double* maximum, double* mean, bool wholeGrid,
                                                 int spectralClass, int component) {
    return rangeOfShown(showSource, channel, minimum, maximum, mean, wholeGrid, true, spectralClass,
                        component);
}

int CMDTrial4Spctm::getSpctmRange4OneChnlShow(int showSource, int channel, double* minimum,
                                              double* maximum, double* mean, bool wholeGrid,
                                              int spectralClass, int component) {
    return rangeOfShown(showSource, channel, minimum, maximum, mean, wholeGrid, false,
                        spectralClass, component);
}

int CMDTrial4Spctm::rangeOfShown(int showSource, int channel, double* minimum, double* maximum,
                                 double* mean, bool wholeGrid, bool magnitude, int spectralClass,
                                 int component) {
    if (!validClass(spectralClass) || !validComponent(component) || showSource < 0 ||
        showSource > 6) {
        return 0;
    }
    const double* grid = nullptr;
    long long nTime = 0, nFreq = 0;
    if (showSource == 0) {
        CMDChannelzq* ch = getChannel(channel);
        const CSpctmChnlzq* s = ch ? ch->getSpctmChnl(false, spectralClass) : nullptr;
        grid = s ? s->getSpctmDataPtr(component, &nTime, &nFreq) : nullptr;
    } else if (CSpctmTrialzq* st = getSpctmTrial(false, spectralClass)) {
        const CSumChnlSpctmDatazq* rec = st->getSumChnlSpctmData(component);
        grid = rec->getGrid4Show(showSource);
        nTime = rec->nTime;
        nFreq = rec->nFreq;
    }
    if (!grid || nTime < 1 || nFreq < 1) {
        return 0;
    }
    RangeAcc acc;
    if (wholeGrid) {
        acc.addGrid(grid, nTime * nFreq, 1, magnitude);
    } else {
        long long t = 0, f = 0;
        const CSpctmTrialzq* st = getSpctmTrial(false, spectralClass);
        if (!st || !st->getTrialSpctmSelectTimeFreqBB(t, f) || f >= nFreq) {
            return 0;
        }
        acc.addGrid(grid + f, nTime, nFreq, magnitude);
    }
    return acc.write(minimum, maximum, mean);
}

int CMDTrial4Spctm::findSpctmChnl4Show(int spectralClass, int component) {
    if (!validClass(spectralClass) || !validComponent(component)) {
        return -1;
    }
    CMDChannelzq* current = getChannel(-1);
    if (current && current->getSpctmChnl(false, spectralClass)) {
        return getCurntChnlIndx();
    }
    CMDChannelzq** channels = getAllChannelPt();
    for (int c = 0; c < getTotalChannel(); ++c) {
        if (channels[c]->getSpctmChnl(false, spectralClass)) {
            setCurrentChannel(c);
            return c;
        }
    }
    return -1;
}

int CMDTrial4Spctm::reloadSpctmDataAll() {
    if (m_fromHost) {
        return 1;
    }
    for (auto& s : m_spctm) {
        s.clearKeepingHostChoice();
        s.setAccumSpctm(0);
    }
    CMDChannelzq** channels = getAllChannelPt();
    for (int c = 0; c < getTotalChannel(); ++c) {
        for (int k = 0; k < 3; ++k) {
            channels[c]->getSpctmChnl(true, k)->clear();
        }
    }
    m_fromHost = false;
    return 1;
}

double CMDTrial4Spctm::getWindowStartMs(int spectralClass) const {
    return m_win[spectralClass == 1 ? 1 : 0][0];
}

double CMDTrial4Spctm::getWindowEndMs(int spectralClass) const {
    return m_win[spectralClass == 1 ? 1 : 0][1];
}

void CMDTrial4Spctm::setSpctmWindows(double activeStartMs, double activeEndMs,
                                     double controlStartMs, double controlEndMs) {
    m_win[0][0] = activeStartMs;
    m_win[0][1] = activeEndMs;
    m_win[1][0] = controlStartMs;
    m_win[1][1] = controlEndMs;
    m_hasWindows = true;
    m_hasControl = true;
}

void CMDTrial4Spctm::setSpctmActiveWindow(double startMs, double endMs) {
    m_win[0][0] = startMs;
    m_win[0][1] = endMs;
    m_win[1][0] = m_win[1][1] = 0.0;
    m_hasWindows = true;
    m_hasControl = false;
}
