// BioSig's header, event table and samples, in the reader process.
#include "CBiosigServer.h"

#include "IoText.h"

#include <algorithm>
#include <biosig.h>
#include <cmath>
#include <filesystem>

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

// Why the samples cannot be read; empty when they can.
std::string checkHeader(const std::string& path, HDRTYPE* hdr, const CLibraryOutput& output) {
    const std::string name = io_text::quote(path);
    if (!hdr) {
        return name + ": BioSig cannot open it";
    }
    if (biosig_check_error(hdr)) {
        const bool unknown = hdr->AS.B4C_ERRNUM == B4C_FORMAT_UNKNOWN;
        return name +
               (unknown ? ": not a recording format BioSig reads (" : ": BioSig cannot read it (") +
               biosigMessage(hdr, output) + ")";
    }
    if (!(std::isfinite(hdr->SampleRate) && hdr->SampleRate > 0.0) || hdr->NRec < 1 ||
        hdr->SPR < 1) {
        const std::string empty = emptyChannel(*hdr);
        return name + ": " +
               (empty.empty() ? "the header gives no sampling rate or no samples" : empty);
    }
    if (holdsRecordsInline(hdr->TYPE)) {
        std::error_code ec;
        const auto size = std::filesystem::file_size(path, ec);
        const auto held =
            hdr->AS.bpb ? (size - std::min<std::uintmax_t>(size, hdr->HeadLen)) / hdr->AS.bpb : 0;
        if (!ec && held < static_cast<std::uintmax_t>(hdr->NRec)) {
            return name + ": the file is truncated: it holds " + std::to_string(held) + " of its " +
                   std::to_string(hdr->NRec) + " data records";
        }
    }
    return {};
}

void putEvents(HDRTYPE* hdr, CReaderWire& reply) {
    const double eventRate = hdr->EVENT.SampleRate > 0.0 ? hdr->EVENT.SampleRate : hdr->SampleRate;
    reply.putInt(static_cast<long long>(hdr->EVENT.N));
    for (std::size_t n = 0; n < hdr->EVENT.N; ++n) {
        uint16_t typ = 0, chn = 0;
        uint32_t pos = 0, dur = 0;
        const char* desc = nullptr;
        biosig_get_nth_event(hdr, n, &typ, &pos, &chn, &dur, nullptr, &desc);
        const double onsetSec = pos / eventRate;
        reply.putInt(std::llround(onsetSec * hdr->SampleRate));
        reply.putDouble(onsetSec);
        reply.putDouble(dur / eventRate);
        reply.putInt(typ);
        reply.putText(desc ? io_text::trim(desc) : "");
    }
}

} // namespace

CBiosigServer::~CBiosigServer() {
    if (m_hdr) {
        m_output.run([this] { return sclose(m_hdr); });
        destructHDR(m_hdr);
    }
}

CReaderWire CBiosigServer::open(const std::string& path) {
    CReaderWire reply;
    const std::string refusal = header(path, reply);
    if (!refusal.empty()) {
        reply = CReaderWire();
        reply.putInt(0);
        reply.putText(refusal);
    }
    putOutput(reply);
    return reply;
}

std::string CBiosigServer::header(const std::string& path, CReaderWire& reply) {
    m_hdr = m_output.run([&] { return sopen(path.c_str(), "r", nullptr); });
    if (m_hdr) {
        // Saturated samples (at the digital limits) become NaN, so their epochs are left out.
        biosig_set_flag(m_hdr, BIOSIG_FLAG_OVERFLOWDETECTION);
    }
    if (std::string refusal = checkHeader(path, m_hdr, m_output); !refusal.empty()) {
        return refusal;
    }
    reply.putInt(1);
    reply.putText(GetFileTypeString(m_hdr->TYPE) ? GetFileTypeString(m_hdr->TYPE) : "unknown");
    reply.putDouble(m_hdr->SampleRate);
    m_samples = static_cast<long long>(m_hdr->NRec) * m_hdr->SPR;
    reply.putInt(m_samples);
    reply.putInt(static_cast<long long>(m_hdr->SPR));
    for (int k = 0; k < m_hdr->NS; ++k) {
        // annotation and time-axis channels are off (biosig_get_channel counts only those on)
        if (m_hdr->CHANNEL[k].OnOff == 1) {
            m_biosigIndex.push_back(k);
        }
    }
    if (m_biosigIndex.empty()) {
        return io_text::quote(path) + ": the file holds no signal channel";
    }
    reply.putInt(m_hdr->NS);
    reply.putInt(static_cast<long long>(m_biosigIndex.size()));
    for (int k : m_biosigIndex) {
        CHANNEL_TYPE* c = m_hdr->CHANNEL + k;
        const char* unit = biosig_channel_get_physdim(c);
        reply.putInt(k);
        reply.putText(io_text::trim(biosig_channel_get_label(c)));
        reply.putText(unit && std::string(unit) != "?" ? unit : "");
        reply.putDouble(m_hdr->SampleRate * c->SPR / m_hdr->SPR);
        reply.putInt(c->SPR == m_hdr->SPR ? 1 : 0);
        reply.putText(scaleFault(*c));
    }
    putEvents(m_hdr, reply);
    return {};
}

