// MNE -tfr.h5 files read through HDF5 in the reader process (velmora-reader), and the answer
// taken back in the viewer (CMneTfrProcess). HDF5 1.10 trusts much of what a file declares and
// dies on some damaged files; there it takes only the reader.
#pragma once

#include "CReaderWire.h"
#include "CSpectraSource.h"

#include <string>
#include <vector>

class CMneTfrServer {
public:
    // Reads the condition (empty: the first) with CMneTfrFile and answers: 1 or 0, the error,
    // the conditions the file holds, and on success the spectra.
    static CReaderWire read(const std::string& path, const std::string& condition);
    // The answer taken apart; false when it is damaged.
    static bool take(CReaderWire& reply, bool& ok, std::string& error,
                     std::vector<std::string>& conditions, CSpectraSource& out);
};
