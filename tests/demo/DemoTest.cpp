// The host program as a user runs it: --help documents the options, --snapshot writes one
// PNG per window and exits 0, a display that does not answer falls back to snapshots, and
// nonsense options are refused with the reason and status 2.
#include "ProgramRun.h"

#include <filesystem>
#include <gtest/gtest.h>
#include <string>
#include <unistd.h>
#include <utility>

namespace {

class DemoTest : public ::testing::Test {
protected:
    void SetUp() override {
        dir = std::filesystem::temp_directory_path() /
              ("velmora-demo-test-" + std::to_string(::getpid()));
        std::filesystem::create_directories(dir);
    }
    void TearDown() override { std::filesystem::remove_all(dir); }

    // Runs the demo in dir with the environment settings env (headless unless they say
    // otherwise, no runtime directory); stdout goes to out, stderr to err.
    int run(const std::string& args, const std::string& env = "QT_QPA_PLATFORM=offscreen") {
        ProgramRun r = runProgram(dir, VELMORA_DEMO_EXE, args, env);
        out = std::move(r.out);
        err = std::move(r.err);
        return r.status;
    }
    void expectPngs(const std::filesystem::path& snaps) {
        for (const char* png :
             {"single-channel-active.png", "parameters.png", "contour-active.png"})
            EXPECT_TRUE(isPng(snaps / png)) << png;
    }

