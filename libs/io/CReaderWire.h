// Messages between the viewer and its BioSig reader process: numbers, texts and sample blocks
// packed in order into bytes, and sent over a socket as a length and the bytes. Both ends are
// the same build on the same machine, so values travel in the machine's own layout.
#pragma once

#include <cstddef>
#include <span>
#include <string>
#include <vector>

class CReaderWire {
public:
    void putInt(long long value);
    void putDouble(double value);
    void putText(const std::string& text);
    void putDoubles(std::span<const double> values);
    // A count, then the items.
    void putTexts(const std::vector<std::string>& texts);
    void putNumbers(const std::vector<double>& values);

    // Each get reads the next value in the order put; false (and nothing read) past the end.
    bool getInt(long long& value);
    bool getDouble(double& value);
    bool getText(std::string& text);
    // `count` values appended to `into`.
    bool getDoubles(std::size_t count, std::vector<double>& into);
    // What putTexts and putNumbers packed, replacing what `into` held.
    bool getTexts(std::vector<std::string>& into);
    bool getNumbers(std::vector<double>& into);

    bool empty() const { return m_bytes.empty(); }

    enum class Received { message, closed, timedOut };
    // Sends the message whole; false when the other end is gone (never a SIGPIPE).
    bool send(int socket) const;
    // Waits up to timeoutMs (forever when negative) for the next message and puts it here.
    Received receive(int socket, int timeoutMs);

private:
    bool take(void* into, std::size_t size);

    std::string m_bytes;
    std::size_t m_read = 0;
};
