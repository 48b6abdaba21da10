// Recording files through BioSig in the reader process: header, event table, and samples read
// block by block.
#include "io/CRecordingFile.h"

#include "CLibraryOutput.h"
#include "CReaderProcess.h"
#include "IoText.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <set>
#include <system_error>
#include <unistd.h>

struct CRecordingFile::Handle {
    CReaderProcess reader;
    long long samplesPerRecord = 1;
    std::vector<CLibraryOutput::Line> printed; // what BioSig printed so far, line by line

    // Takes what BioSig printed from the end of a reply; false when the reply is damaged.
    bool takePrinted(CReaderWire& reply);
    // Samples [first, first + count) of `channels`, channel after channel, into `out`; empty
    // on success, else what went wrong: "" and false when BioSig could not decode them.
    std::string read(const std::string& path, std::span<const int> channels, long long first,
                     long long count, std::vector<double>& out, bool& decoded);
};

namespace {

// An ASCII number field of an EDF/BDF header; -1 when it holds none.
long long headerNumber(const std::string& header, std::size_t at, std::size_t width) {
    if (header.size() < at + width) {
        return -1;
    }
    const std::string field = io_text::trim(header.substr(at, width));
    if (field.empty() || field.find_first_not_of("0123456789") != std::string::npos ||
        field.size() > 15) {
        return -1;
    }
    return std::stoll(field);
}

std::string headerField(const std::string& header, std::size_t at, std::size_t width) {
    return io_text::shown(io_text::trim(header.substr(at, width)));
}

// Whether every annotation signal of the data record starting at `record` ends in a zero
// byte, as EDF+ and BDF+ fill their annotations; BioSig 2.5 reads past the end of the
// annotations it collects when the last one is not closed so. `bytes` holds the size of each
// signal in a record.
bool annotationsClosed(std::ifstream& in, const std::string& signals,
                       const std::vector<long long>& bytes, long long record) {
    long long at = record;
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        at += bytes[i];
        const std::string label = io_text::trim(signals.substr(16 * i, 16));
        if (label == "EDF Annotations" || label == "BDF Annotations") {
            char last = 0;
            in.seekg(at - 1);
            if (in.get(last) && last != 0) {
                return false;
            }
            in.clear();
        }
    }
    return true;
}

// The fixed 256-byte header of an EDF or BDF file into header; false when the file is
// neither or shorter.
bool readEdfHeader(std::ifstream& in, std::string& header, bool& bdf) {
    header.assign(256, '\0');
    in.read(header.data(), 256);
    const bool edf = header.compare(0, 8, "0       ") == 0;
    bdf = header.compare(0, 8,
                         "\xFF"
                         "BIOSEMI") == 0;
    return in && (edf || bdf);
}

