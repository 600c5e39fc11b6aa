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
#include <fstream>
#include <thread>

#include <fcntl.h>
#include <poll.h>
#include <sys/stat.h>
#include <sys/wait.h>
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
        openLine(com);
    }

    void openLine(int com) {
        close(line);
        line = open(portlinks::linkPath(com).c_str(), O_RDWR | O_NOCTTY | O_CLOEXEC);
        termios raw{};
        ASSERT_EQ(tcgetattr(line, &raw), 0);
        cfmakeraw(&raw);
        ASSERT_EQ(tcsetattr(line, TCSANOW, &raw), 0);
    }

    // Sends the bytes; what comes until `semicolons` ";" have come (each byte awaited up to 3 s)
    // and then the line has been quiet for quietMs.
    std::string exchange(const std::string& bytes, std::ptrdiff_t semicolons, int quietMs) {
        EXPECT_EQ(write(line, bytes.data(), bytes.size()), static_cast<ssize_t>(bytes.size()));
        std::string text;
        char buffer[4096];
        pollfd p{line, POLLIN, 0};
        ssize_t n = 0;
        while (poll(&p, 1, std::ranges::count(text, ';') < semicolons ? 3000 : quietMs) > 0 &&
               (n = read(line, buffer, sizeof buffer)) > 0) {
            text.append(buffer, static_cast<std::size_t>(n));
        }
        return text;
    }

    // Sends the commands, each blank a line end, and expects these replies and nothing more.
    void expectReplies(std::string commands, const std::string& replies) {
        std::ranges::replace(commands, ' ', '\n');
        const auto count = std::ranges::count(replies, ';');
        EXPECT_EQ(exchange(commands + "\r\n", count, replies.empty() ? 300 : 20), replies);
    }

    SimProcess sim;
    int line = -1;
};

const std::string kNoFlags = "E0,0,0,0,0,0,0,0,0,0,0,0,0;";

// A write reads back the number text written; kV and mA counts follow the set-points (60 kV and
// 80 mA are 1024 counts); CR, LF and CR LF each end one command; what is no command gets ";".
TEST_F(SimLine, AnswersTheControllerCommands) {
    start(30, {"--noise", "0"});
    const std::pair<std::string, std::string> cases[] = {
        {"W00,20.5 W07,-5 c.5 d-.5 W13,1E+20 R0 R7 R8 R9 R13",
         "W00,20.5;W07,-5;c.5;d-.5;W13,1E+20;R20.5;R-5;R.5;R-.5;R1E+20;"},
        {"V60 I80 S1 V-5 I1E+300 S1 E F3.8 A1",
         "V60;I80;S0512,1024,1024;V-5;I1E+300;S0512,0000,9999;" + kNoFlags + "F3.8;A1;"},
        {"\rW00,abc\r\nW08,5 R14 S2 " + std::string(300, 'R') + " R0", ";;;;;;R20.5;"}};
    for (const auto& [sent, replies] : cases) {
        SCOPED_TRACE(sent);
        expectReplies(sent, replies);
    }
    openLine(30); // closing the line does not hang it up
    expectReplies("R0", "R20.5;");
}

// The simulator started with the options, then given the control lines: an option and its
// control line are one setting.
TEST_F(SimLine, OptionsAndControlLinesShapeTheReplies) {
    struct Case {
        std::vector<std::string> options, controls;
        std::string sent, replies;
        std::chrono::milliseconds late{0};
    };
    using std::chrono_literals::operator""ms;
    const Case cases[] = {
        {{"--silent"}, {"silent off"}, "R0", "R20;"},
        {{"--silent-for=2"}, {}, "E R0 R1 R2", "R38;R500;"},
        {{"--probe-only"}, {}, "R0 E S1", kNoFlags},
        {{"--late", "300"}, {}, "R0", "R20;", 300ms},
        {{"--split", "4", "--no-pacing"}, {}, "E", kNoFlags, 30ms}, // three gaps of 10 ms
        {{"--fil-count", "42", "--counts", "-,5,-", "--noise", "0"}, {}, "S1", "S0042,0005,0000;"},
        {{"--flags", "0100000000000"}, {"flag 12 1"}, "E", "E0,1,0,0,0,0,0,0,0,0,0,0,1;"}};
    for (const auto& c : cases) {
        SCOPED_TRACE(::testing::PrintToString(c.options) + ::testing::PrintToString(c.controls));
        start(33, c.options);
        for (const auto& control : c.controls) {
            ASSERT_TRUE(simControl(33, control));
        }
        const auto sent = std::chrono::steady_clock::now();
        expectReplies(c.sent, c.replies);
        EXPECT_GE(std::chrono::steady_clock::now() - sent, c.late);
    }
    for (const char* bad : {"late 600001", "flag 13 1", "bogus"}) {
        std::string answer;
        EXPECT_FALSE(simControl(33, bad, answer)) << bad;
        EXPECT_TRUE(answer.starts_with("error: ")) << answer;
    }
}

