// Runs a program of the project the way a user does, from a shell in a given folder, and reads
// back what it printed; for the tests of the host programs.
#pragma once

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <sys/wait.h>

struct ProgramRun {
    int status = -1; // exit status, -1 when the program did not exit normally
    std::string out, err;
};

inline std::string readText(const std::filesystem::path& p) {
    std::ifstream in(p);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
}

// exe with args in dir, under the environment settings env, without a runtime directory;
// stdout and stderr go through out.txt and err.txt in dir.
inline ProgramRun runProgram(const std::filesystem::path& dir, const std::string& exe,
                             const std::string& args, const std::string& env) {
    const std::string cmd = "cd \"" + dir.string() + "\" && env -u XDG_RUNTIME_DIR " + env + " \"" +
                            exe + "\" " + args + " > out.txt 2> err.txt";
    const int status = std::system(cmd.c_str());
    return {WIFEXITED(status) ? WEXITSTATUS(status) : -1, readText(dir / "out.txt"),
            readText(dir / "err.txt")};
}

inline bool isPng(const std::filesystem::path& p) {
    std::ifstream in(p, std::ios::binary);
    char magic[4] = {};
    in.read(magic, 4);
    return std::string(magic + 1, 3) == "PNG";
}
