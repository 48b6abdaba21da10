// Where the host's data set comes from: the default synthetic recording, epochs of a recording
// file around its events (spectra computed here), or spectra computed elsewhere. Long reads and
// the spectra show a progress bar on a terminal; what was read is told on out.
#pragma once

#include "io/CEpochImport.h"
#include "recording/CSpctmSettings.h"

#include <memory>
#include <ostream>
#include <string>
#include <vector>

class CArrayMEDataSetzq;

struct SourceOptions {
    std::string recording;            // a file BioSig reads; empty: none
    std::string tfr;                  // a NumPy folder or an MNE -tfr.h5 file; empty: none
    std::vector<std::string> layouts; // searched in order; empty: the 10-10 electrodes
    bool dropUnplaced = false;
    // Events that start an epoch: those with one of these texts or codes.
    std::vector<std::string> eventTexts;
    std::vector<int> eventCodes;
    // Latencies in ms relative to the event, ends included.
    double activeStartMs = 0.0;
    double activeEndMs = 800.0;
    double controlStartMs = -400.0;
    double controlEndMs = 0.0;
    // The epoch span; when not given, the smallest span holding both windows.
    bool epochGiven = false;
    double epochStartMs = 0.0;
    double epochEndMs = 0.0;
    // Frequencies of the spectra computed from a recording; empty: the default ones below the
    // recording's Nyquist frequency.
    std::vector<double> freqsHz;
    // The other settings of those spectra (cycles, zero mean, normalisation, step, threads);
    // their frequencies are freqsHz.
    CSpctmSettings spectrum;
    bool stepEverySample = false; // a spectrum at every sample, whatever spectrum.timeStepMs
    CEpochImport::Edges edges = CEpochImport::Edges::Outward;
    // Where the computed spectra are saved for MNE-Python (CSpectraExport); empty: nowhere.
    std::string saveTfr;
    std::string condition;       // of an -tfr.h5 file; empty: the first
    int spectralClass = 0;       // the class that handed-in spectra fill
    unsigned long long seed = 0; // of the synthetic recording
};

class DataSetLoader {
public:
    DataSetLoader(SourceOptions options, std::ostream& out);

    // The data set with its spectra computed; null when it cannot be made (see error()).
    std::unique_ptr<CArrayMEDataSetzq> load();
    // Why load failed: one line naming the file and the problem.
    const std::string& error() const { return m_error; }

private:
    std::unique_ptr<CArrayMEDataSetzq> synthetic();
    std::unique_ptr<CArrayMEDataSetzq> recording();
    std::unique_ptr<CArrayMEDataSetzq> spectra();
    bool computeSpectra(CArrayMEDataSetzq& data);

    SourceOptions m_options;
    std::ostream& m_out;
    std::string m_error;
};
