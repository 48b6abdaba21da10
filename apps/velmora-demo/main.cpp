// velmora-demo: builds the default synthetic recording, prints what it holds and shows it in
// the library's windows, interactively or as PNG snapshots.
#include "DemoSummary.h"
#include "synthetic/CSyntheticRecording.h"

#ifdef VELMORA_DEMO_WINDOWS
#include "DemoWindows.h"
#endif

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
    "opens the single-channel spectrogram window of the Active class and the display-\n"
    "parameters window.\n"
    "\n"
    "Options:\n"
    "  --snapshot DIR  paint every opened window headlessly, write single-channel-active.png\n"
    "                  and parameters.png into DIR (created if needed) and exit. Used\n"
    "                  automatically, with DIR \"snapshots\", when there is no display (neither\n"
    "                  DISPLAY nor WAYLAND_DISPLAY set, or QT_QPA_PLATFORM=offscreen).\n"
    "  --summary       print the summary of the recording and exit without opening windows.\n"
    "  --seed N        seed of the synthetic recording (default 20240917).\n"
    "  --help          show this text and exit.\n";

struct Options {
    std::string snapshotDir;
    bool summaryOnly = false;
    bool help = false;
    unsigned long long seed = CSyntheticRecording::Options{}.seed;
    std::string error;
};

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
            o.snapshotDir = argv[++i];
        else if (arg == "--seed" && hasValue) {
            char* end = nullptr;
            o.seed = std::strtoull(argv[++i], &end, 10);
            if (!end || *end != '\0')
                o.error = "--seed needs a whole number";
        } else
            o.error = (arg == "--snapshot" || arg == "--seed") ? arg + " needs a value"
                                                               : "unknown option " + arg;
    }
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
    if (options.snapshotDir.empty() && headless()) {
        options.snapshotDir = "snapshots";
        std::cout << "No display: painting the windows into " << options.snapshotDir << "/\n";
    }
    if (!options.snapshotDir.empty())
        setenv("QT_QPA_PLATFORM", "offscreen", 1);
    return runDemoWindows(*data, options.snapshotDir, std::cout);
#else
    std::cout << "(this build has no display library: only the summary is shown)\n";
    return 0;
#endif
}
