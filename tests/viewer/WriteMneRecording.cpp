// Writes the EDF+ recording that tests/viewer/mne_compare.py opens with velmora and with
// MNE-Python: four 10-10 electrodes in uV at 256 Hz for 20 s, an alpha and a beta rhythm on
// a broadband background, "stim" every 3 s from 2 s (on whole samples).
#include "IoTestFiles.h"

#include <cmath>
#include <iostream>
#include <numbers>

namespace {

// Sines at incommensurate frequencies from 3 to 60 Hz: power at every frequency compared.
double background(double t, int channel) {
    double v = 0.0;
    for (int k = 0; k < 24; ++k) {
        const double hz = 3.0 + 2.37 * k + 0.13 * channel;
        v += 4.0 * std::sin(2.0 * std::numbers::pi * hz * t + 0.7 * k * (channel + 1));
    }
    return v;
}

double rhythm(double t, double hz, double amplitude) {
    return amplitude * std::sin(2.0 * std::numbers::pi * hz * t);
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::cerr << "usage: write_mne_recording FOLDER\n";
        return 2;
    }
    io_test::Recording rec;
    rec.rateHz = 256;
    rec.channels = {
        {"Fz", "uV", [](double t) { return background(t, 0) + rhythm(t, 6.0, 15.0); }},
        {"Cz", "uV", [](double t) { return background(t, 1) + rhythm(t, 21.0, 10.0); }},
        {"Pz", "uV", [](double t) { return background(t, 2); }},
        {"Oz", "uV", [](double t) { return background(t, 3) + rhythm(t, 10.0, 30.0); }}};
    for (double onset : {2.0, 5.0, 8.0, 11.0, 14.0, 17.0})
        rec.events.push_back({onset, 1, "stim"});
    std::cout << io_test::write(rec, io_test::Format::EdfPlus, argv[1], "rec") << "\n";
    return 0;
}