CReaderWire CBiosigServer::read(CReaderWire& request) {
    long long n = 0, first = 0, count = 0;
    std::vector<int> channels;
    bool sound =
        m_hdr && request.getInt(n) && n >= 0 && n <= static_cast<long long>(m_biosigIndex.size());
    for (long long i = 0; sound && i < n; ++i) {
        long long c = -1;
        sound = request.getInt(c) && c >= 0 && c < static_cast<long long>(m_biosigIndex.size());
        channels.push_back(static_cast<int>(c));
    }
    sound = sound && request.getInt(first) && request.getInt(count) && first >= 0 && count >= 1 &&
            first <= m_samples - count;
    CReaderWire reply;
    std::size_t rows = 0;
    const double* samples = nullptr;
    if (sound) {
        switchOn(channels);
        samples = decode(first, count, rows);
    }
    reply.putInt(samples ? 1 : 0);
    for (std::size_t i = 0; samples && i < channels.size(); ++i) {
        reply.putDoubles({samples + column(channels[i]) * rows, static_cast<std::size_t>(count)});
    }
    putOutput(reply);
    return reply;
}

void CBiosigServer::putOutput(CReaderWire& reply) const {
    reply.putInt(static_cast<long long>(m_output.lines().size()));
    for (const CLibraryOutput::Line& line : m_output.lines()) {
        reply.putText(line.text);
        reply.putInt(line.count);
    }
}

void CBiosigServer::switchOn(const std::vector<int>& channels) {
    std::vector<int> on;
    for (int c : channels) {
        on.push_back(m_biosigIndex[c]);
    }
    std::sort(on.begin(), on.end());
    on.erase(std::unique(on.begin(), on.end()), on.end());
    if (on != m_onChannels) {
        for (int k : m_biosigIndex) {
            m_hdr->CHANNEL[k].OnOff = std::binary_search(on.begin(), on.end(), k) ? 1 : 0;
        }
        m_onChannels = std::move(on);
    }
}

std::size_t CBiosigServer::column(int c) const {
    return static_cast<std::size_t>(
        std::lower_bound(m_onChannels.begin(), m_onChannels.end(), m_biosigIndex[c]) -
        m_onChannels.begin());
}

const double* CBiosigServer::decode(long long first, long long count, std::size_t& rows) {
    const long long spr = m_hdr->SPR;
    const long long block = first / spr;
    const long long blocks = (first + count - 1) / spr - block + 1;
    // BioSig 2.5 decodes a block read as if it started where its block cache starts; pointing
    // the cache at the first block (empty) keeps reads that do not start at block 0 in place.
    m_hdr->AS.first = static_cast<size_t>(block);
    m_hdr->AS.length = 0;
    const size_t got = m_output.run([&] {
        return sread(nullptr, static_cast<size_t>(block), static_cast<size_t>(blocks), m_hdr);
    });
    rows = m_hdr->data.size[0];
    if (got != static_cast<size_t>(blocks) || rows != static_cast<size_t>(blocks * spr) ||
        m_hdr->data.size[1] != m_onChannels.size() || !m_hdr->data.block) {
        return nullptr;
    }
    return m_hdr->data.block + (first - block * spr);
}
