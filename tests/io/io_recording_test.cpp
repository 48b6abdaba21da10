// Recordings of every format the tests can write, read back through velmora::io: channels,
// events, samples away from block starts, and epochs carrying the known sinusoids.
#include "IoTestFiles.h"
#include "io/CEpochImport.h"
#include "io/CRecordingFile.h"

#include <algorithm>
#include <cmath>
#include <gtest/gtest.h>

using namespace io_test;

namespace {

class RecordingFormats : public ::testing::TestWithParam<Format> {
protected:
    void SetUp() override {
        m_path = write(standardRecording(GetParam()), GetParam(), m_dir.path(), "rec");
    }
    // Sample tolerance: EDF stores 16 bits over +-1000 uV; the others are finer.
    double tolerance() const { return GetParam() == Format::EdfPlus ? 0.05 : 1e-3; }

    TempDir m_dir;
    std::string m_path;
};

std::vector<CRecordingFile::Event> stimuli(const CRecordingFile& file, Format format) {
    std::vector<CRecordingFile::Event> out;
    for (const auto& e : file.events()) {
        if (format == Format::Gdf ? e.code == 1 : e.text == stimText(format)) {
            out.push_back(e);
        }
    }
    return out;
}

TEST_P(RecordingFormats, ReadsChannelsEventsAndSamples) {
    CRecordingFile file;
    ASSERT_TRUE(file.open(m_path)) << file.open(m_path).message;
    ASSERT_EQ(file.channels().size(), 3u);
    EXPECT_EQ(file.channels()[0].label, "Fz");
    EXPECT_EQ(file.channels()[2].label, "Pz");
    EXPECT_EQ(file.channels()[1].unit, "uV");
    EXPECT_DOUBLE_EQ(file.samplingRateHz(), kRate);
    EXPECT_EQ(file.sampleCount(), 20LL * kRate);

    const auto stim = stimuli(file, GetParam());
    ASSERT_EQ(stim.size(), std::size(kStimSec));
    for (std::size_t i = 0; i < stim.size(); ++i) {
        EXPECT_EQ(stim[i].sample, std::llround(kStimSec[i] * kRate));
        EXPECT_NEAR(stim[i].onsetSec, kStimSec[i], 0.5 / kRate); // positions are samples
    }

    // Start inside the fourth block and cross two block ends; channels in asked order.
    const long long first = 3 * kRate + 100, count = 2 * kRate + 7;
    const int channels[2] = {2, 0};
    std::vector<double> out;
    ASSERT_TRUE(file.readSamples(channels, first, count, out));
    ASSERT_EQ(out.size(), static_cast<std::size_t>(2 * count));
    for (long long s = 0; s < count; s += 37) {
        const double t = static_cast<double>(first + s) / kRate;
        EXPECT_NEAR(out[s], pz(t), tolerance()) << "sample " << s;
        EXPECT_NEAR(out[count + s], fz(t), tolerance()) << "sample " << s;
    }
    EXPECT_FALSE(file.readSamples(channels, file.sampleCount() - 10, 11, out));
}

// Overlapping, repeated, record-sharing and separate ranges, the last one ending the file.
TEST_P(RecordingFormats, ReadsRangesTogetherAsSeparateReadsDo) {
    CRecordingFile file;
    ASSERT_TRUE(file.open(m_path)) << file.open(m_path).message;
    const long long count = kRate + kRate / 2 + 3;
    const std::vector<long long> firsts = {
        40, 300, 300, 5 * kRate - 3, 5 * kRate + 200, 12 * kRate + 9, file.sampleCount() - count};
    const auto n = static_cast<long long>(firsts.size());
    const int channels[2] = {2, 0};
    std::vector<double> pzRead(n * count), fzRead(n * count);
    std::vector<std::pair<std::size_t, std::size_t>> order;
    const auto take = [&](std::size_t channel, std::size_t range, std::span<const double> x) {
        ASSERT_EQ(x.size(), static_cast<std::size_t>(count));
        order.push_back({channel, range});
        std::copy(x.begin(), x.end(), (channel == 0 ? pzRead : fzRead).begin() + range * count);
    };
    std::vector<long long> done;
    ASSERT_TRUE(file.readRanges(channels, firsts, count, take, [&](long long d) {
        done.push_back(d);
        return true;
    }));
    for (std::size_t channel : {0u, 1u}) { // each channel's ranges in order, every one once
        std::vector<std::size_t> ranges;
        for (const auto& [c, r] : order) {
            if (c == channel) {
                ranges.push_back(r);
            }
        }
        EXPECT_EQ(ranges, (std::vector<std::size_t>{0, 1, 2, 3, 4, 5, 6}));
    }
    ASSERT_FALSE(done.empty());
    EXPECT_TRUE(std::is_sorted(done.begin(), done.end()));
    EXPECT_EQ(done.back(), n);
    std::vector<double> one;
    for (long long r = 0; r < n; ++r) {
        ASSERT_TRUE(file.readSamples(channels, firsts[r], count, one));
        EXPECT_TRUE(std::equal(one.begin(), one.begin() + count, pzRead.begin() + r * count))
            << "range " << r;
        EXPECT_TRUE(std::equal(one.begin() + count, one.end(), fzRead.begin() + r * count))
            << "range " << r;
    }

    const auto stopAfterFirst = [](long long) { return false; };
    const CIoResult stopped = file.readRanges(channels, firsts, count, take, stopAfterFirst);
    EXPECT_FALSE(stopped);
    EXPECT_NE(stopped.message.find("cancelled"), std::string::npos) << stopped.message;
    const std::vector<long long> descending = {300, 40};
    EXPECT_FALSE(file.readRanges(channels, descending, count, take));
    const std::vector<long long> pastEnd = {40, file.sampleCount() - count + 1};
    EXPECT_FALSE(file.readRanges(channels, pastEnd, count, take));
}

TEST_P(RecordingFormats, EpochsAroundEventsCarryTheSinusoidPower) {
    CEpochImport::Options o;
    o.path = m_path;
    if (GetParam() == Format::Gdf) {
        o.eventCodes = {1};
    } else {
        o.eventTexts = {stimText(GetParam())};
    }
    o.epochStartMs = -500.0;
    o.epochEndMs = 1000.0;
    o.controlStartMs = -400.0;
    o.controlEndMs = -100.0;
    o.activeStartMs = 100.0;
    o.activeEndMs = 800.0;
    o.spectrum.freqsHz = {6.0, 10.0, 16.0, 23.0};
    o.computeSpectra = true;
    CEpochImport import(o);
    CArrayMEDataSetzq data;
    const CIoResult r = import.build(data);
    ASSERT_TRUE(r) << r.message;

    const auto& rep = import.report();
    EXPECT_EQ(rep.eventsMatched, 5);
    EXPECT_EQ(rep.epochsPastEnds, 2); // 0.2 s runs past the start, 19.8 s past the end
    EXPECT_EQ(rep.epochsUsed, 3);
    EXPECT_EQ(rep.samplesPerEpoch, 128 + 256 + 1);
    EXPECT_DOUBLE_EQ(rep.firstLatencyMs, -500.0);

    ASSERT_EQ(data.getSessionCount(), 1);
    CMDTrialzq& trial = *data.getSessionData(0)->getTrialzq(0);
    ASSERT_EQ(trial.getTotalChannel(), 3);
    EXPECT_EQ(trial.getEpochCount(), 3);
    EXPECT_EQ(trial.getEpochLength(), rep.samplesPerEpoch);
    EXPECT_DOUBLE_EQ(trial.getWindowStartMs(0), 100.0);
    EXPECT_DOUBLE_EQ(trial.getWindowEndMs(1), -100.0);
    EXPECT_EQ(trial.getChannel(0)->getChannelType(), CMDChannelzq::EegElectrode);
    // The samples are microvolts and say so; their power is in square microvolts.
    EXPECT_EQ(trial.getChannel(0)->unit, u"\u00B5V");
    EXPECT_EQ(
        data.getSessionData(0)->getSpctmSettings().getSpctmUnit(trial.getChannel(0)->unit, 0, 2),
        u"\u00B5V\u00B2");

    // The ramp dates every sample: epoch e starts 500 ms before its event.
    const auto& ramp = trial.getChannel(2)->getRawData();
    for (int e = 0; e < 3; ++e) {
        const double start = (std::llround(kStimSec[e + 1] * kRate) - 128.0) / kRate;
        EXPECT_NEAR(ramp[e * rep.samplesPerEpoch], pz(start), tolerance()) << "epoch " << e;
        EXPECT_NEAR(ramp[e * rep.samplesPerEpoch + 300], pz(start + 300.0 / kRate), tolerance());
    }

    // Power a^2 of a sinusoid of amplitude a at its frequency, mid Active window.
    const auto power = [&](int channel, int freq) {
        long long nT = 0, nF = 0;
        const double* p =
            trial.getChannel(channel)->getSpctmChnl(false, 0)->getSpctmDataPtr(2, &nT, &nF);
        return p[(nT / 2) * nF + freq];
    };
    EXPECT_NEAR(power(0, 1), 400.0, 20.0);
    EXPECT_NEAR(power(1, 1), 25.0, 2.5);
    EXPECT_NEAR(power(1, 3), 900.0, 45.0);
    EXPECT_LT(power(0, 3), 4.0);
}

// Epochs from -150 to 180 ms span samples -39 to +47 around their event: events at samples
// 39 and 5072 fit exactly, one sample earlier or later they run past an end and are left out
// without failing the import.
TEST_P(RecordingFormats, EpochsOneSamplePastAnEndAreLeftOutAndCounted) {
    Recording rec = standardRecording(GetParam());
    const long long last = 20LL * kRate - 1;
    rec.events.clear();
    for (long long sample : {38LL, 39LL, last - 47, last - 46}) {
        rec.events.push_back({static_cast<double>(sample) / kRate, 1, stimText(GetParam())});
    }
    CEpochImport::Options o;
    o.path = write(rec, GetParam(), m_dir.path(), "edges");
    if (GetParam() == Format::Gdf) {
        o.eventCodes = {1};
    } else {
        o.eventTexts = {stimText(GetParam())};
    }
    o.epochStartMs = o.controlStartMs = -150.0;
    o.epochEndMs = o.activeEndMs = 180.0;
    o.controlEndMs = o.activeStartMs = 0.0;
    CEpochImport import(o);
    CArrayMEDataSetzq data;
    const CIoResult r = import.build(data);
    ASSERT_TRUE(r) << r.message;
    EXPECT_EQ(import.report().epochsPastEnds, 2);
    ASSERT_EQ(import.report().epochsUsed, 2);
    ASSERT_EQ(import.report().samplesPerEpoch, 87);
    const auto& ramp = data.getSessionData(0)->getTrialzq(0)->getChannel(2)->getRawData();
    EXPECT_NEAR(ramp.front(), pz(0.0), tolerance());
    EXPECT_NEAR(ramp.back(), pz(static_cast<double>(last) / kRate), tolerance());
}

INSTANTIATE_TEST_SUITE_P(Formats, RecordingFormats,
                         ::testing::Values(Format::EdfPlus, Format::BdfPlus, Format::Gdf,
                                           Format::BrainVision),
                         [](const auto& info) { return formatName(info.param); });

} // namespace
