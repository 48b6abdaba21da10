// How a host fills a data set: sessions, trials, channels with their sensors, raw epochs and
// windows, or spectra computed elsewhere. Every call validates its input, including the memory
// the session's spectra would take (at most 64 GiB: channel grids and group records of every
// trial and class), before it changes anything; a refused call leaves the data set exactly as
// it was and says why. Nothing throws.
//
// Order of use: addSession; setSpectrumSettings (optional); addTrial (a new trial takes the
// channels of the session's first trial); addMegChannel / addEegChannel (added to every
// trial of the session); then per trial either setChannelEpochs for each channel plus
// setWindows, or setSpectrumAxes plus setChannelSpectrum (a trial takes one or the other);
// finally computeSpectra.
#pragma once

#include "recording/CArrayMEDataSetzq.h"
#include "recording/CSpctmOutcome.h"

#include <functional>
#include <span>
#include <string>
#include <utility>
#include <vector>

class CMEDataSetBuilder {
public:
    struct Result {
        bool ok = true;
        std::string message; // empty on success
        // computeSpectra only: the channels left without usable spectra or computed from
        // fewer epochs, in trial and channel order (the computation still succeeded).
        std::vector<CSpctmOutcome> outcomes;
        explicit operator bool() const { return ok; }
    };

    // Latencies (first and last sample, windows, axes) must lie within +-kMaxLatencyMs
    // (about 11.6 days); anything beyond is a unit or type mistake.
    static constexpr double kMaxLatencyMs = 1e9;

    // Progress of computeSpectra: done of total channels transformed. Called on the computing
    // threads, one call at a time, done rising by one from 1 to total; it must not throw.
    using ProgressCallback = std::function<void(long long done, long long total)>;

    explicit CMEDataSetBuilder(CArrayMEDataSetzq& data) : m_data(data) {}

    // Told after each channel's spectra are computed by computeSpectra (from raw epochs;
    // handed-in spectra need no transform and are not counted). Empty: nobody is told.
    void setProgressCallback(ProgressCallback callback) { m_progress = std::move(callback); }

    // New session (it becomes current); its index goes to *index when given.
    Result addSession(int* index = nullptr);
    // New trial of the session with the channels (not the data) of its first trial.
    Result addTrial(int session, int* index = nullptr);
    // New MEG channel on every trial of the session. An empty label takes the sensor's own;
    // a channel without any label, or with the label of another channel of the session, is
    // refused. The sensor needs at least one coil with a finite position.
    Result addMegChannel(int session, std::u16string label, const CMEGSensorzq& sensor,
                         int* index = nullptr);
    // New EEG channel on every trial of the session; labels as for addMegChannel.
    Result addEegChannel(int session, std::u16string label, const CEEGelectrodezq& electrode,
                         int* index = nullptr);
    // Physical unit of a channel's samples on every trial of the session, replacing the SI
    // unit of its sensor kind ("fT", "fT/cm", "uV"): 1 to 16 printable characters.
    Result setChannelUnit(int session, int channel, std::u16string unit);

    // Where the head's front and right ear point in the session's sensor coordinates (any
    // length; front is made orthogonal to right). Refused for vectors that are not finite,
    // are zero or are parallel.
    Result setHeadFrame(int session, const double front[3], const double right[3]);

    // Raw signal of one channel: nEpochs epochs of equal length, one after the other. All
    // channels of a trial share sampling rate, first-sample latency, epoch count and length.
    // Refused on a trial holding handed-in spectra. Non-finite samples and samples beyond
    // +-1e60 are accepted: an epoch containing one is left out of that channel's averages
    // (computeSpectra reports it).
    Result setChannelEpochs(int session, int trial, int channel, std::span<const double> samples,
                            long long nEpochs, double samplingRateHz, double firstLatencyMs);
    // The same, taking the vector's memory instead of copying it when the call succeeds; a
    // refused call leaves `samples` as it was.
    Result setChannelEpochs(int session, int trial, int channel, std::vector<double>&& samples,
                            long long nEpochs, double samplingRateHz, double firstLatencyMs);
    // Active and Control windows (ms, inclusive). Each must lie inside the epochs and hold at
    // least one spectrum time point once raw epochs are there.
    Result setWindows(int session, int trial, double activeStartMs, double activeEndMs,
                      double controlStartMs, double controlEndMs);
    // Only an Active window (for the whole epoch: its first and last sample's latency): the
    // plain power there, with no Control window, so no Control and no Result spectra.
    Result setActiveWindow(int session, int trial, double startMs, double endMs);
    // Checked against every trial with raw epochs (Nyquist frequency, windows, memory).
    Result setSpectrumSettings(int session, const CSpctmSettings& settings);

    // Axes of spectra handed in directly for one class of one trial: nTime points from
    // firstLatencyMs in steps of stepMs, at the given frequencies (the rule of
    // CSpctmSettings::checkFreqsHz). Clears that class's spectra. Refused on a trial with raw
    // epochs.
    Result setSpectrumAxes(int session, int trial, int spectralClass, long long nTime,
                           double firstLatencyMs, double stepMs, std::span<const double> freqsHz,
                           bool accumulated = true);
    // One channel's spectrum of a class: three grids of nTime * nFreq values (t * nFreq + f).
    Result setChannelSpectrum(int session, int trial, int channel, int spectralClass,
                              std::span<const double> real, std::span<const double> imag,
                              std::span<const double> power);

    // Compute the spectra of every trial of the session from its raw epochs (or the group
    // records of handed-in spectra). All or nothing: when any trial cannot be computed the
    // message says which and why, and no trial changes. On success `outcomes` names the
    // channels without usable spectra.
    Result computeSpectra(int session);
    // The host's choice of a trial's selected time-frequency point for one class; it outlives
    // recomputations whose grid still holds its latency and frequency.
    Result setSelectedPoint(int session, int trial, int spectralClass, long long timeIndex,
                            long long freqIndex);

private:
    CMEGDatazq* session(int index, Result& result);
    CMDTrialzq* trial(int sessionIndex, int trialIndex, Result& result);
    Result addChannel(CMEGDatazq& s, const char* call, const std::u16string& label,
                      const std::function<void(CMDChannelzq&)>& setUp, int* index);
    Result applyWindows(int session, int trial, const double (&win)[2][2], bool hasControl,
                        const std::string& call);
    // setChannelEpochs of either kind: `owned`, when given, is moved into the data set instead
    // of copying `samples` (its view).
    Result storeEpochs(int session, int trial, int channel, std::span<const double> samples,
                       std::vector<double>* owned, long long nEpochs, double samplingRateHz,
                       double firstLatencyMs);

    CArrayMEDataSetzq& m_data;
    ProgressCallback m_progress;
};