TEST_F(SimLine, GarbageHoldsNoSemicolon) {
    start(35, {"--garbage"});
    const std::string garbage = exchange("R0\r\n", 0, 300);
    EXPECT_FALSE(garbage.empty());
    EXPECT_EQ(garbage.find(';'), std::string::npos) << garbage;
}

// Beyond the largest pid Linux gives out: never a running process.
constexpr pid_t kGonePid = 99999999;

bool filesGone(int com) {
    const auto gone = [](const std::string& path) {
        return !std::filesystem::exists(std::filesystem::symlink_status(path));
    };
    return gone(portlinks::linkPath(com)) && gone(simfiles::pidFilePath(com)) &&
           gone(simfiles::controlPath(com));
}

TEST_F(SimLine, StopSignalsAndTheEndOfItsStarterRemoveItsFiles) {
    for (const int signal : {SIGTERM, SIGHUP}) {
        start(41, {});
        EXPECT_EQ(std::filesystem::status(simfiles::controlPath(41)).permissions(),
                  std::filesystem::perms(0600));
        ASSERT_EQ(kill(sim.pid(), signal), 0);
        ASSERT_TRUE(sim.waitForExit(std::chrono::seconds(5)));
        EXPECT_EQ(sim.exitStatus(), 0) << signal;
        EXPECT_TRUE(filesGone(41)) << signal;
    }
    // A starter that ends without stopping it, as a test killed by its time-out does.
    const pid_t starter = fork();
    if (starter == 0) {
        SimProcess orphan;
        _exit(orphan.start({"--port", "46"}) ? 0 : 1);
    }
    int status = -1;
    waitpid(starter, &status, 0);
    ASSERT_EQ(status, 0);
    for (int i = 0; i < 500 && !filesGone(46); ++i) {
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    EXPECT_TRUE(filesGone(46));
}

TEST_F(SimLine, ExistingLinkIsTakenOnlyFromAGoneSimulator) {
    // COM number, pid in the pid file beside the link (0: none), whether the link is taken.
    const std::tuple<int, pid_t, bool> cases[] = {
        {42, kGonePid, true}, {43, getpid(), false}, {44, 0, false}};
    for (const auto& [com, holder, taken] : cases) {
        SCOPED_TRACE(com);
        ASSERT_EQ(symlink("/dev/pts/999", portlinks::linkPath(com).c_str()), 0);
        if (holder != 0) {
            std::ofstream(simfiles::pidFilePath(com)) << holder << '\n';
        }
        SimProcess other;
        EXPECT_EQ(other.start({"--port", std::to_string(com)}), taken);
        EXPECT_EQ(std::filesystem::read_symlink(portlinks::linkPath(com)),
                  taken ? other.devicePath() : "/dev/pts/999");
    }
}

TEST_F(SimLine, RefusesUntrustedFoldersWithStatus1AndBadOptionsWith2) {
    ASSERT_EQ(chmod(portlinks::portLinkFolder().c_str(), 0777), 0);
    EXPECT_FALSE(sim.start({"--port", "45"}));
    ASSERT_EQ(chmod(portlinks::portLinkFolder().c_str(), 0700), 0);
    EXPECT_EQ(sim.exitStatus(), 1);
    for (const auto* bad : {"--bogus", "--port=129", "--counts=1,2", "--late"}) {
        EXPECT_FALSE(sim.start({bad}));
        EXPECT_EQ(sim.exitStatus(), 2) << bad;
    }
    EXPECT_TRUE(filesGone(45));
}

} // namespace