// The fixed header of an EDF or BDF file, checked where BioSig 2.5 goes wrong on damage: it
// crashes on a header size that is not a number, misreads the signals when size and signal
// count disagree, reads a record count "1e9" as 1, prints and divides by a signal of 0 samples
// a record, and reads past its buffers when the annotations of a truncated EDF+/BDF+ file are
// cut off or not closed. Empty when the file is no EDF or BDF, or nothing is wrong.
std::string checkEdfHeader(const std::string& path, std::uintmax_t size) {
    std::ifstream in(path, std::ios::binary);
    std::string header;
    bool bdf = false;
    if (!readEdfHeader(in, header, bdf)) {
        return {};
    }
    const std::string damaged =
        io_text::quote(path) + ": the " + (bdf ? "BDF" : "EDF") + " header is damaged: ";
    const long long headerBytes = headerNumber(header, 184, 8);
    const long long records = headerNumber(header, 236, 8);
    const long long ns = headerNumber(header, 252, 4);
    if (ns == 0) {
        return damaged + "it declares no signal (its signal count is 0)";
    }
    if (ns < 0 || headerBytes != 256 * (ns + 1)) {
        return damaged + "its size " + headerField(header, 184, 8) + " and signal count " +
               headerField(header, 252, 4) +
               " disagree (the size must be 256 bytes for each signal and 256 more)";
    }
    // -1 stands for a count not yet written (a recording still running).
    if (records < 0 && io_text::trim(header.substr(236, 8)) != "-1") {
        return damaged + "its data record count " + headerField(header, 236, 8) +
               " is not a whole number";
    }
    std::string signals(static_cast<std::size_t>(256 * ns), '\0');
    if (!in.read(signals.data(), static_cast<std::streamsize>(signals.size()))) {
        return {};
    }
    // Fields are grouped by kind; before the sample counts come label (16), transducer (80),
    // unit and four limits (8 each) and prefilter (80) of every signal: 216 bytes a signal.
    long long recordBytes = 0;
    std::vector<long long> bytes;
    for (long long i = 0; i < ns; ++i) {
        const auto at = static_cast<std::size_t>(216 * ns + 8 * i);
        const long long samples = headerNumber(signals, at, 8);
        if (samples < 1) {
            return damaged + "signal " +
                   headerField(signals, static_cast<std::size_t>(16 * i), 16) + " has " +
                   headerField(signals, at, 8) +
                   " samples a data record (it needs a whole number above 0)";
        }
        bytes.push_back(samples * (bdf ? 3 : 2));
        recordBytes += bytes.back();
    }
    const auto data = static_cast<long long>(size) - headerBytes;
    const long long held = std::max(0LL, data) / recordBytes;
    if (records >= 1 && held < records) {
        return io_text::quote(path) + ": the file is truncated: it holds " + std::to_string(held) +
               " of its " + std::to_string(records) + " data records";
    }
    const long long last = (records >= 1 ? records : held) - 1;
    if (last >= 0 && !annotationsClosed(in, signals, bytes, headerBytes + last * recordBytes)) {
        return io_text::quote(path) + ": the " + (bdf ? "BDF+" : "EDF+") +
               " annotations are damaged: those of the last data record do not end in a zero "
               "byte";
    }
    return {};
}

// A BrainVision header checked where BioSig 2.5 goes wrong on damage: it writes into freed
// memory when a second [Common Infos] section names the data file again, and loses memory on a
// key given twice. Empty when the file is no BrainVision header or nothing is wrong.
std::string checkBrainVisionHeader(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::string line;
    if (!std::getline(in, line) || (line.find("Brain Vision") == std::string::npos &&
                                    line.find("BrainVision") == std::string::npos)) {
        return {};
    }
    const std::string damaged = io_text::quote(path) + ": the BrainVision header is damaged: ";
    std::set<std::string> sections, keys;
    std::string section, dataFile;
    while (std::getline(in, line)) {
        line = io_text::trim(line);
        if (line.size() > 1 && line.front() == '[' && line.back() == ']') {
            section = io_text::lower(line);
            if (!sections.insert(section).second) {
                return damaged + "the section " + io_text::shown(line) + " comes twice";
            }
        } else if (section == "[common infos]" && line.find('=') != std::string::npos) {
            const std::string key = io_text::trim(line.substr(0, line.find('=')));
            if (!keys.insert(io_text::lower(key)).second) {
                return damaged + io_text::shown(key) + " comes twice in [Common Infos]";
            }
            dataFile = io_text::lower(key) == "datafile"
                           ? io_text::trim(line.substr(line.find('=') + 1))
                           : dataFile;
        }
    }
    // BioSig reads samples from a data file it could not open through a null pointer.
    const auto data = std::filesystem::path(path).parent_path() / dataFile;
    std::error_code ec;
    if (!dataFile.empty() && !std::filesystem::is_regular_file(data, ec)) {
        return io_text::quote(path) + ": its data file " + io_text::shown(dataFile) + " is missing";
    }
    return {};
}

// The physical dimension of every signal of an EDF or BDF header as the file writes it:
// BioSig knows units only by its table of codes and reads one it lacks ("fT/cm") as none.
// Empty when the file is no EDF or BDF or its header is cut short.
std::vector<std::string> edfUnits(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::string header;
    bool bdf = false;
    const long long ns = readEdfHeader(in, header, bdf) ? headerNumber(header, 252, 4) : 0;
    if (ns < 1) {
        return {};
    }
    // Label (16 bytes) and transducer (80) of every signal come before the units (8).
    std::string units(static_cast<std::size_t>(8 * ns), '\0');
    in.seekg(256 + 96 * ns);
    if (!in.read(units.data(), static_cast<std::streamsize>(units.size()))) {
        return {};
    }
    std::vector<std::string> out;
    for (long long i = 0; i < ns; ++i) {
        out.push_back(io_text::trim(units.substr(static_cast<std::size_t>(8 * i), 8)));
    }
    return out;
}

