// How a host fills a data set: sessions, trials, channels with their sensors, raw epochs and
// windows, or spectra computed elsewhere. Every call validates its input; a refused call
// leaves the data set exactly as it was and says why. Nothing throws.
//
// Order of use: addSession; setSpectrumSettings (optional); addTrial (a new trial takes the
// channels of the session's first trial); addMegChannel / addEegChannel (added to every
// trial of the session); then per trial either setChannelEpochs for each channel plus
// setWindows, or setSpectrumAxes plus setChannelSpectrum; finally computeSpectra.
#pragma once

#include "recording/CArrayMEDataSetzq.h"

#include <functional>
#include <span>
#include <string>

class CMEDataSetBuilder {
public:
    struct Result {
        bool ok = true;
        std::string message; // empty on success
        explicit operator bool() const { return ok; }
    };

    explicit CMEDataSetBuilder(CArrayMEDataSetzq& data) : m_data(data) {}

    // New session (it becomes current); its index goes to *index when given.
    Result addSession(int* index = nullptr);
    // New trial of the session with the channels (not the data) of its first trial.
    Result addTrial(int session, int* index = nullptr);
    // New MEG channel on every trial of the session. An empty label takes the sensor's own.
    // The sensor needs at least one coil with a finite position.
    Result addMegChannel(int session, std::u16string label, const CMEGSensorzq& sensor,
                         int* index = nullptr);
    // New EEG channel on every trial of the session. An empty label takes the electrode's own.
    Result addEegChannel(int session, std::u16string label, const CEEGelectrodezq& electrode,
                         int* index = nullptr);
    // Physical unit of a channel's samples on every trial of the session, replacing the SI
    // unit of its sensor kind ("fT", "fT/cm", "uV"): 1 to 16 printable characters.
    Result setChannelUnit(int session, int channel, std::u16string unit);

    // Raw signal of one channel: nEpochs epochs of equal length, one after the other. All
    // channels of a trial share sampling rate, first-sample latency, epoch count and length.
    // Non-finite samples are accepted: an epoch containing one is left out of that channel's
    // averages.
    Result setChannelEpochs(int session, int trial, int channel, std::span<const double> samples,
                            long long nEpochs, double samplingRateHz, double firstLatencyMs);
    // Active and Control windows (ms, inclusive). Each must lie inside the epochs and hold at
    // least one spectrum time point once raw epochs are there.
    Result setWindows(int session, int trial, double activeStartMs, double activeEndMs,
                      double controlStartMs, double controlEndMs);
    Result setSpectrumSettings(int session, const CSpctmSettings& settings);

    // Axes of spectra handed in directly for one class of one trial: nTime points from
    // firstLatencyMs in steps of stepMs, at the given frequencies. Clears that class's spectra.
    Result setSpectrumAxes(int session, int trial, int spectralClass, long long nTime,
                           double firstLatencyMs, double stepMs, std::span<const double> freqsHz,
                           bool accumulated = true);
    // One channel's spectrum of a class: three grids of nTime * nFreq values (t * nFreq + f).
    Result setChannelSpectrum(int session, int trial, int channel, int spectralClass,
                              std::span<const double> real, std::span<const double> imag,
                              std::span<const double> power);

    // Compute the spectra of every trial of the session from its raw epochs (or the group
    // records of handed-in spectra). Input is checked first; a trial whose computation then
    // runs out of memory is left without spectra.
    Result computeSpectra(int session);
    // The host's choice of a trial's selected time-frequency point for one class.
    Result setSelectedPoint(int session, int trial, int spectralClass, long long timeIndex,
                            long long freqIndex);

private:
    CMEGDatazq* session(int index, Result& result);
    CMDTrialzq* trial(int sessionIndex, int trialIndex, Result& result);
    Result addChannel(CMEGDatazq& s, const std::function<void(CMDChannelzq&)>& setUp, int* index);

    CArrayMEDataSetzq& m_data;
};
