// velmora: builds the default synthetic recording, prints what it holds and shows it in
// the library's windows, interactively or as PNG snapshots.
#include "DemoOptions.h"
#include "DemoSummary.h"
#include "synthetic/CSyntheticRecording.h"

#include <iostream>

int main(int argc, char** argv) {
    const DemoOptions options = parseDemoOptions(argc, argv, CSyntheticRecording::Options{}.seed);
    if (!options.error.empty()) {
        std::cerr << "velmora: " << options.error << "\n\n" << kDemoUsage;
        return 2;
    }
    if (options.help) {
        std::cout << kDemoUsage;
        return 0;
    }
    CSyntheticRecording recording;
    recording.options().seed = options.seed;
    auto data = recording.build();
    if (!data) {
        std::cerr << "velmora: the default recording could not be built: " << recording.getError()
                  << "\n";
        return 1;
    }
    printRecordingSummary(*data, std::cout);
    // The summary stands even if the windows fail.
    std::cout.flush();
    if (options.summaryOnly)
        return 0;
#ifdef VELMORA_DEMO_WINDOWS
    return runDemoWindows(*data, options.windows, std::cout);
#else
    std::cout << "(this build has no display library: only the summary is shown)\n";
    return 0;
#endif
}