// What the system says when the file cannot be opened for reading ("permission denied").
std::string openError(const std::string& path) {
    const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd >= 0) {
        ::close(fd);
        return {};
    }
    return io_text::quote(path) + ": " + io_text::lower(std::strerror(errno));
}

// Refusals before BioSig sees the file: it would block forever on a FIFO and report a missing
// file, a loop of links and a file it may not read all as "Cannot open file.".
std::string checkPath(const std::string& path) {
    if (path.empty()) {
        return "no recording file given";
    }
    const std::string name = io_text::quote(path);
    std::error_code ec;
    const auto status = std::filesystem::status(path, ec);
    if (ec.value() == ELOOP) {
        return name + ": a loop of symbolic links, not a recording file";
    }
    if (ec && ec.value() != ENOENT && ec.value() != ENOTDIR) {
        return name + ": " + io_text::lower(ec.message());
    }
    if (!std::filesystem::exists(status)) {
        return name + ": no such file";
    }
    if (std::filesystem::is_directory(status)) {
        return name + ": is a folder, not a recording file";
    }
    if (!std::filesystem::is_regular_file(status)) {
        const char* kind = std::filesystem::is_fifo(status)     ? "a pipe (FIFO)"
                           : std::filesystem::is_socket(status) ? "a socket"
                                                                : "a device";
        return name + ": is " + kind + ", not a recording file";
    }
    if (std::string error = openError(path); !error.empty()) {
        return error;
    }
    const auto size = std::filesystem::file_size(path, ec);
    std::string damage = ec ? std::string() : checkEdfHeader(path, size);
    return damage.empty() ? checkBrainVisionHeader(path) : damage;
}

// How long BioSig may take over a header, and over one read of samples, before the file
// counts as one it hangs on.
constexpr int kMostHeaderMs = 20000;
constexpr int kMostReadMs = 30000;

std::string damaged(const std::string& path) {
    return io_text::quote(path) + ": the file is damaged: BioSig ";
}

std::string inSeconds(int ms) {
    return " in " + std::to_string(ms / 1000) + " s";
}

// What the reader said of a channel, in reply order.
bool takeChannel(CReaderWire& reply, CRecordingFile::Channel& ch, long long& biosigIndex) {
    long long atRate = 0;
    if (!reply.getInt(biosigIndex) || !reply.getText(ch.label) || !reply.getText(ch.unit) ||
        !reply.getDouble(ch.samplingRateHz) || !reply.getInt(atRate) || !reply.getText(ch.fault)) {
        return false;
    }
    ch.atRecordingRate = atRate == 1;
    return true;
}

bool takeEvent(CReaderWire& reply, CRecordingFile::Event& e) {
    long long code = 0;
    if (!reply.getInt(e.sample) || !reply.getDouble(e.onsetSec) ||
        !reply.getDouble(e.durationSec) || !reply.getInt(code) || !reply.getText(e.text)) {
        return false;
    }
    e.code = static_cast<int>(code);
    return true;
}

} // namespace

bool CRecordingFile::Handle::takePrinted(CReaderWire& reply) {
    long long n = 0;
    if (!reply.getInt(n) || n < 0 || n > static_cast<long long>(CLibraryOutput::kMostLines)) {
        return false;
    }
    printed.assign(static_cast<std::size_t>(n), {});
    for (CLibraryOutput::Line& line : printed) {
        if (!reply.getText(line.text) || !reply.getInt(line.count)) {
            return false;
        }
    }
    return true;
}

std::string CRecordingFile::Handle::read(const std::string& path, std::span<const int> channels,
                                         long long first, long long count, std::vector<double>& out,
                                         bool& decoded) {
    CReaderWire request;
    request.putInt(static_cast<long long>(channels.size()));
    for (int c : channels) {
        request.putInt(c);
    }
    request.putInt(first);
    request.putInt(count);
    CReaderWire reply;
    const CReaderProcess::Outcome outcome = reader.exchange(&request, reply, kMostReadMs);
    const std::string samples =
        "samples " + std::to_string(first) + " to " + std::to_string(first + count - 1);
    if (outcome != CReaderProcess::Outcome::replied) {
        decoded = false;
        return damaged(path) + (outcome == CReaderProcess::Outcome::hung
                                    ? "does not finish reading " + samples + inSeconds(kMostReadMs)
                                    : "crashes on reading " + samples);
    }
    long long ok = 0;
    out.clear();
    decoded = reply.getInt(ok) && ok == 1 &&
              reply.getDoubles(channels.size() * static_cast<std::size_t>(count), out);
    takePrinted(reply);
    return {};
}

