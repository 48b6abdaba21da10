// Size of a session's spectra.
#include "CSpctmBudget.h"

#include <cmath>
#include <cstdio>

namespace {

// Channel grids and group grids per point of one class.
constexpr double kGroupGrids = 6.0;
constexpr double kComponents = 3.0;

std::string gib(double bytes) {
    char text[32];
    std::snprintf(text, sizeof text, "%.1f GiB", bytes / static_cast<double>(1LL << 30));
    return text;
}

} // namespace

double CSpctmBudget::Shape::bytes() const {
    double points = 0.0;
    for (int k = 0; k < 3; ++k) {
        points += static_cast<double>(nTime[k]) * static_cast<double>(nFreq[k]);
    }
    return points * kComponents * (static_cast<double>(channels) + kGroupGrids) * sizeof(double);
}

CSpctmBudget::Shape CSpctmBudget::rawShape(long long channels, const CSpctmGrid::Window& active,
                                           const CSpctmGrid::Window& control, long long nFreq) {
    Shape s;
    s.channels = channels;
    s.nTime[0] = active.count;
    s.nTime[1] = control.count;
    s.nTime[2] = control.count > 0 ? active.count : 0;
    s.nFreq[0] = s.nFreq[1] = s.nFreq[2] = nFreq;
    return s;
}

long long CSpctmBudget::rawChannels(CMDTrialzq& trial) {
    const long long nRaw = trial.getEpochCount() * trial.getEpochLength();
    long long n = 0;
    CMDChannelzq** chs = trial.getAllChannelPt();
    for (int c = 0; c < trial.getTotalChannel(); ++c) {
        n += static_cast<long long>(chs[c]->getRawData().size()) == nRaw ? 1 : 0;
    }
    return n;
}

CSpctmBudget::Shape CSpctmBudget::shapeOf(CMDTrialzq& trial, const CSpctmSettings& settings) {
    Shape s;
    if (trial.isSpctmFromHost()) {
        s.channels = trial.getTotalChannel();
        for (int k = 0; k < 3; ++k) {
            const CSpctmTrialzq* st = trial.getSpctmTrial(true, k);
            s.nTime[k] = st->getTrialSpctmTimePt();
            s.nFreq[k] = st->getTrialSpctmFreqPt();
        }
        return s;
    }
    if (!trial.hasRawTiming() || !trial.hasSpctmWindows() ||
        !settings.check(trial.getSamplingRate()).empty()) {
        return s;
    }
    const CSpctmGrid grid(trial.getSamplingRate(), trial.getFirstLatencyMs(),
                          trial.getEpochLength(), settings.timeStepMs);
    const CSpctmGrid::Window none;
    return rawShape(
        rawChannels(trial), grid.window(trial.getWindowStartMs(0), trial.getWindowEndMs(0)),
        trial.hasControlWindow() ? grid.window(trial.getWindowStartMs(1), trial.getWindowEndMs(1))
                                 : none,
        static_cast<long long>(settings.freqsHz.size()));
}

std::string CSpctmBudget::check(double bytes) {
    if (bytes <= kMaxBytes) {
        return {};
    }
    return "the session's spectra would need " + gib(bytes) + " (at most " + gib(kMaxBytes) +
           ", group records included); use fewer frequencies or channels, a larger time step or "
           "shorter windows";
}
