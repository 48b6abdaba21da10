// A file reader that dies where BioSig or HDF5 die on some damaged files: it gives a
// recording's header and then dies on the first read of samples; it dies at once on an MNE
// file. The tests see what the library makes of it.
#include "CBiosigServer.h"

#include <cstdlib>
#include <string>

int main(int argc, char** argv) {
    constexpr int kSocket = 3;
    if (argc == 3 && std::string(argv[1]) == "recording") {
        CBiosigServer server;
        server.open(argv[2]).send(kSocket);
        CReaderWire request;
        request.receive(kSocket, -1);
    }
    std::abort();
}
