// A library's printing caught in a temporary file and counted line by line.
#include "CLibraryOutput.h"

#include "IoText.h"

#include <algorithm>
#include <fcntl.h>
#include <mutex>
#include <unistd.h>

namespace {

std::mutex& captureLock() {
    static std::mutex lock;
    return lock;
}

} // namespace

CLibraryOutput::~CLibraryOutput() {
    if (m_file) {
        std::fclose(m_file);
    }
}

CLibraryOutput::Capture::Capture(CLibraryOutput& owner) : m_owner(owner) {
    captureLock().lock();
    if (!m_owner.start(m_out, m_err)) {
        m_out = m_err = -1;
    }
}

CLibraryOutput::Capture::~Capture() {
    if (m_out >= 0) {
        m_owner.stop(m_out, m_err);
    }
    captureLock().unlock();
}

bool CLibraryOutput::start(int& savedOut, int& savedErr) {
    if (!m_file && !(m_file = std::tmpfile())) {
        return false; // the library's lines then reach the terminal, nothing worse
    }
    std::fflush(stdout);
    std::fflush(stderr);
    savedOut = fcntl(STDOUT_FILENO, F_DUPFD_CLOEXEC, 0);
    savedErr = fcntl(STDERR_FILENO, F_DUPFD_CLOEXEC, 0);
    const int fd = fileno(m_file);
    if (savedOut < 0 || savedErr < 0 || dup2(fd, STDOUT_FILENO) < 0 ||
        dup2(fd, STDERR_FILENO) < 0) {
        stop(savedOut, savedErr);
        return false;
    }
    return true;
}

void CLibraryOutput::stop(int savedOut, int savedErr) {
    std::fflush(stdout);
    std::fflush(stderr);
    for (auto [saved, fd] : {std::pair{savedOut, STDOUT_FILENO}, {savedErr, STDERR_FILENO}}) {
        if (saved >= 0) {
            dup2(saved, fd);
            close(saved);
        }
    }
    collect();
}

void CLibraryOutput::collect() {
    // The file's offset is shared with the descriptors the library wrote through; it is
    // read from the start and emptied for the next call.
    if (std::fseek(m_file, 0, SEEK_SET) != 0) {
        return;
    }
    char buf[4096];
    std::size_t n = 0;
    while ((n = std::fread(buf, 1, sizeof buf, m_file)) > 0) {
        for (std::size_t i = 0; i < n; ++i) {
            if (buf[i] == '\n') {
                add(m_partial);
                m_partial.clear();
            } else if (m_partial.size() < 1024) {
                m_partial += buf[i];
            }
        }
    }
    if (!m_partial.empty()) {
        add(m_partial);
        m_partial.clear();
    }
    std::fflush(m_file);
    std::rewind(m_file);
    if (ftruncate(fileno(m_file), 0) != 0) {
        std::fseek(m_file, 0, SEEK_END);
    }
}

void CLibraryOutput::add(const std::string& line) {
    const std::string text = io_text::trim(line);
    if (text.empty()) {
        return;
    }
    const auto it =
        std::find_if(m_lines.begin(), m_lines.end(), [&](const Line& l) { return l.text == text; });
    if (it != m_lines.end()) {
        ++it->count;
    } else if (m_lines.size() < kMostLines) {
        m_lines.push_back({text, 1});
    }
}

std::string CLibraryOutput::summary(const std::vector<Line>& lines) {
    const auto most = std::max_element(
        lines.begin(), lines.end(), [](const Line& a, const Line& b) { return a.count < b.count; });
    if (most == lines.end()) {
        return {};
    }
    return io_text::shown(most->text, 80) + " (" + std::to_string(most->count) +
           (most->count == 1 ? " time)" : " times)");
}
