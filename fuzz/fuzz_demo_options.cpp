// The viewer's command line (parseDemoOptions): the input's NUL-separated words are its
// arguments. A refusal is one line of printable text; what is accepted is in range.
#include "DemoOptions.h"
#include "FuzzPromise.h"

#include <cmath>
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace {

bool ordered(double first, double last) {
    return std::isfinite(first) && std::isfinite(last) && first <= last;
}

// A bound of the contour map: NaN (not given) or finite.
bool bound(double value) {
    return std::isnan(value) || std::isfinite(value);
}

void requireSound(const DemoOptions& o) {
    const SourceOptions& s = o.source;
    FuzzPromise::require(ordered(s.activeStartMs, s.activeEndMs) &&
                             ordered(s.controlStartMs, s.controlEndMs),
                         "a window accepted out of order");
    FuzzPromise::require(!s.epochGiven || ordered(s.epochStartMs, s.epochEndMs),
                         "an epoch accepted out of order");
    for (double f : s.freqsHz) {
        FuzzPromise::require(std::isfinite(f) && f > 0.0, "a frequency accepted not above 0");
    }
    FuzzPromise::require(o.windows.sweepTicks >= 0 && o.windows.spectralClass >= 0 &&
                             o.windows.spectralClass <= 2,
                         "a sweep or class accepted out of range");
    FuzzPromise::require(bound(o.windows.tminMs) && bound(o.windows.tmaxMs) &&
                             bound(o.windows.fminHz) && bound(o.windows.fmaxHz),
                         "a map bound accepted not finite");
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::vector<std::string> words{"velmora"};
    std::string word;
    for (std::size_t i = 0; i < size && words.size() < 64; ++i) {
        if (data[i] == 0) {
            words.push_back(word);
            word.clear();
        } else {
            word += static_cast<char>(data[i]);
        }
    }
    if (size > 0 && words.size() < 64) {
        words.push_back(word);
    }
    std::vector<char*> argv;
    for (std::string& w : words) {
        argv.push_back(w.data());
    }
    argv.push_back(nullptr);
    const DemoOptions o = parseDemoOptions(static_cast<int>(words.size()), argv.data(), 1234567ULL);
    if (!o.error.empty()) {
        FuzzPromise::requireMessage(o.error);
        return 0;
    }
    requireSound(o);
    return 0;
}
