// velmora-biosig-reader PATH: BioSig's side of a recording the viewer opens (CBiosigProcess
// starts it). It answers on descriptor 3: first the header, then one reply to each read
// request, until the viewer closes its end.
#include "CBiosigServer.h"

namespace {

constexpr int kSocket = 3;

} // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        return 2;
    }
    CBiosigServer server;
    if (!server.open(argv[1]).send(kSocket)) {
        return 1;
    }
    for (CReaderWire request; request.receive(kSocket, -1) == CReaderWire::Received::message;) {
        if (!server.read(request).send(kSocket)) {
            return 1;
        }
    }
    return 0;
}
