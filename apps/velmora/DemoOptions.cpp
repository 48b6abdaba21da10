// The demo's command line, checked strictly: a value that is not exactly what an option takes
// is refused with the reason, never read as something else.
#include "DemoOptions.h"

#include <charconv>
#include <limits>

const char* const kDemoUsage =
    "Usage: velmora [options]\n"
    "\n"
    "Builds the default synthetic MEG/EEG recording (306 MEG sensors, 64 EEG electrodes,\n"
    "Morlet spectra of the Active, Control and Result classes), prints a summary of it and\n"
    "opens the single-channel spectrogram window, the spectral contour map of the MEG\n"
    "sensors and the display-parameters window of the Active class; it ends when the last\n"
    "window is closed.\n"
    "\n"
    "Options:\n"
    "  --eeg           the contour map of the EEG electrodes instead of the MEG sensors.\n"
    "  --class C       spectral class of the windows: active (default), control or result.\n"
    "  --snapshot DIR  paint every opened window headlessly, write single-channel-ROLE.png,\n"
    "                  contour-ROLE.png (contour-eeg-ROLE.png with --eeg) and parameters.png\n"
    "                  into DIR (created if needed) and exit; ROLE is the class. Used\n"
    "                  automatically, with DIR \"snapshots\", when there is no display (neither\n"
    "                  DISPLAY nor WAYLAND_DISPLAY set, QT_QPA_PLATFORM=offscreen, or a\n"
    "                  display that cannot be opened).\n"
    "  --sweep N       with --snapshot: step the contour map's animation N ticks headlessly,\n"
    "                  write sweep-00000.png ... into DIR and print the frames per second.\n"
    "  --movie FILE    with --sweep: also encode the sweep into a movie (FILE.mp4: H.264 when\n"
    "                  available, else MPEG-4 Part 2).\n"
    "  --summary       print the summary of the recording and exit without opening windows.\n"
    "  --seed N        seed of the synthetic recording, 0 to 18446744073709551615 (default\n"
    "                  20240917).\n"
    "  --help          show this text and exit.\n"
    "\n"
    "A refused command line exits with status 2.\n";

namespace {

constexpr long long kMaxSweepTicks = 1000000;

bool takesValue(const std::string& option) {
    return option == "--snapshot" || option == "--seed" || option == "--class" ||
           option == "--sweep" || option == "--movie";
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

std::string quoted(const std::string& text) {
    return "'" + text + "'";
}

std::string parseClass(const std::string& name, int& spectralClass) {
    const char* const names[] = {"active", "control", "result"};
    for (int c = 0; c < 3; ++c)
        if (name == names[c]) {
            spectralClass = c;
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

std::string parsePath(const std::string& option, const std::string& text, std::string& path) {
    if (text.empty())
        return option + " needs a path, not an empty one";
    path = text;
    return "";
}

// One option with its value; the error, empty when it was taken.
std::string parseValue(const std::string& option, const std::string& value, DemoOptions& o) {
    if (option == "--snapshot")
        return parsePath(option, value, o.windows.snapshotDir);
    if (option == "--movie")
        return parsePath(option, value, o.windows.movieFile);
    if (option == "--class")
        return parseClass(value, o.windows.spectralClass);
    if (option == "--sweep")
        return parseSweep(value, o.windows.sweepTicks);
    return parseSeed(value, o.seed);
}

std::string parseFlag(const std::string& arg, DemoOptions& o) {
    if (arg == "--help" || arg == "-h")
        o.help = true;
    else if (arg == "--summary")
        o.summaryOnly = true;
    else if (arg == "--eeg")
        o.windows.eeg = true;
    else if (!arg.empty() && arg[0] == '-')
        return "unknown option " + arg;
    else
        return "unexpected argument " + quoted(arg);
    return "";
}

std::string checkCombination(const DemoOptions& o) {
    if (o.windows.sweepTicks > 0 && o.windows.snapshotDir.empty())
        return "--sweep needs --snapshot DIR";
    if (!o.windows.movieFile.empty() && o.windows.sweepTicks < 1)
        return "--movie needs --sweep N";
    return "";
}

} // namespace

DemoOptions parseDemoOptions(int argc, char** argv, unsigned long long defaultSeed) {
    DemoOptions o;
    o.seed = defaultSeed;
    for (int i = 1; i < argc && o.error.empty(); ++i) {
        const std::string arg = argv[i];
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
        o.error = checkCombination(o);
    return o;
}
