// Memory the spectra of a session take once computed or handed in, checked before anything is
// allocated: for every trial and class the channel grids (three components) and the group
// records (six grids of three components).
#pragma once

#include "CSpctmGrid.h"
#include "recording/CMDTrialzq.h"
#include "recording/CSpctmSettings.h"

#include <string>

class CSpctmBudget {
public:
    // Most the spectra of one session may take.
    static constexpr double kMaxBytes = 64.0 * (1LL << 30);

    // What one trial holds: the channels that carry spectra and each class's grid.
    struct Shape {
        long long channels = 0;
        long long nTime[3] = {0, 0, 0};
        long long nFreq[3] = {0, 0, 0};
        double bytes() const;
    };

    // A trial computed from raw epochs: Active and Result on the Active window, Control on the
    // Control window; without a Control window (empty) no Result either.
    static Shape rawShape(long long channels, const CSpctmGrid::Window& active,
                          const CSpctmGrid::Window& control, long long nFreq);
    // The trial as it stands: raw trials with these settings (nothing while the timing, windows
    // or settings are unusable), handed-in trials with their axes and every channel.
    static Shape shapeOf(CMDTrialzq& trial, const CSpctmSettings& settings);
    // Channels of the trial whose raw epochs match its timing.
    static long long rawChannels(CMDTrialzq& trial);
    // Why `bytes` do not fit; empty when they do.
    static std::string check(double bytes);
};
