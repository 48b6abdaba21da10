// What a library prints on the process's standard output and error while it runs (BioSig
// writes its warnings there, one line for each data record at worst), kept away from the
// terminal: both are sent to a temporary file for the call and put back afterwards, and the
// lines are counted so that a message can say what mattered.
//
// The redirection is process-wide: output of other threads during a call lands in the file
// too. Calls capture one at a time (a process-wide lock).
#pragma once

#include <cstdio>
#include <string>
#include <vector>

class CLibraryOutput {
public:
    struct Line {
        std::string text; // as printed, without the line end
        long long count = 0;
    };

    CLibraryOutput() = default;
    ~CLibraryOutput();
    CLibraryOutput(const CLibraryOutput&) = delete;
    CLibraryOutput& operator=(const CLibraryOutput&) = delete;

    // Runs f() with standard output and error captured; returns what f returns.
    template <class F>
    auto run(F&& f) {
        const Capture capture(*this);
        return f();
    }

    // The distinct lines printed so far, in the order they first came (at most kMostLines).
    const std::vector<Line>& lines() const { return m_lines; }
    // The most printed line's text, with its count ("'x' (20 times)"); empty when none.
    std::string summary() const { return summary(m_lines); }
    static std::string summary(const std::vector<Line>& lines);

    static constexpr std::size_t kMostLines = 16;

private:
    class Capture {
    public:
        explicit Capture(CLibraryOutput& owner);
        ~Capture();
        Capture(const Capture&) = delete;
        Capture& operator=(const Capture&) = delete;

    private:
        CLibraryOutput& m_owner;
        int m_out = -1;
        int m_err = -1;
    };

    bool start(int& savedOut, int& savedErr);
    void stop(int savedOut, int savedErr);
    void collect();
    void add(const std::string& line);

    std::FILE* m_file = nullptr;
    std::string m_partial;
    std::vector<Line> m_lines;
};
