// A BioSig reader that gives a file's header and then dies on the first read of samples, as
// BioSig does on some damaged files: the tests see what the library makes of it.
#include "CBiosigServer.h"

#include <cstdlib>

int main(int argc, char** argv) {
    constexpr int kSocket = 3;
    if (argc != 2) {
        return 2;
    }
    CBiosigServer server;
    server.open(argv[1]).send(kSocket);
    CReaderWire request;
    request.receive(kSocket, -1);
    std::abort();
}
