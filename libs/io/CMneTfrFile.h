// MNE-Python's time-frequency file (*-tfr.h5, written by AverageTFR.save / write_tfrs through
// h5io). The layout read, under the root group "mnepython" (a list):
//   idx_<n>/idx_0                        condition name (text or integer)
//   idx_<n>/idx_1/key_data               channels x frequencies x times, float or complex
//                                        (h5py's compound of fields r and i)
//   idx_<n>/idx_1/key_freqs, key_times   frequencies (Hz), times (s)
//   idx_<n>/idx_1/key_info/key_chs/idx_<c>/key_ch_name, key_unit   per channel: label and FIFF
//                                        unit (107 V, 112 T, 201 T/m)
// Texts may be stored as opaque bytes (h5io), strings or byte arrays.
#pragma once

#include "CSpectraSource.h"

#include <string>
#include <vector>

class CMneTfrFile {
public:
    // Read the condition named `condition` (empty: the first) into `out`; false with error()
    // naming the file and the problem. conditions() lists what the file holds either way.
    bool read(const std::string& path, const std::string& condition, CSpectraSource& out);
    const std::string& error() const { return m_error; }
    const std::vector<std::string>& conditions() const { return m_conditions; }

private:
    std::string m_error;
    std::vector<std::string> m_conditions;
};
