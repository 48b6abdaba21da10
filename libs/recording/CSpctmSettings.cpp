// Default spectrum settings.
#include "recording/CSpctmSettings.h"

std::vector<double> CSpctmSettings::defaultFreqsHz() {
    std::vector<double> freqs;
    for (int f = 4; f <= 62; f += 2) {
        freqs.push_back(f);
    }
    return freqs;
}
