// Epoch rules: left-out epochs, channel choice and placement, channel types, progress.
#include "IoTestFiles.h"
#include "io/CEpochImport.h"

#include <cmath>
#include <fstream>
#include <gtest/gtest.h>

using namespace io_test;

namespace {

CEpochImport::Options stimEpochs(const std::string& path) {
    CEpochImport::Options o;
    o.path = path;
    o.eventTexts = {" stim "}; // trimmed before matching
    o.epochStartMs = -150.0;
    o.epochEndMs = 180.0;
    o.controlStartMs = -150.0;
    o.controlEndMs = 0.0;
    o.activeStartMs = 0.0;
    o.activeEndMs = 150.0;
    return o;
}

TEST(EpochImport, LeavesOutEpochsWithSaturatedSamplesAndCountsThem) {
    TempDir dir;
    Recording rec = standardRecording(Format::BdfPlus);
    // One sample beyond the physical range inside the epoch of the 7.4 s stimulus only.
    rec.channels[1].at = [](double t) { return std::abs(t - 7.5) < 0.002 ? 5000.0 : cz(t); };
    CEpochImport import(stimEpochs(write(rec, Format::BdfPlus, dir.path(), "sat")));
    CArrayMEDataSetzq data;
    ASSERT_TRUE(import.build(data)) << import.build(data).message;
    EXPECT_EQ(import.report().eventsMatched, 5);
    EXPECT_EQ(import.report().epochsNonFinite, 1);
    EXPECT_EQ(import.report().epochsPastEnds, 0); // 0.2 s and 19.8 s fit from -150 to 180 ms
    EXPECT_EQ(import.report().epochsUsed, 4);
    // The kept epochs are those of 0.2, 3.0, 11.85 and 19.8 s: the third starts 39 samples
    // before 11.85 s.
    const CMDTrialzq& trial = *data.getSessionData(0)->getTrialzq(0);
    const long long n = trial.getEpochLength();
    const auto& ramp = const_cast<CMDTrialzq&>(trial).getChannel(2)->getRawData();
    EXPECT_NEAR(ramp[2 * n], pz((std::llround(11.85 * kRate) - 39.0) / kRate), 1e-3);
}

TEST(EpochImport, PlacesChannelsCaseInsensitivelyAndDropsOrRefusesTheRest) {
    TempDir dir;
    Recording rec = standardRecording(Format::EdfPlus);
    rec.channels[0].label = "FZ";
    rec.channels.push_back({"EXG1", "uV", fz});
    rec.channels.push_back({"Status", "", [](double) { return 0.0; }});
    auto o = stimEpochs(write(rec, Format::EdfPlus, dir.path(), "extra"));
    CArrayMEDataSetzq data;

    CEpochImport refuse(o);
    const CIoResult r = refuse.build(data);
    EXPECT_FALSE(r);
    EXPECT_NE(r.message.find("2 channels have no position"), std::string::npos) << r.message;
    EXPECT_NE(r.message.find("'EXG1', 'Status'"), std::string::npos) << r.message;
    EXPECT_EQ(data.getSessionCount(), 0);

    o.montage.dropUnplaced = true;
    CEpochImport drop(o);
    ASSERT_TRUE(drop.build(data));
    EXPECT_EQ(drop.report().channels, (std::vector<std::string>{"FZ", "Cz", "Pz"}));
    EXPECT_EQ(drop.report().droppedChannels, (std::vector<std::string>{"EXG1", "Status"}));
    EXPECT_EQ(data.getSessionData(0)->getTrialzq(0)->getChannel(0)->label, u"FZ");

    o.channels = {"pz", "EXG1"};
    o.montage.dropUnplaced = false;
    CEpochImport chosen(o);
    EXPECT_FALSE(chosen.build(data)); // EXG1 asked for, still unplaced
    o.channels = {"pz"};
    CEpochImport one(o);
    ASSERT_TRUE(one.build(data));
    EXPECT_EQ(data.getSessionData(0)->getTrialzq(0)->getTotalChannel(), 1);
}

// Each channel keeps the unit the file names, with its values in it: the micro sign for
// "uV", an unknown unit as given, and values equal to the file's numbers in that unit.
TEST(EpochImport, TakesTheTypeFromTheLayoutElseFromTheUnit) {
    TempDir dir;
    Recording rec = standardRecording(Format::EdfPlus);
    rec.channels = {{"Fz", "uV", fz},
                    {"MAG1", "fT", fz},
                    {"MEG0111", "uV", fz},
                    {"Cz", "mmHg", pz},
                    {"MEG0112", "fT/cm", fz}};
    // A position-only layout knows no types; the Neuromag layout calls MEG0111 a magnetometer.
    std::ofstream(dir.file("positions.txt")) << "Fz 0 0.07 0.07\nMAG1 0.05 0 0.11\nCz 0 0 0.1\n";
    auto o = stimEpochs(write(rec, Format::EdfPlus, dir.path(), "types"));
    o.montage.layouts = {dir.file("positions.txt"), "meg306-neuromag"};
    CEpochImport import(o);
    CArrayMEDataSetzq data;
    ASSERT_TRUE(import.build(data)) << import.build(data).message;
    CMDTrialzq& trial = *data.getSessionData(0)->getTrialzq(0);
    EXPECT_EQ(trial.getChannel(0)->getChannelType(), CMDChannelzq::EegElectrode);
    EXPECT_EQ(trial.getChannel(1)->getChannelType(), CMDChannelzq::MegSensor);
    EXPECT_EQ(trial.getChannel(2)->getChannelType(), CMDChannelzq::MegSensor);
    double normal[3] = {};
    trial.getChannel(1)->getMEGCoilzq(0)->getCoilOrientationD(normal);
    EXPECT_NEAR(normal[0], 0.05 / std::hypot(0.05, 0.11), 1e-9); // facing out of the head
    EXPECT_EQ(trial.getChannel(3)->getChannelType(), CMDChannelzq::EegElectrode);

    const std::u16string units[] = {u"\u00B5V", u"fT", u"\u00B5V", u"mmHg", u"fT/cm"};
    for (int c = 0; c < 5; ++c)
        EXPECT_EQ(trial.getChannel(c)->unit, units[c]) << c;
    // The first epoch starts 150 ms before the stimulus at 0.2 s: 39 samples before it.
    const double start = (std::llround(kStimSec[0] * kRate) - 39.0) / kRate;
    for (int c : {0, 1})
        EXPECT_NEAR(trial.getChannel(c)->getRawData()[10], fz(start + 10.0 / kRate), 0.05) << c;
    EXPECT_NEAR(trial.getChannel(3)->getRawData()[10], pz(start + 10.0 / kRate), 0.05);
}

// BioSig names the units of formats other than EDF and BDF itself: a tesla "Wb m-2".
TEST(EpochImport, UnitsBioSigNamesAreWrittenAsTheViewsShowThem) {
    TempDir dir;
    Recording rec = standardRecording(Format::Gdf);
    rec.channels = {{"Fz", "uV", fz}, {"MAG1", "fT", fz}};
    std::ofstream(dir.file("positions.txt")) << "Fz 0 0.07 0.07\nMAG1 0.05 0 0.11\n";
    auto o = stimEpochs(write(rec, Format::Gdf, dir.path(), "units"));
    o.eventTexts = {};
    o.eventCodes = {1};
    o.montage.layouts = {dir.file("positions.txt")};
    CEpochImport import(o);
    CArrayMEDataSetzq data;
    ASSERT_TRUE(import.build(data)) << import.build(data).message;
    CMDTrialzq& trial = *data.getSessionData(0)->getTrialzq(0);
    EXPECT_EQ(trial.getChannel(0)->unit, u"\u00B5V");
    EXPECT_EQ(trial.getChannel(1)->unit, u"fT");
}

TEST(EpochImport, TheFirstLayoutPlacingALabelWins) {
    TempDir dir;
    std::ofstream(dir.file("front.txt")) << "Fz 0 0.07 0.07\n";
    std::ofstream(dir.file("top.txt")) << "FZ 0 0 0.1\n";
    auto o =
        stimEpochs(write(standardRecording(Format::EdfPlus), Format::EdfPlus, dir.path(), "two"));
    o.channels = {"Fz"};
    const auto placedAt = [&](std::vector<std::string> layouts) {
        o.montage.layouts = std::move(layouts);
        CArrayMEDataSetzq data;
        EXPECT_TRUE(CEpochImport(o).build(data));
        double xyz[3] = {};
        data.getSessionData(0)->getTrialzq(0)->getChannel(0)->getChannelPositionD(xyz);
        return xyz[2];
    };
    EXPECT_DOUBLE_EQ(placedAt({dir.file("front.txt"), dir.file("top.txt")}), 0.07);
    EXPECT_DOUBLE_EQ(placedAt({dir.file("top.txt"), dir.file("front.txt")}), 0.1);
    EXPECT_DOUBLE_EQ(placedAt({dir.file("top.txt"), "eeg1010"}), 0.1);
}

TEST(EpochImport, ReportsProgressAndCancelsWithoutChange) {
    TempDir dir;
    auto o =
        stimEpochs(write(standardRecording(Format::EdfPlus), Format::EdfPlus, dir.path(), "p"));
    std::vector<std::pair<CIoProgress::Stage, long long>> calls;
    o.progress = [&](CIoProgress::Stage stage, long long done, long long total) {
        calls.push_back({stage, done});
        return stage != CIoProgress::Stage::Channels || done < total;
    };
    // The host shows Pz's epochs of another span when the new import is cancelled.
    CArrayMEDataSetzq data;
    auto before = o;
    before.progress = {};
    before.channels = {"Pz"};
    before.epochStartMs = before.controlStartMs = -300.0;
    ASSERT_TRUE(CEpochImport(before).build(data));
    CMDTrialzq* shown = data.getSessionData(0)->getTrialzq(0);
    const std::vector<double> samples = shown->getChannel(0)->getRawData();
    CEpochImport import(o);
    const CIoResult r = import.build(data);
    EXPECT_FALSE(r);
    EXPECT_NE(r.message.find("cancelled"), std::string::npos);
    ASSERT_EQ(data.getSessionCount(), 1); // the target as it was, contents and all
    CMDTrialzq* now = data.getSessionData(0)->getTrialzq(0);
    EXPECT_EQ(now, shown);
    ASSERT_EQ(now->getTotalChannel(), 1);
    EXPECT_EQ(now->getChannel(0)->label, u"Pz");
    EXPECT_EQ(now->getChannel(0)->getRawData(), samples);
    EXPECT_DOUBLE_EQ(now->getWindowStartMs(1), -300.0);
    using S = CIoProgress::Stage;
    const std::vector<std::pair<S, long long>> expected = {
        {S::Reading, 1}, {S::Reading, 2},  {S::Reading, 3},  {S::Reading, 4},
        {S::Reading, 5}, {S::Channels, 1}, {S::Channels, 2}, {S::Channels, 3}};
    EXPECT_EQ(calls, expected);
}

} // namespace

