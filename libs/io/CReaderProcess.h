// The viewer's side of the reader process: starts velmora-reader on a file and exchanges
// CReaderWire messages with it. The reader runs the libraries that read files from outside
// (BioSig for recordings, HDF5 for MNE -tfr.h5 files); when one crashes or hangs on a damaged
// file only the reader ends, the viewer learns which, and the process is gone.
//
// The reader is found through VELMORA_READER when set, else next to the library that
// holds this code (the build tree), else in ../libexec/velmora from it (an installation).
#pragma once

#include "CReaderWire.h"

#include <string>
#include <sys/types.h>
#include <vector>

class CReaderProcess {
public:
    CReaderProcess() = default;
    ~CReaderProcess();
    CReaderProcess(const CReaderProcess&) = delete;
    CReaderProcess& operator=(const CReaderProcess&) = delete;

    // Starts the reader with these arguments (what to read: "recording PATH", "mne-tfr PATH
    // CONDITION"); empty on success, else why it could not be started.
    std::string start(const std::vector<std::string>& arguments);

    enum class Outcome { replied, crashed, hung };
    // Sends `request` (nothing when null) and waits up to timeoutMs for the reply. A reader
    // that ends instead has crashed; one still silent at the deadline is stopped as hung.
    Outcome exchange(const CReaderWire* request, CReaderWire& reply, int timeoutMs);

private:
    void stop();

    pid_t m_pid = -1;
    int m_socket = -1;
};
