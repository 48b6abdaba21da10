// The viewer's side of the BioSig reader process: starts velmora-biosig-reader on a file and
// exchanges CReaderWire messages with it. When BioSig crashes or hangs on a damaged file only
// the reader ends; the viewer learns which, and the process is gone.
//
// The reader is found through VELMORA_BIOSIG_READER when set, else next to the library that
// holds this code (the build tree), else in ../libexec/velmora from it (an installation).
#pragma once

#include "CReaderWire.h"

#include <string>
#include <sys/types.h>

class CBiosigProcess {
public:
    CBiosigProcess() = default;
    ~CBiosigProcess();
    CBiosigProcess(const CBiosigProcess&) = delete;
    CBiosigProcess& operator=(const CBiosigProcess&) = delete;

    // Starts the reader on `path`; empty on success, else why it could not be started.
    std::string start(const std::string& path);

    enum class Outcome { replied, crashed, hung };
    // Sends `request` (nothing when null) and waits up to timeoutMs for the reply. A reader
    // that ends instead has crashed; one still silent at the deadline is stopped as hung.
    Outcome exchange(const CReaderWire* request, CReaderWire& reply, int timeoutMs);

private:
    void stop();

    pid_t m_pid = -1;
    int m_socket = -1;
};