    std::filesystem::path dir;
    std::string out, err;
};

TEST_F(DemoTest, HelpDocumentsEveryOption) {
    ASSERT_EQ(run("--help"), 0);
    for (const char* option : {"--snapshot DIR",
                               "--summary",
                               "--seed N",
                               "--help",
                               "--eeg",
                               "--class C",
                               "--sweep N",
                               "--movie FILE",
                               "RECORDING",
                               "--event TEXT",
                               "--event-code N",
                               "--active A,B",
                               "--control C,D",
                               "--epoch S,E",
                               "--tfr DIR|FILE",
                               "--condition NAME",
                               "--layout L",
                               "--drop-unplaced",
                               "--freqs LO,HI[,STEP]",
                               "--sensors KIND",
                               "--cycles N",
                               "--cycles-divisor C",
                               "--cycles-list A,B,...",
                               "--zero-mean",
                               "--normalisation sinusoid|mne",
                               "--step MS|sample",
                               "--threads N",
                               "--edges nearest|outward",
                               "--save-tfr PATH"})
        EXPECT_NE(out.find(option), std::string::npos) << option;
}

TEST_F(DemoTest, RefusesWhatAnOptionDoesNotTakeWithTheReason) {
    const std::string seed = "--seed needs a whole number from 0 to 18446744073709551615, not ";
    const std::string sweep = "--sweep needs a number of ticks from 1 to 1000000, not ";
    const std::string window = "--active needs START,END in ms with START before END, not ";
    const std::string freqs = "--freqs needs LO,HI or LO,HI,STEP in Hz with 0 < LO < HI, STEP > 0 "
                              "and at most 1000 frequencies, not ";
    const std::pair<const char*, std::string> refused[] = {
        {"--bogus", "unknown option --bogus"},
        {"a.bdf stray --event s", "unexpected argument 'stray' (one RECORDING at most)"},
        {"''", "RECORDING needs a path, not an empty one"},
        {"a.bdf", "RECORDING 'a.bdf' needs --event TEXT or --event-code N"},
        {"a.bdf --tfr d --event s", "give a RECORDING or --tfr, not both"},
        {"--event s", "--event needs a RECORDING"},
        {"--tfr d --active 0,800", "--active needs a RECORDING"},
        {"--layout eeg1010", "--layout needs a RECORDING or --tfr"},
        {"--drop-unplaced", "--drop-unplaced needs a RECORDING or --tfr"},
        {"a.bdf --event s --condition c", "--condition needs --tfr"},
        {"--tfr d --seed 3",
         "--seed is for the synthetic recording, not with a RECORDING or --tfr"},
        {"a.bdf --event ''", "--event needs a value, not an empty one"},
        {"a.bdf --event-code 65536", "--event-code needs a whole number from 0 to 65535, not "
                                     "'65536'"},
        {"a.bdf --event s --active 800,0", window + "'800,0'"},
        {"a.bdf --event s --active 0,0", window + "'0,0'"},
        {"a.bdf --event s --active '0;800'", window + "'0;800'"},
        {"a.bdf --event s --active 0,800ms", window + "'0,800ms'"},
        {"a.bdf --event s --active 0,inf", window + "'0,inf'"},
        {"--freqs 2,40", "--freqs needs a RECORDING"},
        {"a.bdf --event s --freqs 40,2", freqs + "'40,2'"},
        {"a.bdf --event s --freqs 0,40", freqs + "'0,40'"},
        {"a.bdf --event s --freqs 2,40,", freqs + "'2,40,'"},
        {"a.bdf --event s --freqs 2,40,0", freqs + "'2,40,0'"},
        {"a.bdf --event s --freqs 1,1001,1", freqs + "'1,1001,1'"},
        {"a.bdf --event s --epoch ,800", "--epoch needs START,END in ms with START before END, "
                                         "not ',800'"},
        {"--seed -1", seed + "'-1'"},
        {"--seed 18446744073709551616", seed + "'18446744073709551616'"},
        {"--seed 12x", seed + "'12x'"},
        {"--seed ' 7'", seed + "' 7'"},
        {"--seed", "--seed needs a value"},
        {"--seed --summary", "--seed needs a value"},
        {"--snapshot ''", "--snapshot needs a path, not an empty one"},
        {"--snapshot", "--snapshot needs a value"},
        {"--snapshot x --sweep 3 --movie ''", "--movie needs a path, not an empty one"},
        {"--class ''", "--class takes active, control or result, not ''"},
        {"--class middle", "--class takes active, control or result, not 'middle'"},
        {"--sweep 5", "--sweep needs --snapshot DIR"},
        {"--snapshot x --sweep 0", sweep + "'0'"},
        {"--snapshot x --sweep 1000001", sweep + "'1000001'"},
        {"--snapshot x --sweep +3", sweep + "'+3'"},
        {"--snapshot x --movie m.mp4", "--movie needs --sweep N"},
        {"--sensors planar", "--sensors takes mag, grad, axial, all or eeg, not 'planar'"},
        {"--eeg --sensors grad",
         "--sensors grad chooses MEG sensors, but the EEG electrodes were asked for"},
        {"--summary=1", "--summary takes no value"},
        {"--cycles 3", "--cycles needs a RECORDING"},
        {"--zero-mean", "--zero-mean needs a RECORDING"},
        {"a.bdf --event s --cycles 0.5",
         "--cycles needs a number of cycles from 1 to 1000, not '0.5'"},
        {"a.bdf --event s --cycles-divisor -2",
         "--cycles-divisor needs a number above 0 (the cycles are f / C), not '-2'"},
        {"a.bdf --event s --cycles-divisor 5",
         "--cycles-divisor: the cycles at 4 Hz (0.8) must lie between 1 and 1000 (the default "
         "frequencies: 4 to 62 Hz in steps of 2 Hz)"},
        {"a.bdf --event s --freqs 4,8 --cycles-list 3,4",
         "--cycles-list: the cycles per frequency list has 2 values for 3 frequencies"},
        {"a.bdf --event s --cycles-list 3,,4",
         "--cycles-list needs numbers of cycles from 1 to 1000, separated by commas, one for "
         "each frequency, not '3,,4'"},
        {"a.bdf --event s --cycles 3 --cycles-list 3",
         "give one of --cycles, --cycles-divisor and --cycles-list, not several"},
        {"a.bdf --event s --normalisation l2", "--normalisation takes sinusoid or mne, not 'l2'"},
        {"a.bdf --event s --step 0",
         "--step needs a time step in ms above 0 and at most 1000000, or sample, not '0'"},
        {"a.bdf --event s --step samples",
         "--step needs a time step in ms above 0 and at most 1000000, or sample, not "
         "'samples'"},
        {"a.bdf --event s --threads 1025",
         "--threads needs a whole number from 0 to 1024 (0: one per processor core), not "
         "'1025'"},
        {"a.bdf --event s --edges round", "--edges takes nearest or outward, not 'round'"},
        {"--save-tfr ''", "--save-tfr needs a path, not an empty one"},
        // Arguments quoted in a refusal keep it one line of text.
        {"\"$(printf '\\055-bo\\ngus\\274')\"", "unknown option --bo\\x0Agus\xEF\xBF\xBD"},
        {"--class \"$(printf 'mid\\tdle\\302\\233')\"",
         "--class takes active, control or result, not 'mid\\x09dle\\x9B'"}};
    for (const auto& [args, why] : refused) {
        EXPECT_EQ(run(args), 2) << args;
        EXPECT_NE(err.find("velmora: " + why + "\n"), std::string::npos) << args << err;
        EXPECT_EQ(out, "") << args;
    }
    EXPECT_FALSE(std::filesystem::exists(dir / "x")) << "a refused run writes nothing";
    // Negative latencies are values, not options; a thousand frequencies are taken.
    EXPECT_EQ(run("none.bdf --event s --control -400.5,-0.5 --epoch -500,1000 --freqs 1,1000,1"),
              1);
    EXPECT_EQ(err, "velmora: 'none.bdf': no such file\n");
    for (const char* args : {"--seed 0 --summary", "--seed 18446744073709551615 --summary"}) {
        EXPECT_EQ(run(args), 0) << args << err;
        EXPECT_NE(out.find("channels: 370"), std::string::npos) << args;
    }
}

TEST_F(DemoTest, SnapshotWritesOnePngPerWindowWithoutQtNoise) {
    ASSERT_EQ(run("--snapshot snaps"), 0) << out << err;
    EXPECT_NE(out.find("channels: 370"), std::string::npos) << out;
    expectPngs(dir / "snaps");
    EXPECT_EQ(err, "");
}

TEST_F(DemoTest, ADisplayThatDoesNotAnswerFallsBackToSnapshots) {
    // A display number nothing serves.
    ASSERT_EQ(run("", "-u QT_QPA_PLATFORM -u WAYLAND_DISPLAY DISPLAY=:4711"), 0) << out << err;
    EXPECT_NE(out.find("channels: 370"), std::string::npos) << out;
    EXPECT_NE(out.find("The display (DISPLAY=:4711) could not be opened: painting the windows "
                       "into snapshots/\n"),
              std::string::npos)
        << out;
    expectPngs(dir / "snapshots");
    EXPECT_EQ(err, "") << "the fallback is told once, by the demo";
}

TEST_F(DemoTest, SweepWritesAFramePerTickAndTheEegMapIsNamedByRole) {
    const auto snaps = dir / "sweep";
    ASSERT_EQ(run("--eeg --class result --snapshot sweep --sweep 3"), 0) << out << err;
    EXPECT_TRUE(std::filesystem::exists(snaps / "contour-eeg-result.png"));
    EXPECT_TRUE(std::filesystem::exists(snaps / "single-channel-result.png"));
    for (const char* png : {"sweep-00000.png", "sweep-00001.png", "sweep-00002.png"})
        EXPECT_TRUE(std::filesystem::exists(snaps / png)) << png;
    EXPECT_FALSE(std::filesystem::exists(snaps / "sweep-00003.png"));
    EXPECT_NE(out.find("swept 3 ticks"), std::string::npos);
}

TEST_F(DemoTest, SensorKindsTheRecordingLacksAreRefused) {
    EXPECT_EQ(run("--sensors axial --snapshot s"), 1);
    EXPECT_NE(out.find("velmora: --sensors: the recording has no axial gradiometers (its MEG "
                       "sensors: magnetometers, planar gradiometers)\n"),
              std::string::npos)
        << out;
    EXPECT_EQ(run("--sensors grad --snapshot s"), 0) << err;
}

} // namespace
