// The demo's command line, checked strictly: a value that is not exactly what an option takes
// is refused with the reason, never read as something else.
#include "DemoOptions.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <iterator>
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

const char* const kValueOptions[] = {"--snapshot",   "--seed",      "--class",   "--sweep",
                                     "--movie",      "--tfr",       "--layout",  "--event",
                                     "--event-code", "--active",    "--control", "--epoch",
                                     "--freqs",      "--condition", "--sensors"};
// Options that only mean something with a recording file, or with a data file of either kind.
const char* const kRecordingOptions[] = {"--event",   "--event-code", "--active",
                                         "--control", "--epoch",      "--freqs"};
const char* const kDataFileOptions[] = {"--layout", "--drop-unplaced"};

bool takesValue(const std::string& option) {
    return std::find(std::begin(kValueOptions), std::end(kValueOptions), option) !=
           std::end(kValueOptions);
}

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

std::string parseDataValue(const std::string& option, const std::string& value, DemoOptions& o) {
    SourceOptions& src = o.source;
    if (option == "--tfr")
        return parsePath(option, value, src.tfr);
    if (option == "--layout")
        return parseText(option, value, src.layouts);
    if (option == "--event")
        return parseText(option, value, src.eventTexts);
    if (option == "--event-code")
        return parseEventCode(value, src.eventCodes);
    if (option == "--active")
        return parseSpan(option, value, src.activeStartMs, src.activeEndMs);
    if (option == "--control")
        return parseSpan(option, value, src.controlStartMs, src.controlEndMs);
    if (option == "--epoch") {
        src.epochGiven = true;
        return parseSpan(option, value, src.epochStartMs, src.epochEndMs);
    }
    if (option == "--freqs")
        return parseFreqs(value, src.freqsHz);
    if (option == "--condition")
        return parseName(option, value, src.condition);
    return parseSeed(value, src.seed);
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

// One option with its value; the error, empty when it was taken.
std::string parseValue(const std::string& option, const std::string& value, DemoOptions& o) {
    if (option == "--snapshot")
        return parsePath(option, value, o.windows.snapshotDir);
    if (option == "--movie")
        return parsePath(option, value, o.windows.movieFile);
    if (option == "--class")
        return parseClass(value, o);
    if (option == "--sweep")
        return parseSweep(value, o.windows.sweepTicks);
    if (option == "--sensors")
        return parseSensors(value, o.windows);
    return parseDataValue(option, value, o);
}

std::string parseFlag(const std::string& arg, DemoOptions& o) {
    if (arg == "--help" || arg == "-h")
        o.help = true;
    else if (arg == "--summary")
        o.summaryOnly = true;
    else if (arg == "--eeg")
        o.windows.eeg = true;
    else if (arg == "--drop-unplaced")
        o.source.dropUnplaced = true;
    else if (!arg.empty() && arg[0] == '-')
        return "unknown option " + arg;
    else if (!o.source.recording.empty())
        return "unexpected argument " + quoted(arg) + " (one RECORDING at most)";
    else if (arg.empty())
        return "RECORDING needs a path, not an empty one";
    else
        o.source.recording = arg;
    return "";
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

std::string checkCombination(const DemoOptions& o, const std::set<std::string>& given) {
    if (o.windows.eeg && o.windows.sensorKind != DemoWindowOptions::kDefaultSensors)
        return "--sensors " + std::string(kSensorNames[o.windows.sensorKind + 1]) +
               " chooses MEG sensors, but the EEG electrodes were asked for";
    if (o.windows.sweepTicks > 0 && o.windows.snapshotDir.empty())
        return "--sweep needs --snapshot DIR";
    if (!o.windows.movieFile.empty() && o.windows.sweepTicks < 1)
        return "--movie needs --sweep N";
    return checkData(o, given);
}

} // namespace

DemoOptions parseDemoOptions(int argc, char** argv, unsigned long long defaultSeed) {
    DemoOptions o;
    o.source.seed = defaultSeed;
    std::set<std::string> given;
    for (int i = 1; i < argc && o.error.empty(); ++i) {
        const std::string arg = argv[i];
        given.insert(arg);
        if (!takesValue(arg)) {
            o.error = parseFlag(arg, o);
            continue;
        }
        // An option in place of the value means the value was left out.
        if (i + 1 >= argc || std::string(argv[i + 1]).rfind("--", 0) == 0) {
            o.error = arg + " needs a value";
            continue;
        }
        o.error = parseValue(arg, argv[++i], o);
    }
    if (o.error.empty())
        o.error = checkCombination(o, given);
    return o;
}
