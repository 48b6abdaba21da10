// Starting, talking to and stopping the reader process.
#include "CReaderProcess.h"

#include "IoText.h"

#include <cerrno>
#include <csignal>
#include <cstdlib>
#include <cstring>
#include <dlfcn.h>
#include <fcntl.h>
#include <filesystem>
#include <spawn.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>

extern char** environ;

namespace {

constexpr const char* kProgram = "velmora-reader";
constexpr int kChildSocket = 3;

std::string readerProgram() {
    if (const char* set = std::getenv("VELMORA_READER"); set && *set) {
        return set;
    }
    Dl_info info{};
    if (!dladdr(reinterpret_cast<void*>(&readerProgram), &info) || !info.dli_fname) {
        return {};
    }
    const std::filesystem::path here = std::filesystem::path(info.dli_fname).parent_path();
    for (const auto& candidate :
         {here / kProgram, here / ".." / "libexec" / "velmora" / kProgram}) {
        if (::access(candidate.c_str(), X_OK) == 0) {
            return candidate.string();
        }
    }
    return {};
}

// The reader's descriptors: the socket as 3, nothing else of ours, and /dev/null for the
// standard ones (a sanitizer's report of a crash in BioSig is not the viewer's output).
bool prepare(posix_spawn_file_actions_t& actions, posix_spawnattr_t& attributes, int socket) {
    sigset_t none;
    sigemptyset(&none);
    return posix_spawn_file_actions_addopen(&actions, STDIN_FILENO, "/dev/null", O_RDONLY, 0) ==
               0 &&
           posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, "/dev/null", O_WRONLY, 0) ==
               0 &&
           posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, "/dev/null", O_WRONLY, 0) ==
               0 &&
           posix_spawn_file_actions_adddup2(&actions, socket, kChildSocket) == 0 &&
           posix_spawnattr_setsigmask(&attributes, &none) == 0 &&
           posix_spawnattr_setflags(&attributes, POSIX_SPAWN_SETSIGMASK) == 0;
}

} // namespace

CReaderProcess::~CReaderProcess() {
    stop();
}

std::string CReaderProcess::start(const std::vector<std::string>& arguments) {
    stop();
    const std::string program = readerProgram();
    if (program.empty()) {
        return std::string("the file reader ") + kProgram +
               " is missing next to the Velmora libraries (VELMORA_READER may name it)";
    }
    int ends[2];
    if (::socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0, ends) != 0) {
        return "cannot start the file reader: " + io_text::lower(std::strerror(errno));
    }
    // Above 3, so that dup2 onto 3 makes a descriptor the reader keeps.
    const int childEnd = ::fcntl(ends[1], F_DUPFD_CLOEXEC, 10);
    ::close(ends[1]);
    posix_spawn_file_actions_t actions;
    posix_spawnattr_t attributes;
    posix_spawn_file_actions_init(&actions);
    posix_spawnattr_init(&attributes);
    std::vector<std::string> words{program};
    words.insert(words.end(), arguments.begin(), arguments.end());
    std::vector<char*> argv;
    for (std::string& w : words) {
        argv.push_back(w.data());
    }
    argv.push_back(nullptr);
    int error = childEnd < 0 ? errno : 0;
    if (error == 0) {
        error = prepare(actions, attributes, childEnd)
                    ? ::posix_spawn(&m_pid, program.c_str(), &actions, &attributes, argv.data(),
                                    environ)
                    : ENOMEM;
    }
    posix_spawn_file_actions_destroy(&actions);
    posix_spawnattr_destroy(&attributes);
    if (childEnd >= 0) {
        ::close(childEnd);
    }
    if (error != 0) {
        m_pid = -1;
        ::close(ends[0]);
        return "cannot start the file reader " + io_text::quote(program) + ": " +
               io_text::lower(std::strerror(error));
    }
    m_socket = ends[0];
    return {};
}

CReaderProcess::Outcome CReaderProcess::exchange(const CReaderWire* request, CReaderWire& reply,
                                                 int timeoutMs) {
    if (m_pid < 0 || (request && !request->send(m_socket))) {
        stop();
        return Outcome::crashed;
    }
    const CReaderWire::Received got = reply.receive(m_socket, timeoutMs);
    if (got == CReaderWire::Received::message) {
        return Outcome::replied;
    }
    stop();
    return got == CReaderWire::Received::timedOut ? Outcome::hung : Outcome::crashed;
}

void CReaderProcess::stop() {
    if (m_socket >= 0) {
        ::close(m_socket);
        m_socket = -1;
    }
    if (m_pid > 0) {
        // The reader only reads: there is nothing for it to finish.
        ::kill(m_pid, SIGKILL);
        while (::waitpid(m_pid, nullptr, 0) < 0 && errno == EINTR) {
        }
        m_pid = -1;
    }
}
