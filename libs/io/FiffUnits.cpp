// The units MNE-Python's files and the data sets share.
#include "FiffUnits.h"

namespace fiff_units {

namespace {

struct Entry {
    int fiff;
    int multiplier;
    const char* text;
};

// The first entry of a code and power is the text it reads back as.
constexpr Entry kUnits[] = {
    {kVolt, 0, "V"},
    {kVolt, -3, "mV"},
    {kVolt, -6, "µV"},
    {kVolt, -6, "uV"},
    {kVolt, -9, "nV"},
    {kTesla, 0, "T"},
    {kTesla, -12, "pT"},
    {kTesla, -15, "fT"},
    {kTeslaPerMetre, 0, "T/m"},
    {kTeslaPerMetre, -13, "fT/cm"},
    {kTeslaPerMetre, -15, "fT/m"},
};

} // namespace

int multiplier(int fiffUnit, const std::string& unit) {
    for (const Entry& e : kUnits)
        if (e.fiff == fiffUnit && unit == e.text)
            return e.multiplier;
    return 0;
}

std::string name(int fiffUnit, int multiplier) {
    std::string plain;
    for (const Entry& e : kUnits) {
        if (e.fiff != fiffUnit)
            continue;
        if (e.multiplier == multiplier)
            return e.text;
        if (e.multiplier == 0)
            plain = e.text;
    }
    return plain;
}

} // namespace fiff_units