CRecordingFile::CRecordingFile() = default;
CRecordingFile::~CRecordingFile() = default;
CRecordingFile::CRecordingFile(CRecordingFile&&) noexcept = default;
CRecordingFile& CRecordingFile::operator=(CRecordingFile&&) noexcept = default;

bool CRecordingFile::isOpen() const {
    return m_handle != nullptr;
}

void CRecordingFile::close() {
    m_handle.reset();
    m_path.clear();
    m_format.clear();
    m_rateHz = 0.0;
    m_samples = 0;
    m_channels.clear();
    m_events.clear();
}

CIoResult CRecordingFile::open(const std::string& path) {
    close();
    if (std::string error = checkPath(path); !error.empty()) {
        return CIoResult::failure(error);
    }
    const std::string name = io_text::quote(path);
    auto handle = std::make_unique<Handle>();
    if (std::string error = handle->reader.start({"recording", path}); !error.empty()) {
        return CIoResult::failure(name + ": " + error);
    }
    CReaderWire reply;
    const CReaderProcess::Outcome outcome = handle->reader.exchange(nullptr, reply, kMostHeaderMs);
    if (outcome != CReaderProcess::Outcome::replied) {
        return CIoResult::failure(
            damaged(path) + (outcome == CReaderProcess::Outcome::hung
                                 ? "does not finish reading its header" + inSeconds(kMostHeaderMs)
                                 : "crashes on reading its header"));
    }
    return takeHeader(path, reply, std::move(handle));
}

CIoResult CRecordingFile::takeHeader(const std::string& path, CReaderWire& reply,
                                     std::unique_ptr<Handle> handle) {
    const CIoResult garbled =
        CIoResult::failure(io_text::quote(path) + ": the file reader gave a damaged answer");
    long long ok = 0, samples = 0, ns = 0, count = 0;
    std::string refusal;
    if (!reply.getInt(ok) || (ok != 1 && !reply.getText(refusal))) {
        return garbled;
    }
    if (ok != 1) {
        return CIoResult::failure(refusal.empty() ? garbled.message : refusal);
    }
    struct {
        std::string format;
        double rateHz = 0.0;
        std::vector<Channel> channels;
        std::vector<Event> events;
    } opened;
    if (!reply.getText(opened.format) || !reply.getDouble(opened.rateHz) ||
        !reply.getInt(samples) || !reply.getInt(handle->samplesPerRecord) || !reply.getInt(ns) ||
        !reply.getInt(count) || count < 1 || handle->samplesPerRecord < 1) {
        return garbled;
    }
    std::vector<std::string> fileUnits = edfUnits(path);
    fileUnits.resize(fileUnits.size() == static_cast<std::size_t>(ns) ? fileUnits.size() : 0);
    for (long long i = 0; i < count; ++i) {
        Channel ch;
        long long k = 0;
        if (!takeChannel(reply, ch, k) || k < 0 || k >= ns) {
            return garbled;
        }
        if (!fileUnits.empty() && !fileUnits[k].empty()) {
            ch.unit = fileUnits[k];
        }
        opened.channels.push_back(std::move(ch));
    }
    if (!reply.getInt(count) || count < 0) {
        return garbled;
    }
    for (long long i = 0; i < count; ++i) {
        Event e;
        if (!takeEvent(reply, e)) {
            return garbled;
        }
        opened.events.push_back(std::move(e));
    }
    if (!handle->takePrinted(reply)) {
        return garbled;
    }
    m_path = path;
    m_format = std::move(opened.format);
    m_rateHz = opened.rateHz;
    m_samples = samples;
    m_channels = std::move(opened.channels);
    m_events = std::move(opened.events);
    m_handle = std::move(handle);
    return {};
}

