// kelvara-sim run as a process in the test program's private runtime folder: its replies to
// the commands and to its fault options, and its files through its whole life.

#include "platform/linux/port_link_folder.h"
#include "sim/sim_control.h"
#include "sim/sim_files.h"
#include "sim/sim_process.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <csignal>
#include <filesystem>

#include <fcntl.h>
#include <poll.h>
#include <termios.h>
#include <unistd.h>

namespace {

// A simulator run by the test and the program's end of its line, the pty slave behind the link.
class SimLine : public ::testing::Test {
protected:
    ~SimLine() override { close(line); }

    void start(int com, std::vector<std::string> args) {
        sim.stop();
        args.insert(args.end(), {"--port", std::to_string(com)});
        ASSERT_TRUE(sim.start(args));
        close(line);
        line = open(portlinks::linkPath(com).c_str(), O_RDWR | O_NOCTTY | O_CLOEXEC);
        termios raw{};
        ASSERT_EQ(tcgetattr(line, &raw), 0);
        cfmakeraw(&raw);
        ASSERT_EQ(tcsetattr(line, TCSANOW, &raw), 0);
    }

    // Sends the commands, each blank a line end; what comes until as many ";" as the expected
    // replies hold have come (each byte awaited up to 3 s) and the line has then been quiet.
    std::string exchange(std::string commands, const std::string& replies) {
        std::ranges::replace(commands, ' ', '\n');
        commands += "\r\n";
        EXPECT_EQ(write(line, commands.data(), commands.size()),
                  static_cast<ssize_t>(commands.size()));
        const auto semicolons = std::ranges::count(replies, ';');
        std::string text;
        char buffer[4096];
        pollfd p{line, POLLIN, 0};
        ssize_t n = 0;
        while (poll(&p, 1, std::ranges::count(text, ';') < semicolons ? 3000 : 300) > 0 &&
               (n = read(line, buffer, sizeof buffer)) > 0) {
            text.append(buffer, static_cast<std::size_t>(n));
        }
        return text;
    }

    SimProcess sim;
    int line = -1;
};

// The faults the end-to-end sessions rely on, which would pass unseen if the simulator lost
// them; its control lines are proven by those sessions.
TEST_F(SimLine, OptionsShapeTheRepliesAndStopSignalsRemoveItsFiles) {
    struct Case {
        std::vector<std::string> options;
        std::string sent, replies;
        std::chrono::milliseconds late{0};
    };
    using std::chrono_literals::operator""ms;
    const Case cases[] = {
        {{"--stale-semicolon"}, "R0", ";R20;"},
        {{"--late", "300"}, "R0", "R20;", 300ms},
        // Three gaps of 10 ms.
        {{"--split", "4", "--no-pacing"}, "E", "E0,0,0,0,0,0,0,0,0,0,0,0,0;", 30ms},
        {{"--fil-count", "42", "--counts", "-,5,-", "--noise", "0"}, "S1", "S0042,0005,0000;"}};
    for (const auto& c : cases) {
        SCOPED_TRACE(::testing::PrintToString(c.options));
        start(33, c.options);
        const auto sent = std::chrono::steady_clock::now();
        EXPECT_EQ(exchange(c.sent, c.replies), c.replies);
        EXPECT_GE(std::chrono::steady_clock::now() - sent, c.late);
    }
    // A stale link or control file would lead the next run to a simulator that is gone.
    for (const int signal : {SIGTERM, SIGHUP}) {
        start(41, {});
        ASSERT_EQ(kill(sim.pid(), signal), 0);
        ASSERT_TRUE(sim.waitForExit(std::chrono::seconds(5)));
        EXPECT_EQ(sim.exitStatus(), 0) << signal;
        for (const auto& path :
             {portlinks::linkPath(41), simfiles::pidFilePath(41), simfiles::controlPath(41)}) {
            EXPECT_FALSE(std::filesystem::exists(std::filesystem::symlink_status(path))) << path;
        }
    }
}

} // namespace
