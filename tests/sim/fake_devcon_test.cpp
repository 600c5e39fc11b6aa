#include "sim/sim_files.h"
#include "tests/sim/sim_line_fixture.h"

#include <cstdio>
#include <fstream>
#include <tuple>
#include <utility>

namespace {

std::string adapter(int com) { return "USB\\VID_1A86&PID_7523\\SIM" + std::to_string(com); }

std::string name(int com) {
    return "Simulated USB serial adapter (COM" + std::to_string(com) + ")";
}

// A device as find lists it, and as status shows it in a state.
std::string found(int com) { return adapter(com) + ": " + name(com) + "\n"; }

std::string shown(int com, const std::string& state) {
    return adapter(com) + "\n    Name: " + name(com) + "\n    " + state + "\n";
}

const std::string one = "1 matching device(s) found.\n";

// Runs the fake device console: its exit status and what it printed on stdout.
std::pair<int, std::string> devcon(const std::vector<std::string>& args) {
    std::string command = "'" + SimProcess::besideExecutable("kelvara-fake-devcon") + "'";
    for (const auto& arg : args)
        command += " '" + arg + "'";
    FILE* out = popen(command.c_str(), "r");
    if (out == nullptr)
        return {-1, ""};
    std::string text;
    char buffer[256];
    while (fgets(buffer, sizeof buffer, out) != nullptr)
        text += buffer;
    const int status = pclose(out);
    return {WIFEXITED(status) ? WEXITSTATUS(status) : -1, text};
}

using FakeDevcon = SimLine;

TEST_F(FakeDevcon, ListsTheRunningSimulatorsThatMatch) {
    start(8, {});
    SimProcess second;
    ASSERT_TRUE(second.start({"--port", "12"}));
    // A link left by a simulator that is gone.
    ASSERT_EQ(symlink("/dev/null", portlinks::linkPath(9).c_str()), 0);
    std::ofstream(simfiles::pidFilePath(9)) << gonePid << '\n';
    const std::string none = "No matching devices found.\n";
    using Output = std::pair<int, std::string>;
    const std::pair<std::vector<std::string>, Output> cases[] = {
        {{"find", "USB*"}, {0, found(8) + found(12) + "2 matching device(s) found.\n"}},
        {{"find", "*sim12"}, {0, found(12) + one}},
        {{"find", "PCI*"}, {0, none}},
        {{"find", adapter(9)}, {0, none}},
        {{"status", "*SIM8"}, {0, shown(8, "Driver is running.") + one}},
        {{"disable", "@" + adapter(9)}, {1, ""}},
        {{"enable", "@"}, {1, ""}}};
    for (const auto& [args, output] : cases) {
        SCOPED_TRACE(::testing::PrintToString(args));
        EXPECT_EQ(devcon(args), output);
    }
}

TEST_F(FakeDevcon, DisableSilencesTheSimulatorUntilEnable) {
    start(13, {});
    const std::tuple<std::string, std::string, std::string> cases[] = {
        {"disable", "Device is disabled.", ""}, {"enable", "Driver is running.", "R20;"}};
    for (const auto& [verb, state, reply] : cases) {
        SCOPED_TRACE(verb);
        EXPECT_EQ(devcon({verb, "@" + adapter(13)}).first, 0);
        EXPECT_EQ(devcon({"status", "USB*"}).second, shown(13, state) + one);
        expectReplies("R0\r\n", reply);
    }
}

} // namespace
