#include "tests/sim/run_program.h"

#include <cerrno>

#include <fcntl.h>
#include <poll.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

extern char** environ;

ProgramRun runProgram(const std::string& path, const std::vector<std::string>& args) {
    ProgramRun run;
    int out[2];
    int err[2];
    if (pipe(out) != 0 || pipe(err) != 0)
        return run;
    for (const int fd : {out[0], out[1], err[0], err[1]})
        fcntl(fd, F_SETFD, FD_CLOEXEC);
    std::vector<std::string> copies = args;
    std::vector<char*> argv{const_cast<char*>(path.c_str())};
    for (auto& arg : copies)
        argv.push_back(arg.data());
    argv.push_back(nullptr);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, out[1], STDOUT_FILENO);
    posix_spawn_file_actions_adddup2(&actions, err[1], STDERR_FILENO);
    pid_t pid = -1;
    const int spawned = posix_spawn(&pid, path.c_str(), &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    close(out[1]);
    close(err[1]);
    std::vector<pollfd> open{{out[0], POLLIN, 0}, {err[0], POLLIN, 0}};
    while (spawned == 0 && (open[0].fd >= 0 || open[1].fd >= 0)) {
        if (poll(open.data(), open.size(), -1) < 0 && errno != EINTR)
            break;
        for (std::size_t i = 0; i < open.size(); ++i) {
            if (open[i].fd < 0 || open[i].revents == 0)
                continue;
            char buffer[4096];
            const ssize_t n = read(open[i].fd, buffer, sizeof buffer);
            if (n > 0)
                (i == 0 ? run.out : run.err).append(buffer, static_cast<std::size_t>(n));
            else
                open[i].fd = -1;
        }
    }
    close(out[0]);
    close(err[0]);
    int status = 0;
    if (spawned == 0 && waitpid(pid, &status, 0) == pid)
        run.exitStatus = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
    return run;
}
