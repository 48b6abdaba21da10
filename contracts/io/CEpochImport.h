// A recording file made into a data set of epochs around chosen events: one session with one
// trial holding the placed channels, their epochs and the Active and Control windows, built
// through CMEDataSetBuilder.
//
// Only the samples the epochs need are read. Epochs that run past either end of the recording
// or hold a non-finite sample on any channel (BioSig marks saturated samples so) are left out
// and counted in the report. A failed build leaves the target data set as it was.
#pragma once

#include "io/CIoProgress.h"
#include "io/CIoResult.h"
#include "io/CMontageOptions.h"
#include "recording/CArrayMEDataSetzq.h"
#include "recording/CSpctmSettings.h"

#include <string>
#include <vector>

class CEpochImport {
public:
    // How the epoch span in ms becomes whole samples.
    enum class Edges {
        // Widened outward: the epoch holds every latency of the span, so the windows lie wholly
        // among its samples (at 256 Hz, -400 ms starts at sample -103, -402.3 ms).
        Outward,
        // Each end rounded to the nearest sample, ties to even, as MNE-Python cuts epochs (at
        // 256 Hz, -400 ms starts at sample -102, -398.4 ms). Windows reaching past the samples
        // are cut back to the epoch's first and last sample.
        Nearest
    };

    struct Options {
        std::string path; // any recording BioSig reads (CRecordingFile)
        // Events that start an epoch: those whose code is listed or whose text (trimmed) equals
        // one listed. At least one code or text is needed.
        std::vector<int> eventCodes;
        std::vector<std::string> eventTexts;
        // Latencies in ms relative to the event, ends included: the epoch span and the windows
        // inside it.
        double epochStartMs = -500.0;
        double epochEndMs = 1000.0;
        double controlStartMs = -400.0;
        double controlEndMs = 0.0;
        double activeStartMs = 0.0;
        double activeEndMs = 800.0;
        Edges edges = Edges::Outward;
        // Labels of the channels to use (case-insensitive); empty takes every channel sampled at
        // the recording's rate.
        std::vector<std::string> channels;
        CMontageOptions montage;
        // Settings of the session; their frequencies must lie below the Nyquist frequency.
        CSpctmSettings spectrum;
        // Also compute the spectra before the data set is handed over.
        bool computeSpectra = false;
        CIoProgress::Callback progress;
    };

    struct Report {
        std::string format; // as BioSig names it: "EDF", "BDF", "GDF", "BrainVision", ...
        double samplingRateHz = 0.0;
        long long samplesPerEpoch = 0;
        double firstLatencyMs = 0.0; // latency of an epoch's first sample
        int eventsMatched = 0;
        int epochsUsed = 0;
        int epochsPastEnds = 0;  // left out: the epoch runs past the start or end of the file
        int epochsNonFinite = 0; // left out: a non-finite sample on some channel
        std::vector<std::string> channels;        // the data set's channels, in order
        std::vector<std::string> droppedChannels; // no position (with dropUnplaced)
        // Left out with dropUnplaced: their samples cannot be read in physical units
        // (CRecordingFile::Channel::fault).
        std::vector<std::string> unreadableChannels;
    };

    CEpochImport() = default;
    explicit CEpochImport(Options options) : m_options(std::move(options)) {}

    Options& options() { return m_options; }
    const Options& options() const { return m_options; }

    // Replace the target's contents with the new data set; on failure the target is unchanged
    // and the message names the file and the problem.
    CIoResult build(CArrayMEDataSetzq& target);
    // What the last successful build found.
    const Report& report() const { return m_report; }

private:
    Options m_options;
    Report m_report;
};