std::string CRecordingFile::biosigWarnings() const {
    return m_handle ? CLibraryOutput::summary(m_handle->printed) : std::string();
}

CIoResult CRecordingFile::checkRead(std::span<const int> channels, long long first,
                                    long long count) const {
    const std::string name = io_text::quote(m_path);
    if (!m_handle) {
        return CIoResult::failure("no recording is open");
    }
    if (first < 0 || count < 1 || first > m_samples - count) {
        return CIoResult::failure(name + ": samples " + std::to_string(first) + " to " +
                                  std::to_string(first + count - 1) + " lie outside the " +
                                  std::to_string(m_samples) + " samples of the recording");
    }
    for (int c : channels) {
        if (c < 0 || c >= static_cast<int>(m_channels.size()) || !m_channels[c].atRecordingRate) {
            return CIoResult::failure(name + ": channel " + std::to_string(c) +
                                      " cannot be read at the recording's sampling rate");
        }
        if (!m_channels[c].fault.empty()) {
            return CIoResult::failure(name + ": channel " + io_text::shown(m_channels[c].label) +
                                      " " + m_channels[c].fault);
        }
    }
    return {};
}

CIoResult CRecordingFile::readSamples(std::span<const int> channels, long long first,
                                      long long count, std::vector<double>& out) {
    if (CIoResult r = checkRead(channels, first, count); !r) {
        return r;
    }
    std::vector<double> samples;
    bool decoded = false;
    if (std::string error = m_handle->read(m_path, channels, first, count, samples, decoded);
        !error.empty()) {
        close(); // the reader is gone
        return CIoResult::failure(error);
    }
    if (!decoded) {
        return unreadable(first, count);
    }
    out = std::move(samples);
    return {};
}

CIoResult CRecordingFile::readRanges(std::span<const int> channels,
                                     std::span<const long long> firsts, long long count,
                                     const RangeSink& take,
                                     const std::function<bool(long long)>& done) {
    const std::string name = io_text::quote(m_path);
    if (!m_handle) {
        return CIoResult::failure("no recording is open");
    }
    if (!take) {
        return CIoResult::failure(name + ": nothing takes the samples read");
    }
    if (!std::is_sorted(firsts.begin(), firsts.end())) {
        return CIoResult::failure(name + ": the ranges to read must start in ascending order");
    }
    if (firsts.empty()) {
        return checkRead(channels, 0, 1);
    }
    for (long long first : {firsts.front(), firsts.back()}) {
        if (CIoResult r = checkRead(channels, first, count); !r) {
            return r;
        }
    }
    // A read of several ranges holds their records for every channel at once: bounded.
    constexpr long long kMostValues = 1LL << 23;
    const long long spr = m_handle->samplesPerRecord;
    const auto perSample = static_cast<long long>(std::max<std::size_t>(1, channels.size()));
    const auto n = static_cast<std::ptrdiff_t>(firsts.size());
    std::vector<double> samples;
    for (std::ptrdiff_t r = 0; r < n;) {
        const long long start = firsts[r];
        std::ptrdiff_t end = r + 1;
        while (end < n && firsts[end] / spr <= (firsts[end - 1] + count - 1) / spr &&
               ((firsts[end] + count - 1) / spr - start / spr + 1) * spr * perSample <=
                   kMostValues) {
            ++end;
        }
        const long long span = firsts[end - 1] + count - start;
        if (CIoResult read = readSamples(channels, start, span, samples); !read) {
            return read;
        }
        for (std::size_t i = 0; i < channels.size(); ++i) {
            const double* column = samples.data() + i * static_cast<std::size_t>(span);
            for (std::ptrdiff_t q = r; q < end; ++q) {
                take(i, static_cast<std::size_t>(q),
                     std::span<const double>(column + (firsts[q] - start),
                                             static_cast<std::size_t>(count)));
            }
        }
        r = end;
        if (done && !done(r)) {
            return CIoResult::failure(name + ": cancelled");
        }
    }
    return {};
}

CIoResult CRecordingFile::unreadable(long long first, long long count) const {
    return CIoResult::failure(io_text::quote(m_path) + ": could not read samples " +
                              std::to_string(first) + " to " + std::to_string(first + count - 1) +
                              " (the file may be truncated or damaged)");
}
