// The host program on files a user brings: a BDF+ recording written by EDFlib and a NumPy
// spectra folder each open and give one PNG per window; files it cannot show are refused with
// one line naming the file and the problem, a non-zero status and no window painted.
#include "IoTestFiles.h"
#include "ProgramRun.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <gtest/gtest.h>
#include <numbers>
#include <string>
#include <sys/stat.h>

using namespace io_test;

namespace {

double sine(double amplitude, double hz, double t) {
    return amplitude * std::sin(2.0 * std::numbers::pi * hz * t);
}

// Eight 10-10 electrodes at 100 Hz for 20 s: occipital alpha (10 Hz, 20 uV) on O1, Oz, O2,
// central beta (20 Hz, 8 uV) on C3, C4, a 6 Hz theta of 5 uV on Fz, Cz, Pz; "stim" every 3 s
// from 2 s, the last (at 20 - 0.5 s) too close to the end for an epoch to 800 ms.
Recording eightElectrodes() {
    Recording rec;
    rec.rateHz = 100;
    const auto alpha = [](double t) { return sine(20.0, 10.0, t); };
    const auto beta = [](double t) { return sine(8.0, 20.0, t); };
    const auto theta = [](double t) { return sine(5.0, 6.0, t); };
    rec.channels = {{"Fz", "uV", theta}, {"Cz", "uV", theta}, {"Pz", "uV", theta},
                    {"C3", "uV", beta},  {"C4", "uV", beta},  {"O1", "uV", alpha},
                    {"Oz", "uV", alpha}, {"O2", "uV", alpha}};
    for (double onset : {2.0, 5.0, 8.0, 11.0, 14.0, 17.0, 19.5})
        rec.events.push_back({onset, 1, "stim"});
    return rec;
}

class ViewerTest : public ::testing::Test {
protected:
    // Runs velmora headless in the temporary folder; stdout to out, stderr to err.
    int run(const std::string& args) {
        ProgramRun r = runProgram(dir.path(), VELMORA_EXE, args, "QT_QPA_PLATFORM=offscreen");
        out = std::move(r.out);
        err = std::move(r.err);
        return r.status;
    }
    // One PNG per window of the class, the contour map the EEG electrodes'.
    void expectWindows(const std::string& snaps, const std::string& role) {
        for (const std::string& png :
             {"single-channel-" + role + ".png", std::string("parameters.png"),
              "contour-eeg-" + role + ".png"})
            EXPECT_TRUE(isPng(dir.path() / snaps / png)) << snaps << "/" << png;
    }

