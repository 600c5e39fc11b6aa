#include "sim/sim_process.h"

#include <cerrno>
#include <csignal>
#include <thread>

#include <fcntl.h>
#include <poll.h>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <unistd.h>

extern char** environ;

namespace {

constexpr std::chrono::seconds kReadyLimit{10};
constexpr std::string_view kReadyPrefix = "kelvara-sim: ";
constexpr std::string_view kArrow = " -> ";

} // namespace

SimProcess::SimProcess(std::string program)
    : program_(program.empty() ? besideExecutable("kelvara-sim") : std::move(program)) {}

SimProcess::~SimProcess() { stop(); }

std::string SimProcess::besideExecutable(const std::string& name) {
    char path[4096];
    const ssize_t n = readlink("/proc/self/exe", path, sizeof path - 1);
    if (n <= 0) {
        return name;
    }
    const std::string self(path, static_cast<std::size_t>(n));
    return self.substr(0, self.find_last_of('/') + 1) + name;
}

bool SimProcess::start(const std::vector<std::string>& args) {
    if (pid_ > 0) {
        return false;
    }
    exitStatus_ = -1;
    int fds[2];
    if (pipe(fds) != 0) {
        return false;
    }
    fcntl(fds[0], F_SETFD, FD_CLOEXEC);
    fcntl(fds[1], F_SETFD, FD_CLOEXEC);

    std::vector<std::string> copies = args;
    std::vector<char*> argv = {program_.data()};
    for (auto& arg : copies) {
        argv.push_back(arg.data());
    }
    argv.push_back(nullptr);
    const pid_t parent = getpid();
    pid_ = fork();
    if (pid_ == 0) {
        // Between fork and exec only async-signal-safe calls. The simulator gets SIGTERM when
        // the thread that started it ends, so a test killed by its time-out leaves no simulator
        // behind holding its port link.
        if (prctl(PR_SET_PDEATHSIG, SIGTERM) != 0 || getppid() != parent ||
            dup2(fds[1], STDOUT_FILENO) < 0) {
            _exit(127);
        }
        execve(program_.c_str(), argv.data(), environ);
        _exit(127);
    }
    close(fds[1]);
    if (pid_ < 0) {
        close(fds[0]);
        return false;
    }
    stdout_ = fds[0];
    if (awaitReady()) {
        return true;
    }
    stop();
    return false;
}

bool SimProcess::awaitReady() {
    const auto deadline = std::chrono::steady_clock::now() + kReadyLimit;
    std::string text;
    while (text.find('\n') == std::string::npos) {
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
            deadline - std::chrono::steady_clock::now());
        pollfd p{stdout_, POLLIN, 0};
        if (left.count() <= 0 || poll(&p, 1, static_cast<int>(left.count())) <= 0) {
            return false;
        }
        char buffer[256];
        const ssize_t n = read(stdout_, buffer, sizeof buffer);
        if (n <= 0) {
            reap(0);
            return false;
        }
        text.append(buffer, static_cast<std::size_t>(n));
    }
    // "kelvara-sim: COM3 -> /dev/pts/5"
    const std::string line = text.substr(0, text.find('\n'));
    return line.starts_with(kReadyPrefix) && line.find(kArrow) != std::string::npos;
}

void SimProcess::stop() {
    if (pid_ <= 0) {
        return;
    }
    kill(pid_, SIGTERM);
    reap(0);
}

bool SimProcess::waitForExit(std::chrono::milliseconds limit) {
    const auto deadline = std::chrono::steady_clock::now() + limit;
    while (pid_ > 0) {
        reap(WNOHANG);
        if (pid_ <= 0 || std::chrono::steady_clock::now() >= deadline) {
            break;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    return pid_ <= 0;
}

void SimProcess::reap(int options) {
    int status = 0;
    pid_t done = 0;
    while ((done = waitpid(pid_, &status, options)) < 0 && errno == EINTR) {
    }
    if (done == 0) {
        return;
    }
    if (done == pid_) {
        exitStatus_ = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
    }
    pid_ = -1;
    close(stdout_);
    stdout_ = -1;
}
