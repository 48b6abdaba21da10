// Builds the synthetic recording through the data set's builder: checks the options, gathers
// the channels from the layouts, generates the epochs and computes the spectra.
#include "synthetic/CSyntheticRecording.h"

#include "CSignalGenerator.h"
#include "probes/CSensorLayout.h"
#include "recording/CMEDataSetBuilder.h"

#include <algorithm>
#include <cmath>

namespace {

constexpr long long kMaxSamplesPerTrial = 200'000'000; // 1.6 GB of doubles

struct Picked {
    CSensorLayout::Channel channel;
    const CSensorLayout* layout;
    int index; // in its layout
    CSignalGenerator::Vec direction;
};

std::u16string widen(const std::string& s) {
    return std::u16string(s.begin(), s.end());
}

bool within(double v, double lo, double hi) {
    return std::isfinite(v) && v >= lo && v <= hi;
}

// Physical unit per source unit: fT for magnetometers, fT/cm for gradiometers, uV for EEG.
double unitScale(CSensorLayout::Type type) {
    switch (type) {
    case CSensorLayout::Type::Magnetometer:
    case CSensorLayout::Type::AxialGradiometer:
        return 40.0;
    case CSensorLayout::Type::PlanarGradiometer:
        return 15.0;
    default:
        return 8.0;
    }
}

std::string checkSizes(const CSyntheticRecording::Options& o) {
    if (o.trials < 1 || o.trials > 1000)
        return "trials must lie in 1..1000";
    if (o.epochs < 1 || o.epochs > 100000)
        return "epochs must lie in 1..100000";
    if (o.samplesPerEpoch < 16 || o.samplesPerEpoch > 10'000'000)
        return "samples per epoch must lie in 16..10000000";
    if (!within(o.samplingRateHz, 10.0, 1e6))
        return "the sampling rate must lie in 10..1000000 Hz";
    if (!within(o.firstLatencyMs, -1e9, 1e9))
        return "the first latency must be a finite number of ms";
    if (o.megChannels < -1 || o.eegChannels < -1)
        return "channel counts must be -1 (all) or at least 0";
    const double last = o.firstLatencyMs + 1000.0 * (o.samplesPerEpoch - 1) / o.samplingRateHz;
    const bool windows = within(o.controlStartMs, o.firstLatencyMs, o.controlEndMs) &&
                         within(o.controlEndMs, o.controlStartMs, last) &&
                         within(o.activeStartMs, o.firstLatencyMs, o.activeEndMs) &&
                         within(o.activeEndMs, o.activeStartMs, last);
    if (!windows)
        return "the Active and Control windows must lie inside the epoch (" +
               std::to_string(o.firstLatencyMs) + " to " + std::to_string(last) + " ms)";
    return {};
}

// Unit vectors from a point below the sensors' centroid (the head centre lies under the
// cap or helmet) to each sensor of one type.
void setDirections(std::vector<Picked>& picked) {
    for (const bool meg : {true, false}) {
        double c[3] = {0.0, 0.0, 0.0};
        int n = 0;
        for (const Picked& p : picked) {
            if (CSensorLayout::isMegType(p.channel.type) != meg)
                continue;
            for (int k = 0; k < 3; ++k)
                c[k] += p.channel.pos[k];
            ++n;
        }
        if (n == 0)
            continue;
        for (double& v : c)
            v /= n;
        c[2] -= 0.02;
        for (Picked& p : picked) {
            if (CSensorLayout::isMegType(p.channel.type) != meg)
                continue;
            CSignalGenerator::Vec d{p.channel.pos[0] - c[0], p.channel.pos[1] - c[1],
                                    p.channel.pos[2] - c[2]};
            const double len = std::sqrt(d[0] * d[0] + d[1] * d[1] + d[2] * d[2]);
            for (double& v : d)
                v = len > 0.0 ? v / len : 0.0;
            p.direction = d;
        }
    }
}

// `want` channels spread evenly over `all` (-1: all of them).
std::vector<Picked> spread(const std::vector<Picked>& all, int want) {
    if (want < 0)
        return all;
    std::vector<Picked> out;
    for (int i = 0; i < want; ++i)
        out.push_back(all[static_cast<size_t>(static_cast<long long>(i) * all.size() / want)]);
    return out;
}

using Options = CSyntheticRecording::Options;

// Channels of every layout, MEG and EEG apart; false with error set when one cannot be read.
bool loadChannels(const Options& o, std::vector<CSensorLayout>& layouts, std::vector<Picked>& meg,
                  std::vector<Picked>& eeg, std::string& error) {
    layouts.resize(o.layouts.size());
    for (size_t l = 0; l < layouts.size(); ++l) {
        const std::string& name = o.layouts[l];
        CSensorLayout& layout = layouts[l];
        const int ok = name == "eeg1010"           ? layout.makeEeg1010()
                       : layout.loadEmbedded(name) ? 1
                                                   : layout.readFile(name);
        if (!ok) {
            error = "layout '" + name + "': " + layout.getError();
            return false;
        }
        for (int i = 0; i < layout.getChannelCount(); ++i) {
            const auto& c = *layout.getChannel(i);
            (CSensorLayout::isMegType(c.type) ? meg : eeg).push_back({c, &layout, i, {}});
        }
    }
    return true;
}

// The units unitScale gives the samples.
const char16_t* unitName(CSensorLayout::Type type) {
    switch (type) {
    case CSensorLayout::Type::Magnetometer:
    case CSensorLayout::Type::AxialGradiometer:
        return u"fT";
    case CSensorLayout::Type::PlanarGradiometer:
        return u"fT/cm";
    default:
        return u"\u00B5V";
    }
}

bool addChannels(CMEDataSetBuilder& builder, int session, const std::vector<Picked>& picked,
                 std::string& error) {
    for (const Picked& p : picked) {
        const std::u16string label = widen(p.channel.label);
        CMEDataSetBuilder::Result r;
        int index = -1;
        if (auto sensor = p.layout->makeMegSensor(p.index))
            r = builder.addMegChannel(session, label, *sensor, &index);
        else if (auto electrode = p.layout->makeElectrode(p.index))
            r = builder.addEegChannel(session, label, *electrode, &index);
        if (r && index >= 0)
            r = builder.setChannelUnit(session, index, unitName(p.channel.type));
        if (!r) {
            error = r.message;
            return false;
        }
    }
    return true;
}

bool addEpochs(CMEDataSetBuilder& builder, int session, const Options& o,
               const std::vector<Picked>& picked, std::string& error) {
    CSignalGenerator generator(o.seed,
                               {o.epochs, o.samplesPerEpoch, o.samplingRateHz, o.firstLatencyMs});
    std::vector<double> samples;
    for (int t = 0; t < o.trials; ++t) {
        generator.prepareTrial(t);
        for (size_t c = 0; c < picked.size(); ++c) {
            const int channel = static_cast<int>(c);
            generator.channelSamples(channel, picked[c].direction,
                                     unitScale(picked[c].channel.type), samples);
            const auto r = builder.setChannelEpochs(session, t, channel, samples, o.epochs,
                                                    o.samplingRateHz, o.firstLatencyMs);
            if (!r) {
                error = r.message;
                return false;
            }
        }
        const auto r = builder.setWindows(session, t, o.activeStartMs, o.activeEndMs,
                                          o.controlStartMs, o.controlEndMs);
        if (!r) {
            error = r.message;
            return false;
        }
    }
    return true;
}

std::unique_ptr<CArrayMEDataSetzq> fillData(const Options& o, const std::vector<Picked>& picked,
                                            std::string& error) {
    auto data = std::make_unique<CArrayMEDataSetzq>();
    CMEDataSetBuilder builder(*data);
    int session = 0;
    CSpctmSettings settings;
    if (!o.freqsHz.empty())
        settings.freqsHz = o.freqsHz;
    settings.cycles = o.cycles;
    settings.timeStepMs = o.timeStepMs;
    auto ok = [&](const CMEDataSetBuilder::Result& r) {
        if (!r)
            error = r.message;
        return static_cast<bool>(r);
    };
    if (!ok(builder.addSession(&session)) || !ok(builder.setSpectrumSettings(session, settings)) ||
        !ok(builder.addTrial(session)) || !addChannels(builder, session, picked, error))
        return nullptr;
    for (int t = 1; t < o.trials; ++t) {
        if (!ok(builder.addTrial(session)))
            return nullptr;
    }
    if (!addEpochs(builder, session, o, picked, error))
        return nullptr;
    if (o.computeSpectra && !ok(builder.computeSpectra(session)))
        return nullptr;
    return data;
}

} // namespace

