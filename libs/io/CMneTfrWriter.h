// Writes MNE-Python's time-frequency file in the layout AverageTFR.save produces through h5io,
// so that mne.time_frequency.read_tfrs opens it: under "mnepython" a list of (condition,
// attributes) pairs; the attributes hold data (channels x frequencies x times), times (s),
// freqs (Hz), nave, comment, method and an info whose chs give each channel's name, kind,
// coil, unit and position. Every node carries h5io's TITLE; texts are opaque UTF-8 bytes.
#pragma once

#include "CTfrClass.h"

#include <string>
#include <vector>

class CMneTfrWriter {
public:
    // Write the classes, one condition each (named after the class), to path; false with
    // error() naming the file.
    bool write(const std::string& path, const std::vector<CTfrClass>& classes);
    const std::string& error() const { return m_error; }

private:
    std::string m_error;
};
