// Epochs around events of a recording, read block-wise and handed to the data set builder.
#include "io/CEpochImport.h"

#include "CEpochStore.h"
#include "CMontage.h"
#include "ImportRun.h"
#include "IoText.h"
#include "io/CRecordingFile.h"

#include <algorithm>
#include <cmath>
#include <map>
#include <utility>

namespace {

// Above this the epochs are refused before anything is allocated.
constexpr double kMaxEpochBytes = 64.0 * (1LL << 30);

struct Span {
    long long first = 0; // sample offsets from the event, ends included
    long long last = 0;
    long long length() const { return last - first + 1; }
};

std::string checkLatencies(const CEpochImport::Options& o) {
    const double all[6] = {o.epochStartMs, o.epochEndMs,     o.activeStartMs,
                           o.activeEndMs,  o.controlStartMs, o.controlEndMs};
    if (!std::all_of(all, all + 6, [](double v) { return std::isfinite(v); })) {
        return "the epoch span and the windows need finite latencies";
    }
    if (o.epochStartMs >= o.epochEndMs) {
        return "the epoch span " + io_text::num(o.epochStartMs) + " to " +
               io_text::num(o.epochEndMs) + " ms is empty";
    }
    const char* names[2] = {"Active", "Control"};
    const double win[2][2] = {{o.activeStartMs, o.activeEndMs}, {o.controlStartMs, o.controlEndMs}};
    for (int k = 0; k < 2; ++k) {
        if (win[k][0] > win[k][1] || win[k][0] < o.epochStartMs || win[k][1] > o.epochEndMs) {
            return std::string(names[k]) + " window " + io_text::num(win[k][0]) + " to " +
                   io_text::num(win[k][1]) + " ms lies outside the epoch span " +
                   io_text::num(o.epochStartMs) + " to " + io_text::num(o.epochEndMs) + " ms";
        }
    }
    if (o.eventCodes.empty() && o.eventTexts.empty()) {
        return "choose the events by code or by text";
    }
    return {};
}

// The sample offsets of the span in ms at rate hz: covering it, or nearest to its ends
// (nearbyint rounds ties to even, as Python's round does).
Span spanOf(double startMs, double endMs, double hz, CEpochImport::Edges edges) {
    constexpr double kEps = 1e-9;
    const double first = startMs * hz / 1000.0;
    const double last = endMs * hz / 1000.0;
    if (edges == CEpochImport::Edges::Nearest) {
        return {static_cast<long long>(std::nearbyint(first)),
                static_cast<long long>(std::nearbyint(last))};
    }
    return {static_cast<long long>(std::floor(first + kEps)),
            static_cast<long long>(std::ceil(last - kEps))};
}

bool matches(const CRecordingFile::Event& e, const CEpochImport::Options& o) {
    return std::find(o.eventCodes.begin(), o.eventCodes.end(), e.code) != o.eventCodes.end() ||
           (!e.text.empty() &&
            std::find_if(o.eventTexts.begin(), o.eventTexts.end(), [&](const std::string& t) {
                return io_text::trim(t) == e.text;
            }) != o.eventTexts.end());
}

// "'stim A' (code 1, 40 times)" or "code 7 (3 times)" for each distinct event of the file,
// as many as fit in a line of a message.
std::string eventSummary(const std::vector<CRecordingFile::Event>& events) {
    constexpr std::size_t kMost = 12;
    constexpr std::size_t kMostChars = 300;
    std::map<std::pair<int, std::string>, int> counts;
    for (const auto& e : events) {
        ++counts[{e.code, e.text}];
    }
    std::string out;
    std::size_t i = 0;
    for (const auto& [key, n] : counts) {
        if (i++ == kMost || out.size() > kMostChars) {
            return out + ", ... (" + std::to_string(counts.size()) + " kinds in all)";
        }
        const std::string times = std::to_string(n) + (n == 1 ? " time" : " times");
        const std::string code = "code " + std::to_string(key.first);
        out += (out.empty() ? "" : ", ") +
               (key.second.empty() ? code + " (" + times + ")"
                                   : io_text::shown(key.second) + " (" + code + ", " + times + ")");
    }
    return out.empty() ? "none" : out;
}

std::string chosenEvents(const CEpochImport::Options& o) {
    std::vector<std::string> parts;
    for (int c : o.eventCodes) {
        parts.push_back("code " + std::to_string(c));
    }
    for (const auto& t : o.eventTexts) {
        parts.push_back("text " + io_text::quote(io_text::trim(t)));
    }
    std::string out;
    for (std::size_t i = 0; i < parts.size(); ++i) {
        out += (i ? (i + 1 == parts.size() ? " or " : ", ") : "") + parts[i];
    }
    return out;
}

class EpochRun {
public:
    EpochRun(const CEpochImport::Options& o, CEpochImport::Report& report)
        : m_o(o), m_report(report), m_name(io_text::quote(o.path)) {}

