// The host's data set from the synthetic recording, a recording file or precomputed spectra.
#include "DataSetLoader.h"

#include "ProgressBar.h"
#include "io/CEpochImport.h"
#include "io/CRecordingFile.h"
#include "io/CSpectraImport.h"
#include "recording/CMEDataSetBuilder.h"
#include "synthetic/CSyntheticRecording.h"

#include <algorithm>
#include <chrono>
#include <cstdio>

namespace {

class Stopwatch {
public:
    std::string seconds() const {
        char text[32];
        std::snprintf(text, sizeof text, "%.2f s",
                      std::chrono::duration<double>(Clock::now() - m_start).count());
        return text;
    }

private:
    using Clock = std::chrono::steady_clock;
    Clock::time_point m_start = Clock::now();
};

std::string quoted(const std::string& text) {
    return "'" + text + "'";
}

std::string ms(double value) {
    char text[32];
    std::snprintf(text, sizeof text, "%g", value);
    return text;
}

std::string list(const std::vector<std::string>& items) {
    std::string text;
    for (const std::string& item : items)
        text += (text.empty() ? "" : ", ") + item;
    return text;
}

std::string plural(long long n, const char* one, const char* many) {
    return std::to_string(n) + " " + (n == 1 ? one : many);
}

// Runs an import into a new data set with a progress bar of its two stages; null, with the
// import's message in error, when it fails.
template <class Import>
std::unique_ptr<CArrayMEDataSetzq> importWithBar(Import& import, const char* reading,
                                                 std::string& error) {
    auto data = std::make_unique<CArrayMEDataSetzq>();
    ProgressBar bar;
    import.options().progress =
        [&bar, reading ](CIoProgress::Stage stage, long long done, long long total) {
            bar.show(stage == CIoProgress::Stage::Reading ? reading : "Filling the data set", done,
                     total);
    return true;
};
if (const CIoResult r = import.build(*data); !r) {
    error = r.message;
    return nullptr;
}
return data;
} // namespace

// The sampling rate the header gives; 0 when it cannot be read (the import then says why).
double samplingRateHz(const std::string& path) {
    CRecordingFile file;
    return file.open(path) ? file.samplingRateHz() : 0.0;
}

// The given frequencies, or the default ones below the Nyquist frequency.
std::vector<double> frequencies(const SourceOptions& o, double rateHz) {
    if (!o.freqsHz.empty())
        return o.freqsHz;
    std::vector<double> freqs = CSpctmSettings::defaultFreqsHz();
    std::vector<double> below;
    for (double f : freqs)
        if (f < 0.5 * rateHz)
            below.push_back(f);
    return below.empty() ? freqs : below;
}

CEpochImport::Options epochOptions(const SourceOptions& o) {
    CEpochImport::Options io;
    io.path = o.recording;
    io.eventTexts = o.eventTexts;
    io.eventCodes = o.eventCodes;
    io.activeStartMs = o.activeStartMs;
    io.activeEndMs = o.activeEndMs;
    io.controlStartMs = o.controlStartMs;
    io.controlEndMs = o.controlEndMs;
    io.epochStartMs = o.epochGiven ? o.epochStartMs : std::min(o.activeStartMs, o.controlStartMs);
    io.epochEndMs = o.epochGiven ? o.epochEndMs : std::max(o.activeEndMs, o.controlEndMs);
    io.edges = o.edges;
    if (!o.layouts.empty())
        io.montage.layouts = o.layouts;
    io.montage.dropUnplaced = o.dropUnplaced;
    const double rateHz = samplingRateHz(o.recording);
    io.spectrum = o.spectrum;
    io.spectrum.freqsHz = frequencies(o, rateHz);
    // One sample's time step; the grid rounds the step to whole samples.
    if (o.stepEverySample && rateHz > 0.0)
        io.spectrum.timeStepMs = 1000.0 / rateHz;
    return io;
}

void printDropped(const std::vector<std::string>& dropped, std::ostream& out) {
    if (!dropped.empty())
        out << "  left out, without a position in the layouts: " << list(dropped) << "\n";
}

} // namespace

DataSetLoader::DataSetLoader(SourceOptions options, std::ostream& out)
    : m_options(std::move(options)), m_out(out) {}

