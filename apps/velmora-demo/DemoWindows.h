// The demo's windows: the facade opens the single-channel window of the Active class and the
// parameters window; they run interactively or are painted headlessly into PNG files.
#pragma once

#include <ostream>
#include <string>

class CArrayMEDataSetzq;

// Empty snapshotDir: interactive, returns when the last window closes. Otherwise writes
// single-channel-active.png and parameters.png into snapshotDir. The exit status.
int runDemoWindows(CArrayMEDataSetzq& data, const std::string& snapshotDir, std::ostream& log);
