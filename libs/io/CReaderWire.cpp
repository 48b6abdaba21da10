// Packing in the machine's layout, and whole messages over a stream socket.
#include "CReaderWire.h"

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstring>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

namespace {

// Above the largest message the reader sends: the spectra of one MNE condition, at most 2^32
// complex values (64 GiB); sample reads are bounded far below it.
constexpr unsigned long long kMostBytes = 1ULL << 37;

bool sendAll(int socket, const char* bytes, std::size_t size) {
    while (size > 0) {
        const ssize_t n = ::send(socket, bytes, size, MSG_NOSIGNAL);
        if (n < 0 && errno == EINTR) {
            continue;
        }
        if (n <= 0) {
            return false;
        }
        bytes += n;
        size -= static_cast<std::size_t>(n);
    }
    return true;
}

// Reads exactly `size` bytes before `deadline` (none when `forever`).
CReaderWire::Received receiveAll(int socket, char* into, std::size_t size, bool forever,
                                 std::chrono::steady_clock::time_point deadline) {
    using Received = CReaderWire::Received;
    while (size > 0) {
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
            deadline - std::chrono::steady_clock::now());
        pollfd p{socket, POLLIN, 0};
        const int ready =
            ::poll(&p, 1, forever ? -1 : static_cast<int>(std::max<long long>(0, left.count())));
        if (ready < 0 && errno == EINTR) {
            continue;
        }
        if (ready == 0) {
            return Received::timedOut;
        }
        const ssize_t n = ready < 0 ? -1 : ::recv(socket, into, size, 0);
        if (n < 0 && errno == EINTR) {
            continue;
        }
        if (n <= 0) {
            return Received::closed;
        }
        into += n;
        size -= static_cast<std::size_t>(n);
    }
    return Received::message;
}

} // namespace

void CReaderWire::putInt(long long value) {
    m_bytes.append(reinterpret_cast<const char*>(&value), sizeof value);
}

void CReaderWire::putDouble(double value) {
    m_bytes.append(reinterpret_cast<const char*>(&value), sizeof value);
}

void CReaderWire::putText(const std::string& text) {
    putInt(static_cast<long long>(text.size()));
    m_bytes += text;
}

void CReaderWire::putDoubles(std::span<const double> values) {
    m_bytes.append(reinterpret_cast<const char*>(values.data()), values.size_bytes());
}

void CReaderWire::putTexts(const std::vector<std::string>& texts) {
    putInt(static_cast<long long>(texts.size()));
    for (const std::string& t : texts) {
        putText(t);
    }
}

void CReaderWire::putNumbers(const std::vector<double>& values) {
    putInt(static_cast<long long>(values.size()));
    putDoubles(values);
}

bool CReaderWire::take(void* into, std::size_t size) {
    if (m_bytes.size() - m_read < size) {
        return false;
    }
    std::memcpy(into, m_bytes.data() + m_read, size);
    m_read += size;
    return true;
}

bool CReaderWire::getInt(long long& value) {
    return take(&value, sizeof value);
}

bool CReaderWire::getDouble(double& value) {
    return take(&value, sizeof value);
}

bool CReaderWire::getText(std::string& text) {
    long long size = 0;
    if (!getInt(size) || size < 0 ||
        static_cast<unsigned long long>(size) > m_bytes.size() - m_read) {
        return false;
    }
    text.assign(m_bytes, m_read, static_cast<std::size_t>(size));
    m_read += static_cast<std::size_t>(size);
    return true;
}

bool CReaderWire::getDoubles(std::size_t count, std::vector<double>& into) {
    if ((m_bytes.size() - m_read) / sizeof(double) < count) {
        return false;
    }
    const std::size_t at = into.size();
    into.resize(at + count);
    return take(into.data() + at, count * sizeof(double));
}

bool CReaderWire::getTexts(std::vector<std::string>& into) {
    long long n = 0;
    // Each text takes at least its length.
    if (!getInt(n) || n < 0 ||
        static_cast<unsigned long long>(n) > (m_bytes.size() - m_read) / sizeof(long long)) {
        return false;
    }
    into.assign(static_cast<std::size_t>(n), {});
    for (std::string& t : into) {
        if (!getText(t)) {
            return false;
        }
    }
    return true;
}

bool CReaderWire::getNumbers(std::vector<double>& into) {
    long long n = 0;
    into.clear();
    return getInt(n) && n >= 0 && getDoubles(static_cast<std::size_t>(n), into);
}

bool CReaderWire::send(int socket) const {
    const unsigned long long size = m_bytes.size();
    return sendAll(socket, reinterpret_cast<const char*>(&size), sizeof size) &&
           sendAll(socket, m_bytes.data(), m_bytes.size());
}

CReaderWire::Received CReaderWire::receive(int socket, int timeoutMs) {
    const bool forever = timeoutMs < 0;
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
    unsigned long long size = 0;
    Received got =
        receiveAll(socket, reinterpret_cast<char*>(&size), sizeof size, forever, deadline);
    if (got != Received::message) {
        return got;
    }
    if (size > kMostBytes) {
        return Received::closed;
    }
    m_bytes.assign(static_cast<std::size_t>(size), '\0');
    m_read = 0;
    return receiveAll(socket, m_bytes.data(), m_bytes.size(), forever, deadline);
}
