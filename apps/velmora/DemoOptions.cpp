// The demo's command line, read by CLI11 and checked strictly: a value that is not exactly what an
// option takes is refused with the reason, never read as something else.
#include "DemoOptions.h"

#include "recording/CUtfText.h"

#include <CLI/CLI.hpp>
#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <limits>
#include <set>
#include <span>

const char* const kDemoUsage =
    "Usage: velmora [options]                        the default synthetic recording\n"
    "       velmora RECORDING --event TEXT [options] epochs of a recording around events\n"
    "       velmora --tfr DIR|FILE [options]         spectra computed elsewhere\n"
    "\n"
    "Prints a summary of the data set and opens the single-channel spectrogram window, the\n"
    "spectral contour map of the MEG sensors (of the EEG electrodes with --eeg, or when there\n"
    "is no MEG sensor) and the display-parameters window of one spectral class; it ends when\n"
    "the last window is closed.\n"
    "\n"
    "Without RECORDING or --tfr it builds the default synthetic recording (306 MEG sensors,\n"
    "64 EEG electrodes, Morlet spectra of the Active, Control and Result classes).\n"
    "RECORDING is any file BioSig reads (EDF/EDF+, BDF/BDF+, GDF, BrainVision .vhdr, ...):\n"
    "the epochs around the chosen events are read, the channels placed by the layouts and\n"
    "their Morlet spectra computed (4 to 62 Hz in steps of 2 Hz, 7 cycles, every 10 ms\n"
    "rounded to whole samples; Result in dB against the Control window).\n"
    "\n"
    "Data options:\n"
    "  --event TEXT    with RECORDING: an epoch around every event with this text (an EDF+\n"
    "                  or BDF+ annotation, a BrainVision description such as 'S  1'); may\n"
    "                  be repeated. A wrong one is refused with the file's events listed.\n"
    "  --event-code N  with RECORDING: an epoch around every event with this code, 0 to\n"
    "                  65535 (the GDF event type; annotations are numbered 1, 2, ... by\n"
    "                  their distinct texts); may be repeated.\n"
    "  --active A,B    with RECORDING: the Active window, A to B ms after the event (default\n"
    "                  0,800).\n"
    "  --control C,D   with RECORDING: the Control window (baseline), C to D ms (default\n"
    "                  -400,0).\n"
    "  --freqs LO,HI[,STEP]\n"
    "                  with RECORDING: the frequencies of the spectra, LO to HI Hz in steps\n"
    "                  of STEP (default 2) Hz, each below the Nyquist frequency (default\n"
    "                  4,62,2, less those at or above the Nyquist frequency).\n"
    "  --epoch S,E     with RECORDING: the epoch read around each event, S to E ms; it must\n"
    "                  hold both windows (default: from the earlier start of the two\n"
    "                  windows to the later end). Epochs running past the ends of the\n"
    "                  recording, or holding a saturated sample, are left out and counted.\n"
    "  --cycles N      with RECORDING: N cycles for every wavelet, 1 to 1000 (default 7).\n"
    "  --cycles-divisor C\n"
    "                  with RECORDING: f / C cycles at frequency f (C = 2: MNE-Python's\n"
    "                  n_cycles=freqs / 2), each 1 to 1000.\n"
    "  --cycles-list A,B,...\n"
    "                  with RECORDING: the cycles at each frequency, one number from 1 to 1000\n"
    "                  for each of them, in order. One of the three --cycles options at most.\n"
    "  --zero-mean     with RECORDING: wavelets of mean zero (MNE-Python's zero_mean=True);\n"
    "                  matters below 5 cycles.\n"
    "  --normalisation sinusoid|mne\n"
    "                  with RECORDING: the wavelets' scale. sinusoid (default): a sinusoid of\n"
    "                  amplitude a has power a^2 at every frequency; mne: wavelets of L2 norm\n"
    "                  sqrt(2), as MNE-Python's morlet() makes them.\n"
    "  --step MS|sample\n"
    "                  with RECORDING: a spectrum every MS ms, rounded to whole samples (default\n"
    "                  10); sample: at every sample (MNE-Python's decim=1).\n"
    "  --threads N     with RECORDING: threads computing the spectra, 0 to 1024; 0 (default)\n"
    "                  one per processor core.\n"
    "  --edges nearest|outward\n"
    "                  with RECORDING: how the epoch span becomes whole samples. outward\n"
    "                  (default): widened to the samples holding every latency of the span;\n"
    "                  nearest: each end at the nearest sample, as MNE-Python cuts epochs (at\n"
    "                  256 Hz, -400 ms starts at -398.4 ms instead of -402.3 ms).\n"
    "  --save-tfr PATH save the spectra of the Active, Control and Result classes (those\n"
    "                  computed) for MNE-Python: PATH ending in -tfr.h5 or _tfr.h5 is one\n"
    "                  file with a condition per class (active, control, result), as\n"
    "                  mne.time_frequency.read_tfrs opens it; any other PATH a folder with one\n"
    "                  NumPy folder per class (PATH/active/power.npy, freqs.npy, times.npy,\n"
    "                  ch_names.txt, ...). PATH must not exist yet.\n"
    "  --tfr DIR|FILE  spectra computed elsewhere: a folder with power.npy (channels x\n"
    "                  frequencies x times), freqs.npy, times.npy and ch_names.txt, or an\n"
    "                  MNE-Python -tfr.h5 file; they fill the class of --class.\n"
    "  --condition NAME\n"
    "                  with --tfr: the condition of an -tfr.h5 file holding several\n"
    "                  (default: the first).\n"
    "  --layout L      where the channels sit: a built-in layout (meg306-neuromag, ctf274,\n"
    "                  eeg64-biosemi, eeg1010) or a layout file; may be repeated, the first\n"
    "                  that places a channel wins (default eeg1010). Labels match without\n"
    "                  regard to case.\n"
    "  --drop-unplaced leave out the channels no layout places (EXG or Status channels, for\n"
    "                  example) instead of refusing the file.\n"
    "  --seed N        seed of the synthetic recording, 0 to 18446744073709551615 (default\n"
    "                  20240917).\n"
    "\n"
    "Window options:\n"
    "  --eeg           the contour map of the EEG electrodes instead of the MEG sensors.\n"
    "  --sensors KIND  sensors of the contour map: mag (magnetometers), grad (planar\n"
    "                  gradiometers, each pair combined into one value per place), axial\n"
    "                  (axial gradiometers), all (every MEG sensor) or eeg (the EEG\n"
    "                  electrodes, as --eeg). Default: mag when the MEG sensors are of\n"
    "                  several kinds, else all.\n"
    "  --class C       spectral class of the windows: active (default), control or result.\n"
    "  --snapshot DIR  paint every opened window headlessly, write single-channel-ROLE.png,\n"
    "                  contour-ROLE.png (contour-eeg-ROLE.png for the EEG map) and\n"
    "                  parameters.png into DIR (created if needed) and exit; ROLE is the\n"
    "                  class. Used automatically, with DIR \"snapshots\", when there is no\n"
    "                  display (neither DISPLAY nor WAYLAND_DISPLAY set,\n"
    "                  QT_QPA_PLATFORM=offscreen, or a display that cannot be opened).\n"
    "  --sweep N       with --snapshot: step the contour map's animation N ticks headlessly,\n"
    "                  write sweep-00000.png ... into DIR and print the frames per second.\n"
    "  --movie FILE    with --sweep: also encode the sweep into a movie (FILE.mp4: H.264 when\n"
    "                  available, else MPEG-4 Part 2).\n"
    "  --summary       print the summary of the data set and exit without opening windows.\n"
    "  --help          show this text and exit.\n"
    "\n"
    "A refused command line exits with status 2, a file that cannot be read or shown with\n"
    "status 1 and one line naming the file and the problem. On a terminal, reading and\n"
    "computing show a progress bar on standard error.\n";

