// Recording files through BioSig: header, event table, and samples read block by block.
#include "io/CRecordingFile.h"

#include "CLibraryOutput.h"
#include "IoText.h"

#include <algorithm>
#include <biosig.h>
#include <cerrno>
#include <cmath>
#include <csignal>
#include <cstring>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <set>
#include <sys/wait.h>
#include <system_error>
#include <unistd.h>

struct CRecordingFile::Handle {
    HDRTYPE* hdr = nullptr;
    std::vector<int> biosigIndex; // BioSig channel of each entry of channels()
    std::vector<int> onChannels;  // channels switched on for the last read, in BioSig order
    CLibraryOutput output;        // what BioSig prints, kept off the terminal

    ~Handle() {
        if (hdr) {
            output.run([this] { return sclose(hdr); });
            destructHDR(hdr);
        }
    }

    // Switch on the BioSig channels of `channels` (indices into channels(), checked), no other.
    void switchOn(std::span<const int> channels);
    // Where channel c's samples lie in what decode returns: column(c) * rows further on.
    std::size_t column(int c) const;
    // Decode the whole records holding samples [first, first + count) of the channels switched
    // on; the result points at sample `first` of the first column. Null when BioSig fails.
    const double* decode(long long first, long long count, std::size_t& rows);
};

void CRecordingFile::Handle::switchOn(std::span<const int> channels) {
    std::vector<int> on;
    for (int c : channels) {
        on.push_back(biosigIndex[c]);
    }
    std::sort(on.begin(), on.end());
    on.erase(std::unique(on.begin(), on.end()), on.end());
    if (on != onChannels) {
        for (int k : biosigIndex) {
            hdr->CHANNEL[k].OnOff = std::binary_search(on.begin(), on.end(), k) ? 1 : 0;
        }
        onChannels = std::move(on);
    }
}

std::size_t CRecordingFile::Handle::column(int c) const {
    return static_cast<std::size_t>(
        std::lower_bound(onChannels.begin(), onChannels.end(), biosigIndex[c]) -
        onChannels.begin());
}

const double* CRecordingFile::Handle::decode(long long first, long long count, std::size_t& rows) {
    const long long spr = hdr->SPR;
    const long long block = first / spr;
    const long long blocks = (first + count - 1) / spr - block + 1;
    // BioSig 2.5 decodes a block read as if it started where its block cache starts; pointing
    // the cache at the first block (empty) keeps reads that do not start at block 0 in place.
    hdr->AS.first = static_cast<size_t>(block);
    hdr->AS.length = 0;
    const size_t got = output.run([&] {
        return sread(nullptr, static_cast<size_t>(block), static_cast<size_t>(blocks), hdr);
    });
    rows = hdr->data.size[0];
    if (got != static_cast<size_t>(blocks) || rows != static_cast<size_t>(blocks * spr) ||
        hdr->data.size[1] != onChannels.size() || !hdr->data.block) {
        return nullptr;
    }
    return hdr->data.block + (first - block * spr);
}

namespace {

// BioSig's messages end in newlines and start with its own prefixes; keep the words, or what
// it printed when it left no message.
std::string biosigMessage(HDRTYPE* hdr, const CLibraryOutput& output) {
    std::string text = hdr && hdr->AS.B4C_ERRMSG ? hdr->AS.B4C_ERRMSG : "";
    for (const char* prefix : {"ERROR BIOSIG4C++ SOPEN(read):", "Error SOPEN(READ);",
                               "Error SOPEN(READ):", "Error SOPEN(READ)"}) {
        if (text.rfind(prefix, 0) == 0) {
            text.erase(0, std::string(prefix).size());
        }
    }
    text = io_text::trim(text);
    if (text.empty() && !output.lines().empty()) {
        text = "it printed " + output.summary();
    }
    return text.empty() ? "unknown error" : io_text::escaped(text);
}

// Formats whose samples follow the header in the same file, record after record.
bool holdsRecordsInline(enum FileFormat type) {
    return type == EDF || type == BDF || type == GDF || type == GDF1;
}

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

// How long BioSig may take over a header before the file counts as one it hangs on.
constexpr int kMostHeaderMs = 20000;

// Whether BioSig reads the header without crashing or hanging, tried first in a child process:
// BioSig 2.5 dies on some damaged headers (a GDF header it reads through a null pointer) and
// would take the program with it. Empty when it does, or when no child can be started.
std::string checkInChild(const std::string& path) {
    const pid_t child = ::fork();
    if (child == 0) {
        const int null = ::open("/dev/null", O_WRONLY);
        ::dup2(null, STDOUT_FILENO);
        ::dup2(null, STDERR_FILENO);
        if (HDRTYPE* hdr = sopen(path.c_str(), "r", nullptr)) {
            sclose(hdr);
            destructHDR(hdr);
        }
        ::_exit(0);
    }
    const std::string damaged = io_text::quote(path) + ": the file is damaged: BioSig ";
    for (int waitedUs = 0; child > 0; waitedUs += 200) {
        int status = 0;
        const pid_t done = ::waitpid(child, &status, WNOHANG);
        if (done != 0) {
            const bool clean = done < 0 || (WIFEXITED(status) && WEXITSTATUS(status) == 0);
            return clean ? std::string() : damaged + "crashes on reading its header";
        }
        if (waitedUs >= kMostHeaderMs * 1000) {
            ::kill(child, SIGKILL);
            ::waitpid(child, &status, 0);
            return damaged + "does not finish reading its header in " +
                   std::to_string(kMostHeaderMs / 1000) + " s";
        }
        ::usleep(200);
    }
    return {};
}

} // namespace

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