std::unique_ptr<CArrayMEDataSetzq> CSyntheticRecording::build() {
    const Options& o = m_options;
    m_error = checkSizes(o);
    std::vector<CSensorLayout> layouts;
    std::vector<Picked> meg, eeg;
    if (!m_error.empty() || !loadChannels(o, layouts, meg, eeg, m_error))
        return nullptr;
    if (o.megChannels > static_cast<int>(meg.size()) ||
        o.eegChannels > static_cast<int>(eeg.size())) {
        m_error = "asked for " + std::to_string(o.megChannels) + " MEG and " +
                  std::to_string(o.eegChannels) + " EEG channels but the layouts have " +
                  std::to_string(meg.size()) + " and " + std::to_string(eeg.size());
        return nullptr;
    }
    std::vector<Picked> picked = spread(meg, o.megChannels);
    for (const Picked& p : spread(eeg, o.eegChannels))
        picked.push_back(p);
    if (picked.empty()) {
        m_error = "the recording has no channels";
        return nullptr;
    }
    if (static_cast<double>(picked.size()) * o.epochs * o.samplesPerEpoch >
        static_cast<double>(kMaxSamplesPerTrial)) {
        m_error = "channels x epochs x samples exceeds " + std::to_string(kMaxSamplesPerTrial);
        return nullptr;
    }
    setDirections(picked);
    std::unique_ptr<CArrayMEDataSetzq> data = fillData(o, picked, m_error);
    // The nose and ears are marked only when every layout says where the front is.
    const bool known = std::all_of(layouts.begin(), layouts.end(),
                                   [](const CSensorLayout& l) { return l.getHeadFrame().known; });
    if (data && known && !layouts.empty()) {
        const CSensorLayout::HeadFrame& f = layouts.front().getHeadFrame();
        CMEDataSetBuilder(*data).setHeadFrame(0, f.front, f.right);
    }
    return data;
}
