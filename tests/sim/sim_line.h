#pragma once

#include "platform/linux/port_link_folder.h"
#include "sim/sim_control.h"
#include "sim/sim_files.h"
#include "sim/sim_process.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>

#include <fcntl.h>
#include <poll.h>
#include <termios.h>
#include <unistd.h>

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