namespace {

// Why a channel's samples cannot be converted to physical units; empty when they can. BioSig
// scales by (physical range) / (digital range): an empty range on either side gives a
// constant or infinite signal that the file never held.
std::string scaleFault(const CHANNEL_TYPE& c) {
    if (std::isfinite(c.Cal) && c.Cal != 0.0) {
        return {};
    }
    const bool physical = c.PhysMax == c.PhysMin;
    return std::string("has an empty ") + (physical ? "physical" : "digital") +
           " range: its minimum and maximum are both " +
           io_text::num(physical ? c.PhysMin : c.DigMin) + " (the header is damaged)";
}

// The channel whose samples a record lacks, when BioSig found no common sample count.
std::string emptyChannel(const HDRTYPE& hdr) {
    for (int k = 0; k < hdr.NS; ++k) {
        if (hdr.CHANNEL[k].SPR == 0 && hdr.CHANNEL[k].OnOff == 1) {
            return "channel " + io_text::shown(io_text::trim(hdr.CHANNEL[k].Label)) +
                   " has no samples";
        }
    }
    return {};
}

} // namespace

CIoResult CRecordingFile::open(const std::string& path) {
    close();
    if (std::string error = checkPath(path); !error.empty()) {
        return CIoResult::failure(error);
    }
    if (std::string error = checkInChild(path); !error.empty()) {
        return CIoResult::failure(error);
    }
    auto handle = std::make_unique<Handle>();
    handle->hdr = handle->output.run([&] { return sopen(path.c_str(), "r", nullptr); });
    if (handle->hdr) {
        // Saturated samples (at the digital limits) become NaN, so their epochs are left out.
        biosig_set_flag(handle->hdr, BIOSIG_FLAG_OVERFLOWDETECTION);
    }
    HDRTYPE* hdr = handle->hdr;
    const std::string name = io_text::quote(path);
    if (!hdr) {
        return CIoResult::failure(name + ": BioSig cannot open it");
    }
    if (biosig_check_error(hdr)) {
        const bool unknown = hdr->AS.B4C_ERRNUM == B4C_FORMAT_UNKNOWN;
        return CIoResult::failure(
            name +
            (unknown ? ": not a recording format BioSig reads (" : ": BioSig cannot read it (") +
            biosigMessage(hdr, handle->output) + ")");
    }
    if (!(std::isfinite(hdr->SampleRate) && hdr->SampleRate > 0.0) || hdr->NRec < 1 ||
        hdr->SPR < 1) {
        const std::string empty = emptyChannel(*hdr);
        return CIoResult::failure(
            name + ": " +
            (empty.empty() ? "the header gives no sampling rate or no samples" : empty));
    }
    if (holdsRecordsInline(hdr->TYPE)) {
        std::error_code ec;
        const auto size = std::filesystem::file_size(path, ec);
        const auto held =
            hdr->AS.bpb ? (size - std::min<std::uintmax_t>(size, hdr->HeadLen)) / hdr->AS.bpb : 0;
        if (!ec && held < static_cast<std::uintmax_t>(hdr->NRec)) {
            return CIoResult::failure(name + ": the file is truncated: it holds " +
                                      std::to_string(held) + " of its " +
                                      std::to_string(hdr->NRec) + " data records");
        }
    }
    std::vector<Channel> channels;
    std::vector<std::string> fileUnits = edfUnits(path);
    fileUnits.resize(fileUnits.size() == static_cast<std::size_t>(hdr->NS) ? fileUnits.size() : 0);
    for (int k = 0; k < hdr->NS; ++k) {
        CHANNEL_TYPE* c = hdr->CHANNEL + k; // biosig_get_channel counts only channels switched on
        if (c->OnOff != 1) {
            continue; // annotation and time-axis channels
        }
        const char* unit = biosig_channel_get_physdim(c);
        Channel ch;
        ch.label = io_text::trim(biosig_channel_get_label(c));
        ch.unit = unit && std::string(unit) != "?" ? unit : "";
        if (!fileUnits.empty() && !fileUnits[k].empty()) {
            ch.unit = fileUnits[k];
        }
        ch.samplingRateHz = hdr->SampleRate * c->SPR / hdr->SPR;
        ch.atRecordingRate = c->SPR == hdr->SPR;
        ch.fault = scaleFault(*c);
        channels.push_back(std::move(ch));
        handle->biosigIndex.push_back(k);
    }
    if (channels.empty()) {
        return CIoResult::failure(name + ": the file holds no signal channel");
    }
    const double eventRate = hdr->EVENT.SampleRate > 0.0 ? hdr->EVENT.SampleRate : hdr->SampleRate;
    std::vector<Event> events;
    for (std::size_t n = 0; n < hdr->EVENT.N; ++n) {
        uint16_t typ = 0, chn = 0;
        uint32_t pos = 0, dur = 0;
        const char* desc = nullptr;
        biosig_get_nth_event(hdr, n, &typ, &pos, &chn, &dur, nullptr, &desc);
        Event e;
        e.onsetSec = pos / eventRate;
        e.sample = std::llround(e.onsetSec * hdr->SampleRate);
        e.durationSec = dur / eventRate;
        e.code = typ;
        e.text = desc ? io_text::trim(desc) : "";
        events.push_back(std::move(e));
    }
    m_path = path;
    m_format = GetFileTypeString(hdr->TYPE) ? GetFileTypeString(hdr->TYPE) : "unknown";
    m_rateHz = hdr->SampleRate;
    m_samples = static_cast<long long>(hdr->NRec) * hdr->SPR;
    m_channels = std::move(channels);
    m_events = std::move(events);
    m_handle = std::move(handle);
    return {};
}

