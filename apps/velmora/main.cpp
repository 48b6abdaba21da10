// velmora: shows a recording's time-frequency spectra in the library's windows, interactively
// or as PNG snapshots: epochs of a recording file around its events, spectra computed
// elsewhere, or the default synthetic recording. It prints what it read first.
#include "DataSetLoader.h"
#include "DemoOptions.h"
#include "DemoSummary.h"
#include "io/CSpectraExport.h"
#include "recording/CArrayMEDataSetzq.h"
#include "synthetic/CSyntheticRecording.h"

#include <iostream>

namespace {

// What the windows can show of the data set: the EEG contour map when asked for or when there
// is no MEG sensor; an error when the map asked for has no sensor to show.
std::string chooseContourMap(CArrayMEDataSetzq& data, DemoWindowOptions& windows) {
    CMEGDatazq* session = data.getSessionData(-1);
    CMDTrialzq* trial = session ? session->getTrialzq(-1) : nullptr;
    int meg = 0, eeg = 0;
    for (int i = 0; trial && i < trial->getTotalChannel(); ++i) {
        CMDChannelzq* ch = trial->getChannel(i);
        meg += ch && ch->getMEGSensorzq() ? 1 : 0;
        eeg += ch && ch->getChannelType() == CMDChannel0SensorInfo::EegElectrode ? 1 : 0;
    }
    if (windows.eeg && eeg == 0)
        return "--eeg: the data set has no EEG electrode";
    windows.eeg = windows.eeg || meg == 0;
    return "";
}

// --save-tfr: the computed spectra for MNE-Python; the error, empty when they were saved.
std::string saveSpectra(CArrayMEDataSetzq& data, const std::string& path, std::ostream& out) {
    CSpectraExport exporter;
    if (const CIoResult r = exporter.write(data, path); !r)
        return r.message;
    std::string classes;
    for (const std::string& name : exporter.report().classes)
        classes += (classes.empty() ? "" : ", ") + name;
    out << "Saved the spectra (" << classes << ") to '" << path << "'\n";
    return "";
}

} // namespace

int main(int argc, char** argv) {
    DemoOptions options = parseDemoOptions(argc, argv, CSyntheticRecording::Options{}.seed);
    if (!options.error.empty()) {
        std::cerr << "velmora: " << options.error << "\n\n" << kDemoUsage;
        return 2;
    }
    if (options.help) {
        std::cout << kDemoUsage;
        return 0;
    }
    DataSetLoader loader(options.source, std::cout);
    auto data = loader.load();
    if (!data) {
        std::cout.flush();
        std::cerr << "velmora: " << loader.error() << "\n";
        return 1;
    }
    printRecordingSummary(*data, std::cout);
    if (!options.source.saveTfr.empty()) {
        if (const std::string error = saveSpectra(*data, options.source.saveTfr, std::cout);
            !error.empty()) {
            std::cout.flush();
            std::cerr << "velmora: " << error << "\n";
            return 1;
        }
    }
    // The summary stands even if the windows fail.
    std::cout.flush();
    if (options.summaryOnly)
        return 0;
    if (const std::string error = chooseContourMap(*data, options.windows); !error.empty()) {
        std::cerr << "velmora: " << error << "\n";
        return 1;
    }
#ifdef VELMORA_DEMO_WINDOWS
    return runDemoWindows(*data, options.windows, std::cout);
#else
    std::cout << "(this build has no display library: only the summary is shown)\n";
    return 0;
#endif
}
