#include "sim/simulator.h"

#include "platform/linux/port_link_folder.h"
#include "sim/control_commands.h"
#include "sim/control_server.h"
#include "sim/line_reader.h"
#include "sim/port_claim.h"
#include "sim/pseudo_terminal.h"
#include "sim/reply_queue.h"
#include "sim/sim_files.h"
#include "sim/stop_signals.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <initializer_list>
#include <random>

#include <unistd.h>

namespace {

using Clock = ReplyQueue::Clock;

int failed(const std::string& why) {
    std::fprintf(stderr, "kelvara-sim: %s\n", why.c_str());
    return 1;
}

int pollTimeout(const ReplyQueue& queue) {
    const auto due = queue.nextDue();
    if (!due) {
        return -1;
    }
    const auto wait = std::chrono::ceil<std::chrono::milliseconds>(*due - Clock::now());
    return static_cast<int>(std::max<std::chrono::milliseconds::rep>(wait.count(), 0));
}

class EventLoop {
public:
    EventLoop(SimState& state, int master, ControlServer& control, int stopFd)
        : state_(state), master_(master), control_(control), stopFd_(stopFd), queue_(master) {}

    // False when the pseudo-terminal failed.
    bool run() {
        while (!state_.quit) {
            std::vector<pollfd> fds = {{stopFd_, POLLIN, 0}, {master_, POLLIN, 0}};
            control_.addPollFds(fds);
            if (poll(fds.data(), fds.size(), pollTimeout(queue_)) < 0 && errno != EINTR) {
                return false;
            }
            if (fds[0].revents != 0) {
                return true;
            }
            control_.serve(fds, [this](std::string_view line) { return control(line); });
            if (fds[1].revents != 0 && !receive()) {
                return false;
            }
            queue_.sendDue(Clock::now(), state_.pacing);
        }
        return true;
    }

private:
    std::string control(std::string_view line) {
        const bool wasDisabled = state_.faults.disabled;
        std::string answer = applyControl(state_, line);
        // A disabled adapter loses what it still had to send.
        if (state_.faults.disabled && !wasDisabled) {
            queue_.clear();
        }
        return answer;
    }

    bool receive() {
        char buffer[4096];
        const ssize_t n = read(master_, buffer, sizeof buffer);
        if (n < 0) {
            return errno == EAGAIN || errno == EINTR;
        }
        if (n == 0) {
            return false;
        }
        const auto arrival = Clock::now();
        for (const auto& line : reader_.feed({buffer, static_cast<std::size_t>(n)})) {
            if (!state_.faults.admits(line.text)) {
                continue;
            }
            std::string reply = line.overLong ? ";" : state_.controller.answer(line.text);
            queue_.push(shapeReply(state_.faults, std::move(reply), state_.random), arrival);
        }
        return true;
    }

    SimState& state_;
    int master_;
    ControlServer& control_;
    int stopFd_;
    LineReader reader_;
    ReplyQueue queue_;
};

} // namespace

int runSimulator(const SimOptions& options) {
    for (const auto& folder : {portlinks::workFolder(), portlinks::portLinkFolder()}) {
        if (!portlinks::ensureTrustedFolder(folder)) {
            return failed(folder + " is not safe to use (it must be a folder of yours that "
                                   "nobody else can write); not starting");
        }
    }
    const int stopFd = stopSignalFd();
    if (stopFd < 0) {
        return failed(std::string("cannot watch for signals: ") + std::strerror(errno));
    }

    std::string error;
    PseudoTerminal terminal;
    if (!terminal.open(error)) {
        return failed(error);
    }
    PortClaim claim;
    if (!claim.take(options.port, terminal.slavePath(), error)) {
        return failed(error);
    }
    ControlServer control;
    if (!control.open(simfiles::controlPath(options.port), error)) {
        return failed(error);
    }

    SimState state(std::random_device{}());
    configure(state, options);
    std::printf("kelvara-sim: COM%d -> %s\n", options.port, terminal.slavePath().c_str());
    std::fflush(stdout);

    EventLoop loop(state, terminal.master(), control, stopFd);
    if (!loop.run()) {
        return failed("the pseudo-terminal failed: " + std::string(std::strerror(errno)));
    }
    return 0;
}