    CIoResult run(CArrayMEDataSetzq& target);

private:
    CIoResult fail(const std::string& what) const {
        return CIoResult::failure(m_name + ": " + what);
    }
    CIoResult chooseChannels();
    CIoResult leaveOutUnreadable(std::vector<int>& wanted);
    CIoResult chooseEpochs();
    CIoResult readEpochs();
    CIoResult dropNonFinite();
    CIoResult fill(CArrayMEDataSetzq& data);
    bool progress(CIoProgress::Stage stage, long long done, long long total) const {
        return !m_o.progress || m_o.progress(stage, done, total);
    }

    const CEpochImport::Options& m_o;
    CEpochImport::Report& m_report;
    std::string m_name;
    CRecordingFile m_file;
    CMontage m_montage;
    std::vector<int> m_channels; // file channels read, in data-set order
    std::vector<CMontage::Placed> m_placed;
    Span m_span;
    std::vector<long long> m_starts; // first sample of each epoch kept so far
    CEpochStore m_data;              // per channel: epoch after epoch
};

CIoResult EpochRun::chooseChannels() {
    const auto& all = m_file.channels();
    std::vector<int> wanted;
    for (const std::string& label : m_o.channels) {
        const auto it = std::find_if(all.begin(), all.end(), [&](const auto& c) {
            return io_text::lower(c.label) == io_text::lower(io_text::trim(label));
        });
        if (it == all.end()) {
            std::vector<std::string> labels;
            for (const auto& c : all) {
                labels.push_back(c.label);
            }
            return fail("no channel " + io_text::quote(label) + " (the channels are " +
                        io_text::list(labels) + ")");
        }
        if (!it->atRecordingRate) {
            return fail("channel " + io_text::shown(it->label) + " is sampled at " +
                        io_text::num(it->samplingRateHz) + " Hz, not at the recording's " +
                        io_text::num(m_file.samplingRateHz()) + " Hz");
        }
        wanted.push_back(static_cast<int>(it - all.begin()));
    }
    for (int c = 0; m_o.channels.empty() && c < static_cast<int>(all.size()); ++c) {
        if (all[c].atRecordingRate) {
            wanted.push_back(c);
        }
    }
    if (CIoResult r = leaveOutUnreadable(wanted); !r) {
        return r;
    }
    std::vector<CMontage::Input> inputs;
    for (int c : wanted) {
        inputs.push_back({all[c].label, all[c].unit});
    }
    if (CIoResult r = m_montage.place(inputs, m_o.path, m_placed, m_report.droppedChannels); !r) {
        return r;
    }
    for (const auto& p : m_placed) {
        m_channels.push_back(wanted[p.input]);
        m_report.channels.push_back(inputs[p.input].label);
    }
    return {};
}

// A channel whose samples cannot be scaled would show values the file never held: refused by
// name, or left out and listed where unplaced channels are (dropUnplaced).
CIoResult EpochRun::leaveOutUnreadable(std::vector<int>& wanted) {
    const auto& all = m_file.channels();
    std::vector<int> kept;
    for (int c : wanted) {
        if (all[c].fault.empty()) {
            kept.push_back(c);
        } else if (m_o.montage.dropUnplaced && m_o.channels.empty()) {
            m_report.unreadableChannels.push_back(all[c].label);
        } else {
            return fail("channel " + io_text::shown(all[c].label) + " " + all[c].fault +
                        (m_o.channels.empty() ? "; drop unplaced channels to leave it out" : ""));
        }
    }
    if (kept.empty() && !wanted.empty()) {
        return fail("no channel can be read: " + io_text::list(m_report.unreadableChannels) +
                    " have an empty physical or digital range (the header is damaged)");
    }
    wanted = std::move(kept);
    return {};
}

CIoResult EpochRun::chooseEpochs() {
    const auto& events = m_file.events();
    for (const auto& e : events) {
        if (!matches(e, m_o)) {
            continue;
        }
        ++m_report.eventsMatched;
        const long long first = e.sample + m_span.first;
        if (first < 0 || e.sample + m_span.last >= m_file.sampleCount()) {
            ++m_report.epochsPastEnds;
        } else {
            m_starts.push_back(first);
        }
    }
    if (m_report.eventsMatched == 0) {
        // BioSig warns, for instance, of annotations it cannot read.
        const std::string warned = m_file.biosigWarnings();
        return fail("no event has " + chosenEvents(m_o) +
                    " (the file's events: " + eventSummary(events) +
                    (warned.empty() ? "" : "; BioSig warned " + warned) + ")");
    }
    if (m_starts.empty()) {
        const std::string span = "from " + io_text::num(m_o.epochStartMs) + " to " +
                                 io_text::num(m_o.epochEndMs) + " ms";
        return fail(m_report.epochsPastEnds == 1
                        ? "the one epoch " + span + " runs past the ends of the recording"
                        : "all " + std::to_string(m_report.epochsPastEnds) + " epochs " + span +
                              " run past the ends of the recording");
    }
    std::sort(m_starts.begin(), m_starts.end());
    return {};
}

CIoResult EpochRun::readEpochs() {
    const long long n = m_span.length();
    const auto nEpochs = static_cast<long long>(m_starts.size());
    const double bytes = 8.0 * static_cast<double>(n) * static_cast<double>(nEpochs) *
                         static_cast<double>(m_channels.size());
    if (bytes > kMaxEpochBytes) {
        return fail(std::to_string(nEpochs) + " epochs of " + std::to_string(n) + " samples on " +
                    std::to_string(m_channels.size()) + " channels do not fit in memory");
    }
    m_data.allocate(m_channels.size(), static_cast<std::size_t>(n * nEpochs));
    const auto take = [this](std::size_t c, std::size_t, std::span<const double> samples) {
        m_data.append(c, samples);
    };
    return m_file.readRanges(m_channels, m_starts, n, take, [&](long long done) {
        return progress(CIoProgress::Stage::Reading, done, nEpochs);
    });
}

CIoResult EpochRun::dropNonFinite() {
    const long long n = m_span.length();
    const auto nEpochs = static_cast<long long>(m_starts.size());
    std::vector<char> bad(static_cast<std::size_t>(nEpochs), 0);
    std::vector<std::string> empty;
    for (std::size_t c = 0; c < m_data.channelCount(); ++c) {
        long long badHere = 0;
        for (long long e = 0; e < nEpochs; ++e) {
            const double* x = m_data.channel(c) + e * n;
            const bool finite = std::all_of(x, x + n, [](double v) { return std::isfinite(v); });
            bad[e] = bad[e] || !finite;
            badHere += finite ? 0 : 1;
        }
        if (badHere == nEpochs) {
            empty.push_back(m_report.channels[c]);
        }
    }
    if (!empty.empty()) {
        return fail((empty.size() == 1 ? "channel " : "channels ") + io_text::list(empty) +
                    (empty.size() == 1 ? " holds" : " hold") + " no finite sample in any epoch");
    }
    long long kept = 0;
    for (long long e = 0; e < nEpochs; ++e) {
        m_report.epochsNonFinite += bad[e] ? 1 : 0;
        if (!bad[e]) {
            m_starts[kept++] = m_starts[e];
        }
    }
    if (kept == 0) {
        return fail("every epoch holds a non-finite sample on some channel");
    }
    m_starts.resize(static_cast<std::size_t>(kept));
    m_data.drop(bad, static_cast<std::size_t>(n));
    return {};
}

CIoResult EpochRun::fill(CArrayMEDataSetzq& data) {
    CMEDataSetBuilder b(data);
    const auto check = [&](const CMEDataSetBuilder::Result& r) {
        return r ? CIoResult{} : fail(r.message);
    };
    CIoResult r = check(b.addSession());
    r = r ? check(b.setSpectrumSettings(0, m_o.spectrum)) : r;
    r = r ? check(b.addTrial(0)) : r;
    r = r ? check(CMontage::addChannels(b, 0, m_placed)) : r;
    r = r ? check(m_montage.addHeadFrame(b, 0)) : r;
    const auto nEpochs = static_cast<long long>(m_starts.size());
    const auto nChannels = static_cast<long long>(m_data.channelCount());
    for (long long c = 0; r && c < nChannels; ++c) {
        r = check(b.setChannelEpochs(0, 0, static_cast<int>(c),
                                     std::move(m_data.vector(static_cast<std::size_t>(c))), nEpochs,
                                     m_file.samplingRateHz(), m_report.firstLatencyMs));
        if (r && !progress(CIoProgress::Stage::Channels, c + 1, nChannels)) {
            r = fail("cancelled");
        }
    }
    // Only nearest edges can leave a window end outside the samples.
    const double hz = m_file.samplingRateHz();
    const double firstMs = m_report.firstLatencyMs;
    const double lastMs = 1000.0 * static_cast<double>(m_span.last) / hz;
    const auto inside = [&](double ms) { return std::clamp(ms, firstMs, lastMs); };
    r = r ? check(b.setWindows(0, 0, inside(m_o.activeStartMs), inside(m_o.activeEndMs),
                               inside(m_o.controlStartMs), inside(m_o.controlEndMs)))
          : r;
    return r && m_o.computeSpectra ? check(b.computeSpectra(0)) : r;
}

CIoResult EpochRun::run(CArrayMEDataSetzq& target) {
    if (std::string error = checkLatencies(m_o); !error.empty()) {
        return fail(error);
    }
    if (CIoResult r = m_montage.load(m_o.montage); !r) {
        return r;
    }
    if (CIoResult r = m_file.open(m_o.path); !r) {
        return r;
    }
    m_report.format = m_file.formatName();
    m_report.samplingRateHz = m_file.samplingRateHz();
    m_span = spanOf(m_o.epochStartMs, m_o.epochEndMs, m_file.samplingRateHz(), m_o.edges);
    m_report.samplesPerEpoch = m_span.length();
    m_report.firstLatencyMs = 1000.0 * static_cast<double>(m_span.first) / m_file.samplingRateHz();
    CIoResult r = chooseChannels();
    r = r ? chooseEpochs() : r;
    r = r ? readEpochs() : r;
    r = r ? dropNonFinite() : r;
    if (!r) {
        return r;
    }
    m_report.epochsUsed = static_cast<int>(m_starts.size());
    return import_run::moveInto(target, [this](CArrayMEDataSetzq& built) { return fill(built); });
}

} // namespace

CIoResult CEpochImport::build(CArrayMEDataSetzq& target) {
    return import_run::run<EpochRun>(m_options, m_report, target);
}
