// Starting the window layer where the display named by DISPLAY does not answer: AfxWinInit
// refuses quietly instead of aborting, leaves nothing behind, and a headless start then works.
// Runs alone in its process, since the application object is made once per process.
#include "win/AfxApi.h"

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <gtest/gtest.h>
#include <sstream>
#include <string>
#include <unistd.h>

namespace {

// What the process writes to stderr while `body` runs.
template <class Body>
std::string stderrOf(Body body) {
    char path[] = "/tmp/velmora-win-init-XXXXXX";
    const int file = mkstemp(path);
    const int saved = dup(2);
    std::fflush(stderr);
    dup2(file, 2);
    body();
    std::fflush(stderr);
    dup2(saved, 2);
    close(saved);
    close(file);
    std::ifstream in(path);
    std::stringstream text;
    text << in.rdbuf();
    std::remove(path);
    return text.str();
}

TEST(WinInit, NoDisplayIsARefusalAndOffscreenThenStartsWithoutNoise) {
    // A display number nothing serves, no Wayland, no platform asked for, no runtime dir.
    setenv("DISPLAY", ":4711", 1);
    unsetenv("WAYLAND_DISPLAY");
    unsetenv("QT_QPA_PLATFORM");
    unsetenv("XDG_RUNTIME_DIR");
    BOOL refused = TRUE;
    int loop = 0;
    EXPECT_EQ(stderrOf([&] {
                  refused = AfxWinInit();
                  // Nothing of the refused start remains: the loop tries again and is refused.
                  loop = AfxRunMessageLoop();
              }),
              "");
    EXPECT_FALSE(refused);
    EXPECT_EQ(loop, -1);

    setenv("QT_QPA_PLATFORM", "offscreen", 1);
    BOOL started = FALSE;
    EXPECT_EQ(stderrOf([&] { started = AfxWinInit(); }), "");
    EXPECT_TRUE(started);
    EXPECT_TRUE(AfxWinInit());
}

} // namespace
