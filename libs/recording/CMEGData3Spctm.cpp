// Latency look-up of spectrum time indices.
#include "recording/CMEGData3Spctm.h"

int CMEGData3Spctm::getTrialSpctmGivenTime2LatencyMsec(long long t0, long long t1, double& ms0,
                                                       double& ms1, int spectralClass,
                                                       int component) {
    CMDTrialzq* trial = getCurrentTrialPt();
    if (!trial || component < 0 || component > 2) {
        return 0;
    }
    const CSpctmTrialzq* st = trial->getSpctmTrial(false, spectralClass);
    return st ? st->getTrialSpctmTime2LatencyMsec(t0, t1, ms0, ms1) : 0;
}