std::string CRecordingFile::biosigWarnings() const {
    return m_handle ? m_handle->output.summary() : std::string();
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
    m_handle->switchOn(channels);
    std::size_t rows = 0;
    const double* samples = m_handle->decode(first, count, rows);
    if (!samples) {
        return unreadable(first, count);
    }
    out.resize(channels.size() * static_cast<std::size_t>(count));
    for (std::size_t i = 0; i < channels.size(); ++i) {
        const double* src = samples + m_handle->column(channels[i]) * rows;
        std::copy(src, src + count, out.begin() + static_cast<std::ptrdiff_t>(i * count));
    }
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
    m_handle->switchOn(channels);
    // A read of several ranges holds their records for every channel at once: bounded.
    constexpr long long kMostValues = 1LL << 23;
    const long long spr = m_handle->hdr->SPR;
    const auto perSample = static_cast<long long>(std::max<std::size_t>(1, channels.size()));
    const auto n = static_cast<std::ptrdiff_t>(firsts.size());
    for (std::ptrdiff_t r = 0; r < n;) {
        const long long start = firsts[r];
        std::ptrdiff_t end = r + 1;
        while (end < n && firsts[end] / spr <= (firsts[end - 1] + count - 1) / spr &&
               ((firsts[end] + count - 1) / spr - start / spr + 1) * spr * perSample <=
                   kMostValues) {
            ++end;
        }
        const long long span = firsts[end - 1] + count - start;
        std::size_t rows = 0;
        const double* samples = m_handle->decode(start, span, rows);
        if (!samples) {
            return unreadable(start, span);
        }
        for (std::size_t i = 0; i < channels.size(); ++i) {
            const double* column = samples + m_handle->column(channels[i]) * rows;
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
