// The host program's command line: what it asks for, or why it is refused.
#pragma once

#include "DataSetLoader.h"
#include "DemoWindows.h"

#include <string>

struct DemoOptions {
    SourceOptions source;
    DemoWindowOptions windows;
    bool summaryOnly = false;
    bool help = false;
    std::string error; // empty when the command line is sound
};

// Reads the options; the seed starts as defaultSeed. Every value is checked whole: no signs
// where none belong, nothing out of range, no empty paths, no option where a value belongs,
// no option that means nothing with the data asked for.
DemoOptions parseDemoOptions(int argc, char** argv, unsigned long long defaultSeed);

// The text of --help.
extern const char* const kDemoUsage;
