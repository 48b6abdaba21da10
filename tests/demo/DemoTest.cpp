// The host program as a user runs it: --help documents the options, --snapshot writes one
// PNG per window and exits 0, nonsense options are refused.
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <sstream>
#include <string>
#include <sys/wait.h>
#include <unistd.h>
#include <utility>

namespace {

int run(const std::string& args, const std::filesystem::path& out) {
    const std::string cmd = std::string("QT_QPA_PLATFORM=offscreen \"") + VELMORA_DEMO_EXE + "\" " +
                            args + " > \"" + out.string() + "\" 2>&1";
    const int status = std::system(cmd.c_str());
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

std::string read(const std::filesystem::path& p) {
    std::ifstream in(p);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
}

class DemoTest : public ::testing::Test {
protected:
    void SetUp() override {
        dir = std::filesystem::temp_directory_path() /
              ("velmora-demo-test-" + std::to_string(::getpid()));
        std::filesystem::create_directories(dir);
    }
    void TearDown() override { std::filesystem::remove_all(dir); }
    std::filesystem::path dir;
};

TEST_F(DemoTest, HelpDocumentsEveryOption) {
    ASSERT_EQ(run("--help", dir / "out.txt"), 0);
    const std::string text = read(dir / "out.txt");
    for (const char* option : {"--snapshot DIR", "--summary", "--seed N", "--help", "--eeg",
                               "--class C", "--sweep N", "--movie FILE"})
        EXPECT_NE(text.find(option), std::string::npos) << option;
    EXPECT_EQ(run("--bogus", dir / "err.txt"), 2);
    EXPECT_NE(read(dir / "err.txt").find("unknown option --bogus"), std::string::npos);
    const std::pair<const char*, const char*> refused[] = {
        {"--class middle", "--class takes active, control or result"},
        {"--sweep 5", "--sweep needs --snapshot DIR"},
        {"--snapshot x --sweep 0", "--sweep needs a number of ticks"},
        {"--snapshot x --movie m.mp4", "--movie needs --sweep N"}};
    for (const auto& [args, why] : refused) {
        EXPECT_EQ(run(args, dir / "err.txt"), 2) << args;
        EXPECT_NE(read(dir / "err.txt").find(why), std::string::npos) << args;
    }
}

TEST_F(DemoTest, SnapshotWritesOnePngPerWindow) {
    const auto snaps = dir / "snaps";
    ASSERT_EQ(run("--snapshot \"" + snaps.string() + "\"", dir / "out.txt"), 0)
        << read(dir / "out.txt");
    const std::string text = read(dir / "out.txt");
    EXPECT_NE(text.find("channels: 370"), std::string::npos) << text;
    for (const char* png : {"single-channel-active.png", "parameters.png", "contour-active.png"}) {
        const auto file = snaps / png;
        ASSERT_TRUE(std::filesystem::exists(file)) << png;
        std::ifstream in(file, std::ios::binary);
        char magic[4] = {};
        in.read(magic, 4);
        EXPECT_EQ(std::string(magic + 1, 3), "PNG");
    }
}

TEST_F(DemoTest, SweepWritesAFramePerTickAndTheEegMapIsNamedByRole) {
    const auto snaps = dir / "sweep";
    ASSERT_EQ(run("--eeg --class result --snapshot \"" + snaps.string() + "\" --sweep 3",
                  dir / "out.txt"),
              0)
        << read(dir / "out.txt");
    EXPECT_TRUE(std::filesystem::exists(snaps / "contour-eeg-result.png"));
    EXPECT_TRUE(std::filesystem::exists(snaps / "single-channel-result.png"));
    for (const char* png : {"sweep-00000.png", "sweep-00001.png", "sweep-00002.png"})
        EXPECT_TRUE(std::filesystem::exists(snaps / png)) << png;
    EXPECT_FALSE(std::filesystem::exists(snaps / "sweep-00003.png"));
    EXPECT_NE(read(dir / "out.txt").find("swept 3 ticks"), std::string::npos);
}

} // namespace