namespace {

constexpr long long kMaxSweepTicks = 1000000;
constexpr unsigned long long kMaxEventCode = 65535;
constexpr double kDefaultFreqStepHz = 2.0;
constexpr int kMaxFreqs = 1000;
constexpr unsigned long long kMaxThreads = 1024;
constexpr double kMaxStepMs = 1e6;

// Options that only mean something with a recording file, or with a data file of either kind.
const char* const kRecordingOptions[] = {
    "--event",         "--event-code", "--active",         "--control",     "--epoch",
    "--freqs",         "--cycles",     "--cycles-divisor", "--cycles-list", "--zero-mean",
    "--normalisation", "--step",       "--threads",        "--edges"};
const char* const kCyclesOptions[] = {"--cycles", "--cycles-divisor", "--cycles-list"};
const char* const kDataFileOptions[] = {"--layout", "--drop-unplaced"};

// Digits only (no sign, no blanks), within 0..max.
bool parseWhole(const std::string& text, unsigned long long max, unsigned long long& value) {
    const char* end = text.data() + text.size();
    unsigned long long v = 0;
    const auto [ptr, ec] = std::from_chars(text.data(), end, v);
    if (text.empty() || ec != std::errc() || ptr != end || v > max)
        return false;
    value = v;
    return true;
}

// A finite decimal number, nothing before or after it.
bool parseNumber(const std::string& text, double& value) {
    const char* end = text.data() + text.size();
    double v = 0.0;
    const auto [ptr, ec] = std::from_chars(text.data(), end, v);
    if (text.empty() || ec != std::errc() || ptr != end || !std::isfinite(v))
        return false;
    value = v;
    return true;
}

std::string quoted(const std::string& text) {
    return "'" + text + "'";
}

std::string parseClass(const std::string& name, DemoOptions& o) {
    const char* const names[] = {"active", "control", "result"};
    for (int c = 0; c < 3; ++c)
        if (name == names[c]) {
            o.windows.spectralClass = o.source.spectralClass = c;
            return "";
        }
    return "--class takes active, control or result, not " + quoted(name);
}

std::string parseSweep(const std::string& text, int& ticks) {
    unsigned long long v = 0;
    if (!parseWhole(text, kMaxSweepTicks, v) || v < 1)
        return "--sweep needs a number of ticks from 1 to " + std::to_string(kMaxSweepTicks) +
               ", not " + quoted(text);
    ticks = static_cast<int>(v);
    return "";
}

std::string parseSeed(const std::string& text, unsigned long long& seed) {
    const auto max = std::numeric_limits<unsigned long long>::max();
    if (!parseWhole(text, max, seed))
        return "--seed needs a whole number from 0 to " + std::to_string(max) + ", not " +
               quoted(text);
    return "";
}

std::string parseEventCode(const std::string& text, std::vector<int>& codes) {
    unsigned long long v = 0;
    if (!parseWhole(text, kMaxEventCode, v))
        return "--event-code needs a whole number from 0 to " + std::to_string(kMaxEventCode) +
               ", not " + quoted(text);
    codes.push_back(static_cast<int>(v));
    return "";
}

// START,END in ms, START before END.
std::string parseSpan(const std::string& option, const std::string& text, double& start,
                      double& end) {
    const auto comma = text.find(',');
    double a = 0.0, b = 0.0;
    if (comma == std::string::npos || !parseNumber(text.substr(0, comma), a) ||
        !parseNumber(text.substr(comma + 1), b) || !(a < b))
        return option + " needs START,END in ms with START before END, not " + quoted(text);
    start = a;
    end = b;
    return "";
}

// LO,HI[,STEP] in Hz: 0 < LO < HI, STEP > 0, at most kMaxFreqs frequencies.
std::string parseFreqs(const std::string& text, std::vector<double>& freqs) {
    double v[3] = {0.0, 0.0, kDefaultFreqStepHz};
    std::size_t n = 0, at = 0;
    for (; n < 3 && at <= text.size(); ++n) {
        const auto comma = std::min(text.find(',', at), text.size());
        if (!parseNumber(text.substr(at, comma - at), v[n]))
            break;
        at = comma + 1;
    }
    const double count = (v[1] - v[0]) / v[2];
    if (at <= text.size() || n < 2 || !(v[0] > 0.0 && v[1] > v[0] && v[2] > 0.0) ||
        count >= kMaxFreqs)
        return "--freqs needs LO,HI or LO,HI,STEP in Hz with 0 < LO < HI, STEP > 0 and at most " +
               std::to_string(kMaxFreqs) + " frequencies, not " + quoted(text);
    freqs.clear();
    // Within a millionth of a step of HI counts as HI.
    for (long long i = 0; i <= static_cast<long long>(count + 1e-6); ++i)
        freqs.push_back(v[0] + static_cast<double>(i) * v[2]);
    return "";
}

std::string parsePath(const std::string& option, const std::string& text, std::string& path) {
    if (text.empty())
        return option + " needs a path, not an empty one";
    path = text;
    return "";
}

std::string parseName(const std::string& option, const std::string& text, std::string& name) {
    if (text.empty())
        return option + " needs a name, not an empty one";
    name = text;
    return "";
}

std::string parseText(const std::string& option, const std::string& text,
                      std::vector<std::string>& list) {
    if (text.empty())
        return option + " needs a value, not an empty one";
    list.push_back(text);
    return "";
}

std::string cyclesRange() {
    return std::to_string(static_cast<int>(CSpctmSettings::kMinCycles)) + " to " +
           std::to_string(static_cast<int>(CSpctmSettings::kMaxCycles));
}

bool isCycles(double n) {
    return n >= CSpctmSettings::kMinCycles && n <= CSpctmSettings::kMaxCycles;
}

std::string parseCycles(const std::string& text, CSpctmSettings& s) {
    if (!parseNumber(text, s.cycles) || !isCycles(s.cycles))
        return "--cycles needs a number of cycles from " + cyclesRange() + ", not " + quoted(text);
    return "";
}

std::string parseCyclesDivisor(const std::string& text, CSpctmSettings& s) {
    if (!parseNumber(text, s.cyclesDivisor) || !(s.cyclesDivisor > 0.0))
        return "--cycles-divisor needs a number above 0 (the cycles are f / C), not " +
               quoted(text);
    return "";
}

std::string parseCyclesList(const std::string& text, CSpctmSettings& s) {
    s.cyclesPerFreq.clear();
    for (std::size_t at = 0; at <= text.size() && s.cyclesPerFreq.size() < kMaxFreqs;) {
        const auto comma = std::min(text.find(',', at), text.size());
        double n = 0.0;
        if (!parseNumber(text.substr(at, comma - at), n) || !isCycles(n))
            return "--cycles-list needs numbers of cycles from " + cyclesRange() +
                   ", separated by commas, one for each frequency, not " + quoted(text);
        s.cyclesPerFreq.push_back(n);
        at = comma + 1;
    }
    return "";
}

std::string parseNormalisation(const std::string& text, CSpctmSettings& s) {
    if (text == "sinusoid")
        s.normalisation = CSpctmSettings::SinusoidPower;
    else if (text == "mne")
        s.normalisation = CSpctmSettings::WaveletL2;
    else
        return "--normalisation takes sinusoid or mne, not " + quoted(text);
    return "";
}

std::string parseStep(const std::string& text, SourceOptions& src) {
    src.stepEverySample = text == "sample";
    if (src.stepEverySample)
        return "";
    double ms = 0.0;
    if (!parseNumber(text, ms) || !(ms > 0.0 && ms <= kMaxStepMs))
        return "--step needs a time step in ms above 0 and at most " +
               std::to_string(static_cast<long long>(kMaxStepMs)) + ", or sample, not " +
               quoted(text);
    src.spectrum.timeStepMs = ms;
    return "";
}

std::string parseThreads(const std::string& text, CSpctmSettings& s) {
    unsigned long long v = 0;
    if (!parseWhole(text, kMaxThreads, v))
        return "--threads needs a whole number from 0 to " + std::to_string(kMaxThreads) +
               " (0: one per processor core), not " + quoted(text);
    s.threads = static_cast<int>(v);
    return "";
}

std::string parseEdges(const std::string& text, CEpochImport::Edges& edges) {
    if (text == "nearest")
        edges = CEpochImport::Edges::Nearest;
    else if (text == "outward")
        edges = CEpochImport::Edges::Outward;
    else
        return "--edges takes nearest or outward, not " + quoted(text);
    return "";
}

const char* const kSensorNames[] = {"all", "mag", "grad", "axial"};

std::string parseSensors(const std::string& value, DemoWindowOptions& w) {
    for (int kind = -1; kind < 3; ++kind)
        if (value == kSensorNames[kind + 1]) {
            w.sensorKind = kind;
            return {};
        }
    if (value == "eeg") {
        w.eeg = true;
        return {};
    }
    return "--sensors takes mag, grad, axial, all or eeg, not " + quoted(value);
}

// The first of `options` given, or empty.
std::string firstGiven(const std::set<std::string>& given, std::span<const char* const> options) {
    for (const char* option : options)
        if (given.count(option))
            return option;
    return "";
}

std::string checkData(const DemoOptions& o, const std::set<std::string>& given) {
    const SourceOptions& src = o.source;
    const bool recording = !src.recording.empty();
    const bool dataFile = recording || !src.tfr.empty();
    if (recording && !src.tfr.empty())
        return "give a RECORDING or --tfr, not both";
    if (const std::string option = firstGiven(given, kRecordingOptions);
        !recording && !option.empty())
        return option + " needs a RECORDING";
    if (const std::string option = firstGiven(given, kDataFileOptions);
        !dataFile && !option.empty())
        return option + " needs a RECORDING or --tfr";
    if (given.count("--condition") && src.tfr.empty())
        return "--condition needs --tfr";
    if (given.count("--seed") && dataFile)
        return "--seed is for the synthetic recording, not with a RECORDING or --tfr";
    if (recording && src.eventTexts.empty() && src.eventCodes.empty())
        return "RECORDING " + quoted(src.recording) + " needs --event TEXT or --event-code N";
    return "";
}

// One rule for the cycles, and cycles in range at every frequency (the given ones, or the
// default ones).
std::string checkSpectrum(const SourceOptions& src, const std::set<std::string>& given) {
    const std::span<const char* const> rules(kCyclesOptions);
    if (std::count_if(rules.begin(), rules.end(),
                      [&](const char* option) { return given.count(option) > 0; }) > 1)
        return "give one of --cycles, --cycles-divisor and --cycles-list, not several";
    CSpctmSettings s = src.spectrum;
    if (!src.freqsHz.empty())
        s.freqsHz = src.freqsHz;
    const std::string error = s.check(0.0);
    if (error.empty())
        return "";
    const std::string why = error.substr(error.find(": ") + 2);
    return firstGiven(given, rules) + ": " + why +
           (src.freqsHz.empty() ? " (the default frequencies: 4 to 62 Hz in steps of 2 Hz)" : "");
}

std::string checkCombination(const DemoOptions& o, const std::set<std::string>& given) {
    if (o.windows.eeg && o.windows.sensorKind != DemoWindowOptions::kDefaultSensors)
        return "--sensors " + std::string(kSensorNames[o.windows.sensorKind + 1]) +
               " chooses MEG sensors, but the EEG electrodes were asked for";
    if (o.windows.sweepTicks > 0 && o.windows.snapshotDir.empty())
        return "--sweep needs --snapshot DIR";
    if (!o.windows.movieFile.empty() && o.windows.sweepTicks < 1)
        return "--movie needs --sweep N";
    if (std::string error = checkData(o, given); !error.empty())
        return error;
    return checkSpectrum(o.source, given);
}

using Take = std::function<std::string(const std::string&)>;

// A value option, may be repeated: every value goes through take in order; the first refusal
// is kept.
void addValue(CLI::App& app, const std::string& name, Take take, std::string& error) {
    const auto each = [name, take = std::move(take), &error](const CLI::results_t& values) {
        for (const std::string& value : values) {
            // An option in place of the value means the value was left out.
            if (error.empty())
                error = value.rfind("--", 0) == 0 ? name + " needs a value" : take(value);
        }
        return true;
    };
    app.add_option(name, each)
        ->type_size(1)
        ->expected(1)
        ->multi_option_policy(CLI::MultiOptionPolicy::TakeAll);
}

void addWindowOptions(CLI::App& app, DemoOptions& o, std::string& error) {
    DemoWindowOptions& w = o.windows;
    const auto add = [&](const std::string& name, Take take) {
        addValue(app, name, std::move(take), error);
    };
    add("--snapshot",
        [&w](const std::string& v) { return parsePath("--snapshot", v, w.snapshotDir); });
    add("--movie", [&w](const std::string& v) { return parsePath("--movie", v, w.movieFile); });
    add("--class", [&o](const std::string& v) { return parseClass(v, o); });
    add("--sweep", [&w](const std::string& v) { return parseSweep(v, w.sweepTicks); });
    add("--sensors", [&w](const std::string& v) { return parseSensors(v, w); });
    add("--save-tfr",
        [&o](const std::string& v) { return parsePath("--save-tfr", v, o.source.saveTfr); });
    app.add_flag("--help,-h", o.help)->disable_flag_override();
    app.add_flag("--summary", o.summaryOnly)->disable_flag_override();
    app.add_flag("--eeg", w.eeg)->disable_flag_override();
}

void addDataOptions(CLI::App& app, SourceOptions& src, std::string& error) {
    const auto add = [&](const std::string& name, Take take) {
        addValue(app, name, std::move(take), error);
    };
    add("--tfr", [&src](const std::string& v) { return parsePath("--tfr", v, src.tfr); });
    add("--layout", [&src](const std::string& v) { return parseText("--layout", v, src.layouts); });
    add("--event",
        [&src](const std::string& v) { return parseText("--event", v, src.eventTexts); });
    add("--event-code", [&src](const std::string& v) { return parseEventCode(v, src.eventCodes); });
    add("--active", [&src](const std::string& v) {
        return parseSpan("--active", v, src.activeStartMs, src.activeEndMs);
    });
    add("--control", [&src](const std::string& v) {
        return parseSpan("--control", v, src.controlStartMs, src.controlEndMs);
    });
    add("--epoch", [&src](const std::string& v) {
        src.epochGiven = true;
        return parseSpan("--epoch", v, src.epochStartMs, src.epochEndMs);
    });
    add("--freqs", [&src](const std::string& v) { return parseFreqs(v, src.freqsHz); });
    add("--condition",
        [&src](const std::string& v) { return parseName("--condition", v, src.condition); });
    add("--seed", [&src](const std::string& v) { return parseSeed(v, src.seed); });
    add("--edges", [&src](const std::string& v) { return parseEdges(v, src.edges); });
    app.add_flag("--drop-unplaced", src.dropUnplaced)->disable_flag_override();
    app.add_option("RECORDING", [&src, &error](const CLI::results_t& values) {
        if (error.empty() && values.front().empty())
            error = "RECORDING needs a path, not an empty one";
        src.recording = values.front();
        return true;
    });
}

void addSpectrumOptions(CLI::App& app, SourceOptions& src, std::string& error) {
    CSpctmSettings& s = src.spectrum;
    const auto add = [&](const std::string& name, Take take) {
        addValue(app, name, std::move(take), error);
    };
    add("--cycles", [&s](const std::string& v) { return parseCycles(v, s); });
    add("--cycles-divisor", [&s](const std::string& v) { return parseCyclesDivisor(v, s); });
    add("--cycles-list", [&s](const std::string& v) { return parseCyclesList(v, s); });
    add("--normalisation", [&s](const std::string& v) { return parseNormalisation(v, s); });
    add("--step", [&src](const std::string& v) { return parseStep(v, src); });
    add("--threads", [&s](const std::string& v) { return parseThreads(v, s); });
    app.add_flag("--zero-mean", s.zeroMean)->disable_flag_override();
}

// What CLI11 could not place: an unknown option, or a second RECORDING.
std::string extraArgument(const std::vector<std::string>& extras) {
    if (extras.empty())
        return "";
    const std::string& arg = extras.front();
    if (!arg.empty() && arg[0] == '-')
        return "unknown option " + arg;
    return "unexpected argument " + quoted(arg) + " (one RECORDING at most)";
}

// CLI11's refusal in our words: a missing value names the option ("--seed: 1 required ..."),
// a value given to a flag names the flag ("summary was given a disallowed flag override").
std::string parseError(const CLI::ParseError& e) {
    const std::string what = e.what();
    if (!dynamic_cast<const CLI::ArgumentMismatch*>(&e))
        return what;
    if (const auto blank = what.find(" was given a disallowed flag override");
        blank != std::string::npos)
        return "--" + what.substr(0, blank) + " takes no value";
    return what.substr(0, what.find(':')) + " needs a value";
}

std::set<std::string> givenOptions(const CLI::App& app) {
    std::set<std::string> given;
    for (const CLI::Option* option : app.get_options())
        if (option->count() > 0)
            given.insert(option->get_name());
    return given;
}

// A refusal as one line of text, whatever the arguments it quotes hold: malformed UTF-8 as
// U+FFFD, control characters (C0 and C1) as escapes \xNN.
std::string printable(const std::string& text) {
    std::u16string out;
    for (char16_t c : CUtfText::toUtf16(text)) {
        if (c < 0x20 || (c >= 0x7F && c < 0xA0)) {
            char escape[8];
            std::snprintf(escape, sizeof escape, "\\x%02X", static_cast<unsigned>(c));
            out += CUtfText::toUtf16(escape);
        } else {
            out.push_back(c);
        }
    }
    return CUtfText::toUtf8(out);
}

// What the arguments ask for, or the first reason to refuse them.
std::string parseInto(DemoOptions& o, int argc, char** argv) {
    CLI::App app;
    // --help prints our own text; CLI11's would not say which values are refused.
    app.set_help_flag();
    app.allow_extras();
    std::string error;
    addWindowOptions(app, o, error);
    addDataOptions(app, o.source, error);
    addSpectrumOptions(app, o.source, error);
    try {
        app.parse(argc, argv);
    } catch (const CLI::ParseError& e) {
        return parseError(e);
    }
    std::string refusal = extraArgument(app.remaining());
    if (refusal.empty())
        refusal = error;
    if (refusal.empty())
        refusal = checkCombination(o, givenOptions(app));
    return refusal;
}

} // namespace

DemoOptions parseDemoOptions(int argc, char** argv, unsigned long long defaultSeed) {
    DemoOptions o;
    o.source.seed = defaultSeed;
    o.error = printable(parseInto(o, argc, argv));
    return o;
}
