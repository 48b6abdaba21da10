// A recording opened through BioSig: EDF/EDF+, BDF/BDF+, GDF, BrainVision and every other
// format BioSig reads. Opening reads the header and the event table only; samples are read on
// request, block by block, so that a long recording is never loaded whole. BioSig runs in a
// process of its own (velmora-reader): a file it crashes or hangs on is refused as
// damaged, and the program that opened it goes on.
#pragma once

#include "io/CIoResult.h"

#include <functional>
#include <memory>
#include <span>
#include <string>
#include <vector>

class CReaderWire;

class CRecordingFile {
public:
    struct Channel {
        std::string label;
        // Physical unit as an EDF or BDF header writes it ("uV", "fT/cm"), else as BioSig
        // names it ("uV", "fWb m-2"); "" unknown.
        std::string unit;
        double samplingRateHz = 0.0;
        bool atRecordingRate = true; // false: sampled at another rate, not readable as epochs
        // Why the samples cannot be read in physical units ("has an empty physical range:
        // ..."), to follow "channel 'X' " in a message; empty when they can.
        std::string fault;
    };
    // One entry of the event table. `code` is the event type BioSig reports; for annotations
    // (EDF+/BDF+ texts, BrainVision markers) it numbers the distinct texts, and `text` holds the
    // annotation itself. `text` is empty where the file gives none.
    struct Event {
        long long sample = 0; // first sample of the event, at the recording's rate
        double onsetSec = 0.0;
        double durationSec = 0.0;
        int code = 0;
        std::string text;
    };

    CRecordingFile();
    ~CRecordingFile();
    CRecordingFile(CRecordingFile&&) noexcept;
    CRecordingFile& operator=(CRecordingFile&&) noexcept;

    // Open a file (closing the one open before). On failure nothing is open and the message
    // names the file and what is wrong.
    CIoResult open(const std::string& path);
    void close();
    bool isOpen() const;

    const std::string& path() const { return m_path; }
    const std::string& formatName() const { return m_format; }
    double samplingRateHz() const { return m_rateHz; }
    long long sampleCount() const { return m_samples; }
    const std::vector<Channel>& channels() const { return m_channels; }
    const std::vector<Event>& events() const { return m_events; }
    // BioSig prints warnings of its own; they are kept off the terminal. Its most frequent
    // line since the file was opened, escaped and quoted, with how often it came ("'...' (20
    // times)"); empty when it printed nothing.
    std::string biosigWarnings() const;

    // Samples [first, first + count) of the given channels (indices into channels(), each at the
    // recording's rate) in physical units, channel after channel: out[i * count + s].
    CIoResult readSamples(std::span<const int> channels, long long first, long long count,
                          std::vector<double>& out);
    // Receives the samples of range r on channel i (the index into the channels read).
    using RangeSink =
        std::function<void(std::size_t channel, std::size_t range, std::span<const double>)>;
    // Equal-length ranges [firsts[r], firsts[r] + count) of the given channels, `firsts`
    // ascending, handed to `take` in physical units: each channel's ranges in order. Ranges
    // that share a data record are read together, so that each record is decoded once.
    // `done(n)`, when given, is called after each read with the number of ranges read so far;
    // returning false stops the reading, which then fails with "cancelled".
    CIoResult readRanges(std::span<const int> channels, std::span<const long long> firsts,
                         long long count, const RangeSink& take,
                         const std::function<bool(long long)>& done = {});

private:
    struct Handle;

    // The reader's answer to the opening: a refusal, or the header and the events.
    CIoResult takeHeader(const std::string& path, CReaderWire& reply,
                         std::unique_ptr<Handle> handle);
    CIoResult checkRead(std::span<const int> channels, long long first, long long count) const;
    CIoResult unreadable(long long first, long long count) const;

    std::unique_ptr<Handle> m_handle;
    std::string m_path;
    std::string m_format;
    double m_rateHz = 0.0;
    long long m_samples = 0;
    std::vector<Channel> m_channels;
    std::vector<Event> m_events;
};
