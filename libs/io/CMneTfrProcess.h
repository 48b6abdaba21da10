// An MNE -tfr.h5 file read by CMneTfrFile in the reader process (velmora-reader), with the same
// interface: HDF5 stays out of the viewer's process, and a file it crashes or hangs on is
// refused as damaged.
#pragma once

#include "CSpectraSource.h"

#include <string>
#include <vector>

class CMneTfrProcess {
public:
    // Read the condition named `condition` (empty: the first) into `out`; false with error()
    // naming the file and the problem. conditions() lists what the file holds, when known.
    bool read(const std::string& path, const std::string& condition, CSpectraSource& out);
    const std::string& error() const { return m_error; }
    const std::vector<std::string>& conditions() const { return m_conditions; }

private:
    std::string m_error;
    std::vector<std::string> m_conditions;
};