    TempDir dir;
    std::string out, err;
};

TEST_F(ViewerTest, ABdfRecordingOpensAsEpochsAroundItsEvents) {
    write(eightElectrodes(), Format::BdfPlus, dir.path(), "rec");
    ASSERT_EQ(run("rec.bdf --layout eeg1010 --event stim --active 0,800 --control -400,0 "
                  "--snapshot snaps"),
              0)
        << out << err;
    EXPECT_NE(out.find("Read 'rec.bdf' (BDF, 100 Hz)"), std::string::npos) << out;
    EXPECT_NE(out.find("6 epochs of 7 events from -400 to 800 ms (121 samples), 8 channels"),
              std::string::npos)
        << out;
    EXPECT_NE(out.find("left out: 1 epoch running past the ends"), std::string::npos) << out;
    EXPECT_NE(out.find("EEG electrodes 8"), std::string::npos) << out;
    // The Active power peaks at the alpha's amplitude squared (20 uV: 400 uV^2).
    double lo = 0.0, hi = 0.0;
    const auto active = out.find("power (\u00B5V\u00B2): min", out.find("Active:"));
    ASSERT_EQ(
        std::sscanf(out.c_str() + active, "power (\u00B5V\u00B2): min %lf, max %lf", &lo, &hi), 2)
        << out;
    EXPECT_NEAR(hi, 400.0, 20.0);
    EXPECT_LT(lo, hi / 4) << "the least power lies far below the alpha peak";
    // The default frequencies stop below the Nyquist frequency.
    EXPECT_NE(out.find("23 frequencies from 4.0 to 48.0 Hz"), std::string::npos) << out;
    // Without MEG sensors the contour map is the electrodes'.
    expectWindows("snaps", "active");
    EXPECT_EQ(err, "") << "no progress bar off a terminal";

    ASSERT_EQ(run("rec.bdf --event stim --freqs 8,30,0.5 --summary"), 0) << err;
    EXPECT_NE(out.find("45 frequencies from 8.0 to 30.0 Hz"), std::string::npos) << out;
    EXPECT_EQ(out.find("left out, without a physical range"), std::string::npos) << out;

    // Cz's header range made empty: left out with the unplaced channels, and said so.
    setField((dir.path() / "rec.bdf").string(), physicalMaxField(9, 1), "-1000", 8);
    ASSERT_EQ(run("rec.bdf --event stim --drop-unplaced --summary"), 0) << err;
    EXPECT_NE(out.find("left out, without a physical range in the header: Cz\n"), std::string::npos)
        << out;
    EXPECT_NE(out.find("7 channels"), std::string::npos) << out;
}

// Each spectrum setting reaches the data set's settings (the summary reads them back) and the
// spectra; --save-tfr writes what velmora --tfr reads again, never over an existing path.
TEST_F(ViewerTest, SpectrumSettingsReachTheSpectraThatAreSavedForMne) {
    Recording rec = eightElectrodes();
    rec.rateHz = 256;
    write(rec, Format::BdfPlus, dir.path(), "rec");
    const std::string base = "rec.bdf --event stim --freqs 8,12,2 --summary ";
    const std::pair<const char*, const char*> settings[] = {
        {"", "wavelets: 7 cycles, sinusoid power, step 10 ms, threads: one per core"},
        {"--cycles 3 --threads 2", "wavelets: 3 cycles, sinusoid power, step 10 ms, threads: 2"},
        {"--cycles-divisor 2 --zero-mean --normalisation mne --step 20",
         "wavelets: f / 2 cycles, zero mean, L2 norm sqrt(2) (MNE-Python), step 20 ms"},
        {"--cycles-list 3,4.5,6 --step sample", "wavelets: cycles per frequency 3, 4.5, 6, "
                                                "sinusoid power, step 3.90625 ms"}};
    for (const auto& [args, line] : settings) {
        ASSERT_EQ(run(base + args), 0) << args << err;
        EXPECT_NE(out.find(line), std::string::npos) << args << "\n" << out;
    }
    EXPECT_NE(out.find("(step 3.9 ms)"), std::string::npos) << "a spectrum every sample\n" << out;
    // Outward edges by default: the epoch from -402.3 ms; nearest: from -398.4 ms.
    EXPECT_NE(out.find("309 samples at 256 Hz, -402.3 to 800.8 ms"), std::string::npos) << out;
    ASSERT_EQ(run(base + "--edges nearest"), 0) << err;
    EXPECT_NE(out.find("308 samples at 256 Hz, -398.4 to 800.8 ms"), std::string::npos) << out;

    ASSERT_EQ(run(base + "--normalisation mne --save-tfr saved"), 0) << err;
    EXPECT_NE(out.find("Saved the spectra (active, control, result) to 'saved'"), std::string::npos)
        << out;
    const std::string mne = out.substr(out.find("Active:"));
    ASSERT_EQ(run("--tfr saved/active --summary"), 0) << err;
    const std::string active = mne.substr(0, mne.find("Control:"));
    EXPECT_NE(out.find(active.substr(active.find("power ("))), std::string::npos)
        << "the saved power reads back as computed\n"
        << active << out;
    EXPECT_NE(out.find("8 channels, 3 frequencies"), std::string::npos) << out;
    ASSERT_EQ(run(base + "--save-tfr saved"), 1);
    EXPECT_EQ(err, "velmora: 'saved': exists already; choose another name or remove it\n");
}

// Ten electrodes with an occipital alpha burst, written by NumPy (fixtures/make_fixtures.py).
TEST_F(ViewerTest, ANumpySpectraFolderOpensInTheClassAskedFor) {
    ASSERT_EQ(run("--tfr " VIEWER_FIXTURES "/npy_alpha --layout eeg1010 --class result "
                  "--snapshot s"),
              0)
        << out << err;
    EXPECT_NE(out.find("10 channels, 14 frequencies, 41 time points from -200 ms in steps of "
                       "25 ms, as the Result class"),
              std::string::npos)
        << out;
    EXPECT_NE(out.find("Result: 41 time points"), std::string::npos) << out;
    EXPECT_NE(out.find("Active: no spectra"), std::string::npos) << out;
    expectWindows("s", "result");
    EXPECT_EQ(err, "");
}

TEST_F(ViewerTest, FilesItCannotShowAreRefusedWithTheFileAndTheProblem) {
    write(eightElectrodes(), Format::BdfPlus, dir.path(), "rec");
    // A pipe would block BioSig's open forever; unreadable annotations make BioSig print a
    // warning for every data record.
    mkfifo((dir.path() / "fifo.bdf").c_str(), 0600);
    fillAnnotations(write(eightElectrodes(), Format::BdfPlus, dir.path(), "blank"),
                    [](long long, long long) { return 0; });
    const std::string fixtures = IO_FIXTURES;
    const std::pair<std::string, std::string> refused[] = {
        {"none.bdf --event stim", "'none.bdf': no such file"},
        {"fifo.bdf --event stim", "'fifo.bdf': is a pipe (FIFO), not a recording file"},
        {"blank.bdf --event stim", "(the file's events: none; BioSig warned"},
        {"rec.bdf --event resp", "'rec.bdf': no event has text 'resp' (the file's events: 'stim'"},
        {"rec.bdf --event stim --epoch -200,800", "lies outside the epoch span -200 to 800 ms"},
        {"rec.bdf --event stim --layout ctf274", "no channel matches the layout 'ctf274'"},
        {"--tfr " + fixtures + "/npy_int32", "element type '<i4' is not read"},
        {"--tfr " + fixtures + "/npy_nan_channel", "channel 'Cz' holds no finite value"}};
    for (const auto& [args, why] : refused) {
        EXPECT_EQ(run(args + " --snapshot snaps"), 1) << args;
        EXPECT_NE(err.find(why), std::string::npos) << args << ": " << err;
        EXPECT_EQ(err.rfind("velmora: '", 0), 0u) << args << ": " << err;
        EXPECT_EQ(std::count(err.begin(), err.end(), '\n'), 1) << args << ": " << err;
        EXPECT_EQ(out.find("Recording:"), std::string::npos) << args << ": " << out;
    }
    EXPECT_FALSE(std::filesystem::exists(dir.path() / "snaps")) << "no window was painted";
}

} // namespace