std::unique_ptr<CArrayMEDataSetzq> DataSetLoader::load() {
    m_error.clear();
    if (!m_options.recording.empty())
        return recording();
    if (!m_options.tfr.empty())
        return spectra();
    return synthetic();
}

std::unique_ptr<CArrayMEDataSetzq> DataSetLoader::synthetic() {
    CSyntheticRecording recording;
    recording.options().seed = m_options.seed;
    auto data = recording.build();
    if (!data)
        m_error = "the default recording could not be built: " + recording.getError();
    return data;
}

std::unique_ptr<CArrayMEDataSetzq> DataSetLoader::recording() {
    CEpochImport import(epochOptions(m_options));
    const CEpochImport::Options& io = import.options();
    const Stopwatch watch;
    auto data = importWithBar(import, "Reading epochs", m_error);
    if (!data)
        return nullptr;
    const CEpochImport::Report& r = import.report();
    m_out << "Read " << quoted(io.path) << " (" << r.format << ", " << ms(r.samplingRateHz)
          << " Hz) in " << watch.seconds() << ": " << plural(r.epochsUsed, "epoch", "epochs")
          << " of " << plural(r.eventsMatched, "event", "events") << " from " << ms(io.epochStartMs)
          << " to " << ms(io.epochEndMs) << " ms (" << r.samplesPerEpoch << " samples), "
          << plural(static_cast<long long>(r.channels.size()), "channel", "channels") << "\n";
    if (r.epochsPastEnds > 0)
        m_out << "  left out: " << plural(r.epochsPastEnds, "epoch", "epochs")
              << " running past the ends of the recording\n";
    if (r.epochsNonFinite > 0)
        m_out << "  left out: " << plural(r.epochsNonFinite, "epoch", "epochs")
              << " with a sample that is not finite (saturated)\n";
    printDropped(r.droppedChannels, m_out);
    if (!r.unreadableChannels.empty())
        m_out << "  left out, without a physical range in the header: "
              << list(r.unreadableChannels) << "\n";
    return computeSpectra(*data) ? std::move(data) : nullptr;
}

bool DataSetLoader::computeSpectra(CArrayMEDataSetzq& data) {
    const Stopwatch watch;
    CMEDataSetBuilder builder(data);
    CMEDataSetBuilder::Result r;
    {
        ProgressBar bar;
        builder.setProgressCallback([&bar](long long done, long long total) {
            bar.show("Computing spectra", done, total);
        });
        r = builder.computeSpectra(0);
    }
    if (!r) {
        m_error = quoted(m_options.recording) + ": " + r.message;
        return false;
    }
    CMDTrialzq* trial = data.getSessionData(0)->getTrialzq(0);
    m_out << "Computed the spectra of " << plural(trial->getTotalChannel(), "channel", "channels")
          << " in " << watch.seconds() << "\n";
    return true;
}

std::unique_ptr<CArrayMEDataSetzq> DataSetLoader::spectra() {
    CSpectraImport::Options io;
    io.path = m_options.tfr;
    io.condition = m_options.condition;
    io.spectralClass = m_options.spectralClass;
    if (!m_options.layouts.empty())
        io.montage.layouts = m_options.layouts;
    io.montage.dropUnplaced = m_options.dropUnplaced;
    CSpectraImport import(io);
    const Stopwatch watch;
    auto data = importWithBar(import, "Reading spectra", m_error);
    if (!data)
        return nullptr;
    const char* const classes[] = {"Active", "Control", "Result"};
    const CSpectraImport::Report& r = import.report();
    m_out << "Read " << quoted(io.path) << " (" << r.format
          << (r.complex ? ", complex coefficients" : ", power") << ") in " << watch.seconds()
          << ": " << plural(static_cast<long long>(r.channels.size()), "channel", "channels")
          << ", " << plural(r.frequencies, "frequency", "frequencies") << ", "
          << plural(r.timePoints, "time point", "time points") << " from " << ms(r.firstLatencyMs)
          << " ms in steps of " << ms(r.stepMs) << " ms, as the " << classes[io.spectralClass]
          << " class\n";
    if (r.conditions.size() > 1)
        m_out << "  conditions in the file: " << list(r.conditions)
              << "; shown: " << (io.condition.empty() ? r.conditions.front() : io.condition)
              << "\n";
    printDropped(r.droppedChannels, m_out);
    return data;
}
