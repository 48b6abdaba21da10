// Summary of the current session of a data set, for the demo host's console output.
#include "CRecordingSummary.h"

#include "recording/CArrayMEDataSetzq.h"

#include <ostream>

namespace {

const char* const kClassNames[3] = {"Active", "Control", "Result"};
const char* const kComponentNames[3] = {"real", "imaginary", "power"};

void printChannels(CMDTrialzq& trial, std::ostream& out) {
    int meg = 0;
    int eeg = 0;
    CMDChannelzq** channels = trial.getAllChannelPt();
    for (int i = 0; i < trial.getTotalChannel(); ++i) {
        const int type = channels[i]->getChannelType();
        meg += type == CMDChannel0SensorInfo::MegSensor;
        eeg += type == CMDChannel0SensorInfo::EegElectrode;
    }
    out << "  channels:   " << trial.getTotalChannel() << " (" << meg << " MEG sensors, " << eeg
        << " EEG electrodes)\n";
    if (trial.hasRawTiming()) {
        out << "  raw data:   " << trial.getEpochCount() << " epochs of " << trial.getEpochLength()
            << " samples at " << trial.getSamplingRate() << " Hz, first sample at "
            << trial.getFirstLatencyMs() << " ms\n";
    }
}

void printClass(CMDTrialzq& trial, int spectralClass, std::ostream& out) {
    CSpctmTrialzq* spectra = trial.getSpctmTrial(false, spectralClass);
    out << "  " << kClassNames[spectralClass] << ":";
    if (spectra == nullptr) {
        out << " no spectra\n";
        return;
    }
    const long long nTime = spectra->getTrialSpctmTimePt();
    const int nFreq = spectra->getTrialSpctmFreqPt();
    double hz0 = 0.0;
    double hz1 = 0.0;
    spectra->getTrialSpctmGivenFreqID4Hz(0, nFreq - 1, hz0, hz1);
    out << " " << nTime << " time points " << spectra->getLatencyMs(0) << " to "
        << spectra->getLatencyMs(nTime - 1) << " ms, " << nFreq << " frequencies " << hz0
        << " to " << hz1 << " Hz\n";
    for (int component = 0; component < 3; ++component) {
        double lo = 0.0;
        double hi = 0.0;
        if (trial.getSpctmRangeAllChann(&lo, &hi, nullptr, 1, spectralClass, component) != 0) {
            out << "    " << kComponentNames[component] << " range " << lo << " to " << hi << "\n";
        }
    }
}

} // namespace

int CRecordingSummary::print(CArrayMEDataSetzq& data, std::ostream& out) {
    CMEGDatazq* session = data.getSessionData(-1);
    CMDTrialzq* trial = session != nullptr ? session->getTrialzq(-1) : nullptr;
    if (trial == nullptr) {
        out << "The data set has no session or no trial.\n";
        return 0;
    }
    out << "Default recording: " << data.getSessionCount() << " session(s), "
        << session->getTrialCount() << " trial(s); current trial:\n";
    printChannels(*trial, out);
    for (int spectralClass = 0; spectralClass < 3; ++spectralClass) {
        printClass(*trial, spectralClass, out);
    }
    return 1;
}
