// One spectral class of a trial as the writers save it: the channels with their kinds and
// positions, the axes and the power, channel by channel, frequency by frequency, time fastest.
#pragma once

#include <array>
#include <string>
#include <vector>

struct CTfrClass {
    enum class Kind { Eeg, Magnetometer, PlanarGradiometer, AxialGradiometer, Other };
    struct Channel {
        std::string label; // UTF-8
        Kind kind = Kind::Other;
        std::array<double, 3> position{}; // metres
        std::array<double, 3> normal{};   // MEG: the first coil's orientation
        std::string unit;                 // of the signal (UTF-8); power is in its square
    };

    std::string name; // "active", "control", "result"
    std::vector<Channel> channels;
    std::vector<double> freqsHz;
    std::vector<double> timesSec;
    long long epochs = 1; // averaged into the spectra
    std::vector<double> power;
};
