// Tests that place windows run on a desktop of 1920 x 1080: the offscreen platform takes its
// screen from a configuration file, chosen before the application object is made.
#pragma once

#include <cstdlib>

struct Desktop1920 {
    Desktop1920() {
        setenv("QT_QPA_PLATFORM",
               "offscreen:configfile=" VELMORA_SOURCE_DIR "/tests/support/desktop-1920x1080.json",
               1);
    }
};
