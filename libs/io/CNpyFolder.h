// A folder of NumPy arrays: power.npy (channels x frequencies x times, float32, float64,
// complex64 or complex128, C or Fortran order), freqs.npy (Hz), times.npy (seconds) and
// ch_names.txt (one label a line).
#pragma once

#include "CSpectraSource.h"

#include <string>

class CNpyFolder {
public:
    // Read the folder into `out`; false with error() naming the file and the problem.
    bool read(const std::string& folder, CSpectraSource& out);
    const std::string& error() const { return m_error; }

private:
    bool fail(std::string message);
    // The non-empty lines of a text file (a trailing empty line allowed); `what` names a line.
    bool readLines(const std::string& path, const std::string& what,
                   std::vector<std::string>& lines);
    bool readUnits(const std::string& path, CSpectraSource& s);
    bool readAxis(const std::string& path, std::vector<double>& axis);

    std::string m_error;
};
