// A progress bar for long work, drawn on standard error only when that is a terminal: a run
// whose standard error goes to a file or a pipe (a script, a test) sees nothing of it. The bar
// is wiped when its stage ends, so that only what the program prints stays on the terminal.
#pragma once

#include <cstddef>
#include <ostream>
#include <string>

class ProgressBar {
public:
    // Draws on stderr when it is a terminal.
    ProgressBar();
    // Draws on out when enabled.
    ProgressBar(std::ostream& out, bool enabled);
    // Wipes the bar of an unfinished stage, so that what follows starts on a clean line.
    ~ProgressBar();
    ProgressBar(const ProgressBar&) = delete;
    ProgressBar& operator=(const ProgressBar&) = delete;

    // `done` of `total` steps of the stage `what`; the bar is redrawn when what it shows
    // changes, and wiped when done reaches total.
    void show(const std::string& what, long long done, long long total);
    // Wipes the bar of an unfinished stage.
    void end();

private:
    std::ostream& m_out;
    bool m_enabled;
    std::size_t m_lineLength = 0; // of the bar on the terminal; 0: none
    std::string m_what;
    int m_shownCells = -1;
    int m_shownPercent = -1;
};
