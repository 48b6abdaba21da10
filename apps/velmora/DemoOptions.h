// The demo's command line: what it asks for, or why it is refused.
#pragma once

#include "DemoWindows.h"

#include <string>

struct DemoOptions {
    DemoWindowOptions windows;
    bool summaryOnly = false;
    bool help = false;
    unsigned long long seed = 0;
    std::string error; // empty when the command line is sound
};

// Reads the options; seed starts as defaultSeed. Every value is checked whole: no signs,
// nothing out of range, no empty paths, no option where a value belongs.
DemoOptions parseDemoOptions(int argc, char** argv, unsigned long long defaultSeed);

// The text of --help.
extern const char* const kDemoUsage;
