// velmora-reader: the side of a file that the outside libraries read, in a process of its own
// (CReaderProcess starts it). It answers on descriptor 3.
//   velmora-reader recording PATH          BioSig: the header, then one reply to each read
//                                          request until the viewer closes its end
//   velmora-reader mne-tfr PATH CONDITION  HDF5: the spectra of one condition of an MNE file
#include "CBiosigServer.h"
#include "CMneTfrServer.h"

#include <string>

namespace {

constexpr int kSocket = 3;

int serveRecording(const char* path) {
    CBiosigServer server;
    if (!server.open(path).send(kSocket)) {
        return 1;
    }
    for (CReaderWire request; request.receive(kSocket, -1) == CReaderWire::Received::message;) {
        if (!server.read(request).send(kSocket)) {
            return 1;
        }
    }
    return 0;
}

} // namespace

int main(int argc, char** argv) {
    const std::string mode = argc > 1 ? argv[1] : "";
    if (mode == "recording" && argc == 3) {
        return serveRecording(argv[2]);
    }
    if (mode == "mne-tfr" && argc == 4) {
        return CMneTfrServer::read(argv[2], argv[3]).send(kSocket) ? 0 : 1;
    }
    return 2;
}
