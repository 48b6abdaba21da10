// The progress bar of long reads and computations.
#include "ProgressBar.h"

#include <algorithm>
#include <iostream>
#include <unistd.h>

namespace {

constexpr int kCells = 30;

} // namespace

ProgressBar::ProgressBar() : ProgressBar(std::cerr, isatty(STDERR_FILENO) == 1) {}

ProgressBar::ProgressBar(std::ostream& out, bool enabled) : m_out(out), m_enabled(enabled) {}

ProgressBar::~ProgressBar() {
    end();
}

void ProgressBar::show(const std::string& what, long long done, long long total) {
    if (!m_enabled || total < 1)
        return;
    if (what != m_what) {
        end();
        m_what = what;
        m_shownCells = m_shownPercent = -1;
    }
    const double fraction = std::clamp(static_cast<double>(done) / total, 0.0, 1.0);
    const int cells = static_cast<int>(fraction * kCells);
    const int percent = static_cast<int>(fraction * 100.0);
    if (cells == m_shownCells && percent == m_shownPercent && done < total)
        return;
    m_shownCells = cells;
    m_shownPercent = percent;
    const std::string line = what + " [" + std::string(cells, '#') +
                             std::string(kCells - cells, ' ') + "] " + std::to_string(percent) +
                             "% (" + std::to_string(done) + "/" + std::to_string(total) + ")";
    m_out << "\r" << line << std::flush;
    m_lineLength = line.size();
    if (done >= total)
        end();
}

void ProgressBar::end() {
    if (m_lineLength > 0)
        m_out << "\r" << std::string(m_lineLength, ' ') << "\r" << std::flush;
    m_lineLength = 0;
    m_what.clear();
}
