// The reading side of a recording: BioSig opens the file and decodes its samples in the
// reader process (velmora-reader), which answers the viewer's requests in CReaderWire
// messages. BioSig crashes and hangs on some damaged files; there it takes only this process.
#pragma once

#include "CLibraryOutput.h"
#include "CReaderWire.h"

#include <string>
#include <vector>

struct HDR_STRUCT;

class CBiosigServer {
public:
    CBiosigServer() = default;
    ~CBiosigServer();
    CBiosigServer(const CBiosigServer&) = delete;
    CBiosigServer& operator=(const CBiosigServer&) = delete;

    // Opens the file and answers with its header: a refusal (0, the message), or 1, format,
    // rate, samples, samples a record, the channels and the events; then what BioSig printed.
    CReaderWire open(const std::string& path);
    // Answers a request of channels (indices into the header's channels), first sample and
    // count with 1 and the samples channel after channel, or 0; then what BioSig printed.
    CReaderWire read(CReaderWire& request);

private:
    // Switches on the BioSig channels of `channels` (indices into the header's channels).
    void switchOn(const std::vector<int>& channels);
    // Where channel c's samples lie in what decode returns: column(c) * rows further on.
    std::size_t column(int c) const;
    // Decodes the whole records holding samples [first, first + count) of the channels switched
    // on; the result points at sample `first` of the first column. Null when BioSig fails.
    const double* decode(long long first, long long count, std::size_t& rows);
    std::string header(const std::string& path, CReaderWire& reply);
    void putOutput(CReaderWire& reply) const;

    HDR_STRUCT* m_hdr = nullptr;
    std::vector<int> m_biosigIndex; // BioSig channel of each channel of the header
    std::vector<int> m_onChannels;  // channels switched on for the last read, in BioSig order
    long long m_samples = 0;
    CLibraryOutput m_output; // what BioSig prints, counted line by line
};
