// velmora-demo: builds the default synthetic recording, prints what it holds and shows it in
// the library's windows, interactively or as PNG snapshots.
#include "DemoSummary.h"
#include "DemoWindows.h"
#include "synthetic/CSyntheticRecording.h"

#include <cstdlib>
#include <cstring>
#include <iostream>
#include <string>

namespace {

const char* const kUsage =
    "Usage: velmora-demo [options]\n"
    "\n"
    "Builds the default synthetic MEG/EEG recording (306 MEG sensors, 64 EEG electrodes,\n"
    "Morlet spectra of the Active, Control and Result classes), prints a summary of it and\n"
    "opens the single-channel spectrogram window, the spectral contour map of the MEG\n"
    "sensors and the display-parameters window of the Active class.\n"
    "\n"
    "Options:\n"
    "  --eeg           the contour map of the EEG electrodes instead of the MEG sensors.\n"
    "  --class C       spectral class of the windows: active (default), control or result.\n"
    "  --snapshot DIR  paint every opened window headlessly, write single-channel-ROLE.png,\n"
    "                  contour-ROLE.png (contour-eeg-ROLE.png with --eeg) and parameters.png\n"
    "                  into DIR (created if needed) and exit; ROLE is the class. Used\n"
    "                  automatically, with DIR \"snapshots\", when there is no display (neither\n"
    "                  DISPLAY nor WAYLAND_DISPLAY set, or QT_QPA_PLATFORM=offscreen).\n"
    "  --sweep N       with --snapshot: step the contour map's animation N ticks headlessly,\n"
    "                  write sweep-00000.png ... into DIR and print the frames per second.\n"
    "  --movie FILE    with --sweep: also encode the sweep into a movie (FILE.mp4: H.264 when\n"
    "                  available, else MPEG-4 Part 2).\n"
    "  --summary       print the summary of the recording and exit without opening windows.\n"
    "  --seed N        seed of the synthetic recording (default 20240917).\n"
    "  --help          show this text and exit.\n";

struct Options {
    DemoWindowOptions windows;
    bool summaryOnly = false;
    bool help = false;
    unsigned long long seed = CSyntheticRecording::Options{}.seed;
    std::string error;
};

bool takesValue(const std::string& arg) {
    return arg == "--snapshot" || arg == "--seed" || arg == "--class" || arg == "--sweep" ||
           arg == "--movie";
}

std::string parseClass(const std::string& name, int& spectralClass) {
    const char* const names[] = {"active", "control", "result"};
    for (int c = 0; c < 3; ++c)
        if (name == names[c]) {
            spectralClass = c;
            return "";
        }
    return "--class takes active, control or result, not " + name;
}

std::string parseCount(const char* text, int& count) {
    char* end = nullptr;
    const long v = std::strtol(text, &end, 10);
    if (!end || *end != '\0' || v < 1 || v > 1000000)
        return std::string("--sweep needs a number of ticks from 1 to 1000000, not ") + text;
    count = static_cast<int>(v);
    return "";
}

Options parse(int argc, char** argv) {
    Options o;
    for (int i = 1; i < argc && o.error.empty(); ++i) {
        const std::string arg = argv[i];
        const bool hasValue = i + 1 < argc;
        if (arg == "--help" || arg == "-h")
            o.help = true;
        else if (arg == "--summary")
            o.summaryOnly = true;
        else if (arg == "--snapshot" && hasValue)
            o.windows.snapshotDir = argv[++i];
        else if (arg == "--eeg")
            o.windows.eeg = true;
        else if (arg == "--class" && hasValue)
            o.error = parseClass(argv[++i], o.windows.spectralClass);
        else if (arg == "--sweep" && hasValue)
            o.error = parseCount(argv[++i], o.windows.sweepTicks);
        else if (arg == "--movie" && hasValue)
            o.windows.movieFile = argv[++i];
        else if (arg == "--seed" && hasValue) {
            char* end = nullptr;
            o.seed = std::strtoull(argv[++i], &end, 10);
            if (!end || *end != '\0')
                o.error = "--seed needs a whole number";
        } else
            o.error = takesValue(arg) ? arg + " needs a value" : "unknown option " + arg;
    }
    if (o.error.empty() && o.windows.sweepTicks > 0 && o.windows.snapshotDir.empty())
        o.error = "--sweep needs --snapshot DIR";
    if (o.error.empty() && !o.windows.movieFile.empty() && o.windows.sweepTicks < 1)
        o.error = "--movie needs --sweep N";
    return o;
}

#ifdef VELMORA_DEMO_WINDOWS
bool envSet(const char* name) {
    const char* v = std::getenv(name);
    return v && *v;
}

// Without a display the windows can only be painted offscreen.
bool headless() {
    const char* platform = std::getenv("QT_QPA_PLATFORM");
    if (platform && std::strcmp(platform, "offscreen") == 0)
        return true;
    return !envSet("DISPLAY") && !envSet("WAYLAND_DISPLAY");
}
#endif

} // namespace

int main(int argc, char** argv) {
    Options options = parse(argc, argv);
    if (!options.error.empty()) {
        std::cerr << "velmora-demo: " << options.error << "\n\n" << kUsage;
        return 2;
    }
    if (options.help) {
        std::cout << kUsage;
        return 0;
    }
    CSyntheticRecording recording;
    recording.options().seed = options.seed;
    auto data = recording.build();
    if (!data) {
        std::cerr << "velmora-demo: the default recording could not be built: "
                  << recording.getError() << "\n";
        return 1;
    }
    printRecordingSummary(*data, std::cout);
    if (options.summaryOnly)
        return 0;
#ifdef VELMORA_DEMO_WINDOWS
    DemoWindowOptions& windows = options.windows;
    if (windows.snapshotDir.empty() && headless()) {
        windows.snapshotDir = "snapshots";
        std::cout << "No display: painting the windows into " << windows.snapshotDir << "/\n";
    }
    if (!windows.snapshotDir.empty())
        setenv("QT_QPA_PLATFORM", "offscreen", 1);
    return runDemoWindows(*data, windows, std::cout);
#else
    std::cout << "(this build has no display library: only the summary is shown)\n";
    return 0;
#endif
}
