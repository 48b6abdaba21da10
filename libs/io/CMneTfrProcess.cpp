// The reader process asked for one condition of an MNE file.
#include "CMneTfrProcess.h"

#include "CMneTfrServer.h"
#include "CReaderProcess.h"
#include "IoText.h"

namespace {

// How long HDF5 may take over a file before it counts as one it hangs on: a file of the
// largest spectra read from a slow disk.
constexpr int kMostReadMs = 300000;

} // namespace

bool CMneTfrProcess::read(const std::string& path, const std::string& condition,
                          CSpectraSource& out) {
    m_conditions.clear();
    const std::string name = io_text::quote(path);
    CReaderProcess reader;
    if (std::string error = reader.start({"mne-tfr", path, condition}); !error.empty()) {
        m_error = name + ": " + error;
        return false;
    }
    CReaderWire reply;
    switch (reader.exchange(nullptr, reply, kMostReadMs)) {
    case CReaderProcess::Outcome::crashed:
        m_error = name + ": the file is damaged: HDF5 crashes on reading it";
        return false;
    case CReaderProcess::Outcome::hung:
        m_error = name + ": the file is damaged: HDF5 does not finish reading it in " +
                  std::to_string(kMostReadMs / 1000) + " s";
        return false;
    case CReaderProcess::Outcome::replied:
        break;
    }
    bool ok = false;
    if (!CMneTfrServer::take(reply, ok, m_error, m_conditions, out)) {
        m_error = name + ": the file reader gave a damaged answer";
        return false;
    }
    return ok;
}
