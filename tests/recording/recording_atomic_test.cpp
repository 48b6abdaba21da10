// A refused builder call or computation leaves the data set as it was; the host's selected
// point outlives recomputation and an empty trial reports no selection.
#include "RecordingFixture.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <functional>
#include <gtest/gtest.h>
#include <numbers>
#include <sys/resource.h>

using namespace recording_test;

namespace {

double sine14(long long, double t) {
    return std::sin(2.0 * std::numbers::pi * 14.0 * t);
}

long long stampOf(CMEGDatazq& s) {
    long long trial = 0, stamp = 0;
    s.getSelect(trial, stamp);
    return stamp;
}

// Power of channel 0, class 0, at its first grid point and frequency.
double firstPower(CMDTrialzq& t) {
    const CSpctmChnlzq* s = t.getChannel(0)->getSpctmChnl(false, 0);
    return s ? s->getSpctmDataPtr(2, nullptr, nullptr)[0] : NAN;
}

TEST(RefusedComputation, AnEmptyLaterTrialLeavesTheEarlierTrialAlone) {
    SmallRecording rec;
    rec.computeWith(sine14, coarse());
    CMDTrialzq& first = *rec.session().getTrialzq(0);
    const double power = firstPower(first);
    ASSERT_TRUE(rec.builder.addTrial(0));
    CSpctmSettings finer = coarse();
    finer.freqsHz = {10.0, 12.0, 14.0};
    ASSERT_TRUE(rec.builder.setSpectrumSettings(0, finer));
    const long long stamp = stampOf(rec.session());

    const auto r = rec.builder.computeSpectra(0);
    EXPECT_FALSE(r);
    EXPECT_NE(r.message.find("trial 1"), std::string::npos) << r.message;
    EXPECT_EQ(first.getSpctmTrial(false, 0)->getTrialSpctmFreqPt(), 4);
    EXPECT_EQ(firstPower(first), power);
    EXPECT_EQ(stampOf(rec.session()), stamp);
}

// 662 000 frequencies on 453 grid points of 4 channels: 67 GiB with the group records, 27 GiB
// without them.
CSpctmSettings settingsOf67GiB() {
    CSpctmSettings s;
    s.freqsHz.clear();
    for (int f = 0; f < 662000; ++f) {
        s.freqsHz.push_back(20.0 + 1.4e-4 * f);
    }
    s.cycles = 1000.0;
    s.timeStepMs = 1000.0 / kRate;
    return s;
}

// Runs `check` in a child process whose address space may grow by at most 4 GiB, so that a
// fault allocating tens of GiB fails there instead of exhausting the machine. The child exits
// with 0 when `check` finds nothing wrong, else it prints what it found and exits with 1.
[[noreturn]] void boundedChild(const std::function<std::string()>& check) {
    long long vmKiB = 0;
    std::ifstream status("/proc/self/status");
    for (std::string line; std::getline(status, line);) {
        vmKiB = line.rfind("VmSize:", 0) == 0 ? std::stoll(line.substr(7)) : vmKiB;
    }
    const rlim_t bytes = static_cast<rlim_t>(vmKiB) * 1024 + (4ULL << 30);
    const rlimit limit{bytes, bytes};
    setrlimit(RLIMIT_AS, &limit);
    const std::string found = check();
    std::fprintf(stderr, "%s\n", found.c_str());
    std::exit(found.empty() ? 0 : 1);
}

TEST(RefusedComputation, SettingsBeyondTheMemoryLimitKeepTheSpectra) {
    SmallRecording rec;
    rec.computeWith(sine14, coarse());
    const double power = firstPower(rec.trial());
    const long long stamp = stampOf(rec.session());
    const auto check = [&]() -> std::string {
        const auto r = rec.builder.setSpectrumSettings(0, settingsOf67GiB());
        if (r.ok || r.message.find("67.0 GiB") == std::string::npos) {
            return "settings: " + (r.ok ? std::string("accepted") : r.message);
        }
        if (rec.session().getSpctmSettings().freqsHz.size() != 4 ||
            stampOf(rec.session()) != stamp) {
            return "refused settings changed the session";
        }
        // Settings stored directly on the session: the computation refuses them, keeps all.
        rec.session().setSpctmSettings(settingsOf67GiB());
        const auto c = rec.builder.computeSpectra(0);
        if (c.ok || c.message.find("GiB") == std::string::npos) {
            return "computation: " + (c.ok ? std::string("done") : c.message);
        }
        if (firstPower(rec.trial()) != power ||
            rec.trial().getSpctmTrial(false, 2)->getTrialSpctmFreqPt() != 4) {
            return "refused computation changed the spectra";
        }
        return {};
    };
    EXPECT_EXIT(boundedChild(check), ::testing::ExitedWithCode(0), "");
}

// Axes of one class and one channel's spectrum handed in on trial 0.
void handIn(SmallRecording& rec, long long nTime, int channels) {
    const double freqs[2] = {10.0, 20.0};
    ASSERT_TRUE(rec.builder.setSpectrumAxes(0, 0, 0, nTime, 0.0, 10.0, freqs));
    const std::vector<double> grid(static_cast<std::size_t>(2 * nTime), 3.0);
    for (int c = 0; c < channels; ++c) {
        ASSERT_TRUE(rec.builder.setChannelSpectrum(0, 0, c, 0, grid, grid, grid));
    }
}

// Why the two-point axes and channel 0's spectrum handed in are no longer there; empty when
// they are.
std::string lostAxes(SmallRecording& rec) {
    const CSpctmTrialzq* st = rec.trial().getSpctmTrial(false, 0);
    if (!st || st->getTrialSpctmTimePt() != 2) {
        return "the axes changed";
    }
    return rec.trial().getChannel(0)->getSpctmChnl(false, 0) ? "" : "the spectrum is gone";
}

TEST(RefusedAxes, BeyondTheMemoryLimitSayHowMuchAndKeepTheAxes) {
    SmallRecording rec;
    handIn(rec, 2, 1);
    const auto check = [&]() -> std::string {
        const double one[1] = {10.0};
        // 3e8 points in 4 channels and 18 group grids, 3 components each: 72e9 bytes.
        const auto r = rec.builder.setSpectrumAxes(0, 0, 0, 300'000'000, 0.0, 1.0, one);
        if (r.ok || r.message.find("67.1 GiB") == std::string::npos) {
            return "axes: " + (r.ok ? std::string("accepted") : r.message);
        }
        return lostAxes(rec);
    };
    EXPECT_EXIT(boundedChild(check), ::testing::ExitedWithCode(0), "");
}

TEST(RefusedAxes, ThatCannotBeAllocatedKeepTheAxes) {
#if defined(__SANITIZE_ADDRESS__)
    GTEST_SKIP() << "the address sanitizer aborts on a failed allocation";
#endif
    SmallRecording rec;
    handIn(rec, 2, 1);
    // Within the limit (22 GiB) but beyond the child's address space.
    const auto check = [&]() -> std::string {
        const double one[1] = {10.0};
        const auto r = rec.builder.setSpectrumAxes(0, 0, 0, 100'000'000, 0.0, 1.0, one);
        if (r.ok || r.message.find("memory") == std::string::npos) {
            return "axes: " + (r.ok ? std::string("accepted") : r.message);
        }
        if (rec.trial().getSpctmTrial(true, 0)->setSpctmAxes(100'000'000, 0.0, 1.0, {10.0})) {
            return "the spectrum trial's own axes were allocated";
        }
        return lostAxes(rec);
    };
    EXPECT_EXIT(boundedChild(check), ::testing::ExitedWithCode(0), "");
}

TEST(RefusedEpochs, OnATrialWithHandedInSpectraKeepEverySpectrum) {
    SmallRecording rec;
    handIn(rec, 1, kChannels);
    const auto raw = makeEpochs(sine14);
    const auto r = rec.builder.setChannelEpochs(0, 0, 0, raw, kEpochs, kRate, kFirstMs);
    EXPECT_FALSE(r);
    EXPECT_NE(r.message.find("handed in"), std::string::npos) << r.message;
    EXPECT_TRUE(rec.trial().getChannel(0)->getRawData().empty());
    ASSERT_TRUE(rec.builder.computeSpectra(0));
    for (int c = 0; c < kChannels; ++c) {
        EXPECT_NE(rec.trial().getChannel(c)->getSpctmChnl(false, 0), nullptr) << c;
    }
}

TEST(Selection, TheHostsPointSurvivesReloadAndRecomputation) {
    SmallRecording rec;
    rec.computeWith(sine14, coarse());
    ASSERT_TRUE(rec.builder.setSelectedPoint(0, 0, 0, 3, 2));
    CSpctmTrialzq* st = rec.trial().getSpctmTrial(true, 0);
    ASSERT_TRUE(st->isSelectSetByHost());

    EXPECT_EQ(rec.trial().reloadSpctmDataAll(), 1);
    long long t = -1, f = -1;
    EXPECT_EQ(st->getTrialSpctmSelectTimeFreqBB(t, f), 0);
    EXPECT_FALSE(st->isSelectSetByHost()); // an empty trial has no selection

    ASSERT_TRUE(rec.builder.computeSpectra(0));
    ASSERT_EQ(st->getTrialSpctmSelectTimeFreqBB(t, f), 1);
    EXPECT_EQ(t, 3);
    EXPECT_EQ(f, 2);
    EXPECT_TRUE(st->isSelectSetByHost());

    st->clear(); // forgets the host's choice as well
    EXPECT_FALSE(st->isSelectSetByHost());
    ASSERT_TRUE(rec.builder.computeSpectra(0));
    EXPECT_FALSE(st->isSelectSetByHost());
    ASSERT_EQ(st->getTrialSpctmSelectTimeFreqBB(t, f), 1);
    EXPECT_EQ(f, 1); // the default: 14 Hz carries the largest power
}

TEST(Selection, FollowsItsLatencyToANewGridOrFallsBackToTheDefault) {
    SmallRecording rec;
    rec.computeWith(sine14, coarse());                        // Active grid 300, 320, ... ms
    ASSERT_TRUE(rec.builder.setSelectedPoint(0, 0, 0, 1, 2)); // 320 ms, 20 Hz
    ASSERT_TRUE(rec.builder.setSelectedPoint(0, 0, 1, 0, 2)); // -900 ms, 20 Hz
    CSpctmSettings wider = coarse();
    wider.timeStepMs = 40.0; // grid points at multiples of 40 ms
    wider.freqsHz = {14.0, 20.0};
    ASSERT_TRUE(rec.builder.setSpectrumSettings(0, wider));
    ASSERT_TRUE(rec.builder.computeSpectra(0));

    long long t = -1, f = -1;
    CSpctmTrialzq* active = rec.trial().getSpctmTrial(false, 0);
    ASSERT_EQ(active->getTrialSpctmSelectTimeFreqBB(t, f), 1);
    EXPECT_EQ(t, 0); // 320 ms is the new first point
    EXPECT_EQ(f, 1);
    EXPECT_TRUE(active->isSelectSetByHost());
    CSpctmTrialzq* control = rec.trial().getSpctmTrial(false, 1);
    EXPECT_FALSE(control->isSelectSetByHost()); // -900 ms is no longer on the grid
    ASSERT_EQ(control->getTrialSpctmSelectTimeFreqBB(t, f), 1);
    EXPECT_EQ(f, 0); // the largest group RMS lies at 14 Hz
}

} // namespace