// At 256 Hz an epoch from -400 ms widened outward starts at sample -103 (-402.3 ms); rounded to
// the nearest sample, as MNE-Python cuts it, at sample -102 (-398.4 ms), one sample shorter.
// The Control window from -400 ms keeps its start, or starts at the epoch's first sample.
TEST(EpochImport, EpochEdgesWidenOutwardOrRoundToTheNearestSample) {
    TempDir dir;
    auto o =
        stimEpochs(write(standardRecording(Format::EdfPlus), Format::EdfPlus, dir.path(), "e"));
    o.epochStartMs = o.controlStartMs = -400.0;
    o.epochEndMs = o.activeEndMs = 800.0;
    struct Case {
        CEpochImport::Edges edges;
        long long samples;
        double firstMs;
    };
    for (const Case& c : {Case{CEpochImport::Edges::Outward, 309, -103 * 1000.0 / 256},
                          Case{CEpochImport::Edges::Nearest, 308, -102 * 1000.0 / 256}}) {
        o.edges = c.edges;
        CEpochImport import(o);
        CArrayMEDataSetzq data;
        const CIoResult r = import.build(data);
        ASSERT_TRUE(r) << r.message;
        EXPECT_EQ(import.report().samplesPerEpoch, c.samples);
        EXPECT_DOUBLE_EQ(import.report().firstLatencyMs, c.firstMs);
        const CMDTrialzq& trial = *data.getSessionData(0)->getTrialzq(0);
        EXPECT_EQ(trial.getEpochLength(), c.samples);
        EXPECT_NEAR(trial.getWindowStartMs(1), std::max(-400.0, c.firstMs), 1e-9);
    }
    // Ties go to the even sample, as Python's round does: -5.859375 ms is sample -1.5.
    o.edges = CEpochImport::Edges::Nearest;
    o.epochStartMs = o.controlStartMs = -500.0 * 3.0 / 256.0;
    CEpochImport tie(o);
    CArrayMEDataSetzq data;
    ASSERT_TRUE(tie.build(data));
    EXPECT_DOUBLE_EQ(tie.report().firstLatencyMs, -2 * 1000.0 / 256);
}
