#pragma once

#include "platform/linux/port_link_folder.h"
#include "sim/sim_process.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <string>

#include <fcntl.h>
#include <poll.h>
#include <termios.h>
#include <unistd.h>

using namespace std::chrono_literals;

// Beyond the largest pid Linux gives out: never a running process.
constexpr pid_t gonePid = 99999999;

// A simulator run by the test, and the test's end of its line, on a fresh XDG_RUNTIME_DIR of the
// test's own (so its port-link folder is private), removed afterwards.
class SimLine : public ::testing::Test {
protected:
    SimLine() {
        EXPECT_NE(mkdtemp(runtime.data()), nullptr) << "no private runtime folder";
        setenv("XDG_RUNTIME_DIR", runtime.c_str(), 1);
    }

    ~SimLine() override {
        close(line);
        sim.stop();
        std::error_code ignored;
        std::filesystem::remove_all(runtime, ignored);
    }

    void start(int com, std::vector<std::string> args) {
        args.insert(args.end(), {"--port", std::to_string(com)});
        ASSERT_TRUE(sim.start(args));
        openLine(com);
    }

    // The program's end of the line: the pty slave behind the link, raw.
    void openLine(int com) {
        close(line);
        line = open(portlinks::linkPath(com).c_str(), O_RDWR | O_NOCTTY | O_CLOEXEC);
        termios raw{};
        ASSERT_EQ(tcgetattr(line, &raw), 0);
        cfmakeraw(&raw);
        ASSERT_EQ(tcsetattr(line, TCSANOW, &raw), 0);
    }

    void send(const std::string& bytes) {
        ASSERT_EQ(write(line, bytes.data(), bytes.size()), static_cast<ssize_t>(bytes.size()));
    }

    // What one read takes once bytes are there; empty when none came within the wait.
    std::string read(std::chrono::milliseconds wait) {
        pollfd p{line, POLLIN, 0};
        char buffer[4096];
        const ssize_t n = poll(&p, 1, static_cast<int>(wait.count())) > 0
                              ? ::read(line, buffer, sizeof buffer)
                              : 0;
        return std::string(buffer, static_cast<std::size_t>(std::max<ssize_t>(n, 0)));
    }

    // Bytes until `semicolons` ";" have come (each byte awaited up to 3 s), then on until the
    // line has been quiet for `quiet`.
    std::string receive(std::ptrdiff_t semicolons, std::chrono::milliseconds quiet) {
        std::string text, more;
        do {
            more = read(std::ranges::count(text, ';') < semicolons ? 3000ms : quiet);
            text += more;
        } while (!more.empty());
        return text;
    }

    // Sends the bytes and expects these replies and nothing more; silence is awaited a while.
    void expectReplies(const std::string& sent, const std::string& replies) {
        send(sent);
        EXPECT_EQ(receive(std::ranges::count(replies, ';'), replies.empty() ? 300ms : 20ms),
                  replies);
    }

    std::string runtime = "/tmp/kelvara-simtest-XXXXXX";
    SimProcess sim;
    int line = -1;
};
