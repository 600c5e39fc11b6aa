#include <gtest/gtest.h>

#include <thread>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>

#include "platform/linux/port_link_folder.h"
#include "sim/sim_control.h"
#include "sim/sim_process.h"

namespace {

constexpr int kCom = 12;

struct CliRun {
    int status;
    std::string out; // stdout and stderr together, in order
};

// kelvara-cli with args, on the simulator's port, with its trace in trace; interruptAfter:
// the seconds after which it gets Ctrl+C (SIGINT), or empty.
CliRun cli(const std::string& args, const std::string& trace,
           const std::string& interruptAfter = "") {
    std::string command = SimProcess::besideExecutable("kelvara-cli") + " --port " +
                          std::to_string(kCom) + " --trace " + trace + " " + args +
                          " 2>&1 </dev/null";
    if (!interruptAfter.empty()) {
        command = "sh -c '" + command + " & pid=$!; sleep " + interruptAfter +
                  "; kill -INT $pid; wait $pid'";
    }
    CliRun run{-1, {}};
    FILE* pipe = popen(command.c_str(), "r");
    char buffer[4096];
    for (std::size_t n; (n = std::fread(buffer, 1, sizeof buffer, pipe)) > 0;) {
        run.out.append(buffer, n);
    }
    const int status = pclose(pipe);
    run.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return run;
}

// The commands that went out, in the order of the trace: "send \"W02,500\r\n\"" -> W02,500.
std::vector<std::string> sent(const std::string& trace) {
    std::vector<std::string> commands;
    std::ifstream in(trace);
    for (std::string line; std::getline(in, line);) {
        const auto at = line.find(" send \"");
        if (at != std::string::npos) {
            const auto begin = at + 7;
            commands.push_back(line.substr(begin, line.find("\\r\\n", begin) - begin));
        }
    }
    return commands;
}

struct CliBench : ::testing::Test {
    void SetUp() override {
        portlinks::ensureTrustedFolder(portlinks::workFolder());
        std::filesystem::create_directories(folder);
        ASSERT_TRUE(sim.start({"--port", std::to_string(kCom), "--no-pacing"}));
    }
    void TearDown() override { std::filesystem::remove_all(folder); }
    std::string path(const std::string& name) const { return (folder / name).string(); }

    SimProcess sim;
    std::filesystem::path folder =
        std::filesystem::temp_directory_path() / ("kelvara-cli-e2e-" + std::to_string(getpid()));
};

} // namespace

// The board swap: keep the parameters, find two changed, put them back exactly, prove it.
TEST_F(CliBench, SaveDiffRestoreDiffPutsTheBoardBackExactly) {
    const std::string file = path("a.txt"), trace = path("trace.log");
    EXPECT_EQ(cli("params save " + file, trace).status, 0);
    ASSERT_TRUE(simControl(kCom, "register 2 810"));
    ASSERT_TRUE(simControl(kCom, "register 9 -3"));
    const CliRun diff = cli("params diff " + file, trace);
    EXPECT_EQ(diff.status, 1);
    EXPECT_EQ(diff.out, "KV_MAX: file 500 (50), controller 810 (81)\n"
                        "KV_OFFSET: file 1 (0.0001), controller -3 (-0.0003)\n"
                        "2 registers differ.\n");
    std::filesystem::remove(trace);
    const CliRun restore = cli("params restore " + file, trace);
    EXPECT_EQ(restore.status, 0) << restore.out;
    EXPECT_NE(restore.out.find("KV_MAX: 810 (81) -> 500 (50): written, verified\n"
                               "KV_OFFSET: -3 (-0.0003) -> 1 (0.0001): written, verified\n"
                               "2 written and verified.\n"),
              std::string::npos)
        << restore.out;
    const auto commands = sent(trace);
    EXPECT_EQ(std::vector<std::string>(commands.end() - 4, commands.end()),
              (std::vector<std::string>{"W02,500", "d1", "R2", "R9"}));
    EXPECT_EQ(cli("params diff " + file, trace).status, 0);
}

// Each bad input gets its status, and nothing goes to the controller that the technician did
// not ask for.
TEST_F(CliBench, BadInputIsRefusedWithItsStatusAndNothingWritten) {
    const std::string good = path("good.txt"), bad = path("bad.txt"), trace = path("trace.log");
    ASSERT_EQ(cli("params save " + good, trace).status, 0);
    std::ofstream(bad) << "kelvara-parameters 1\n";
    struct Case {
        std::string args;
        int status;
        std::string says;
    };
    const Case cases[] = {
        {"params restore " + bad, 3, "is refused; nothing was sent"},
        {"params diff", 2, "params takes save, diff or restore and a FILE"},
        {"params restore " + good + " --calibration", 2, "there is none"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.args);
        std::filesystem::remove(trace);
        const CliRun run = cli(c.args, trace);
        EXPECT_EQ(run.status, c.status);
        EXPECT_NE(run.out.find(c.says), std::string::npos) << run.out;
        EXPECT_EQ(sent(trace), std::vector<std::string>{});
    }
    ASSERT_TRUE(simControl(kCom, "silent on"));
    const CliRun silent = cli("params restore " + good, trace);
    EXPECT_EQ(silent.status, 4);
    EXPECT_NE(silent.out.find("Device is not found."), std::string::npos) << silent.out;
}

// A controller that falls silent after the first write, or Ctrl+C while the restore waits for
// the second: the restore stops there, says which register was written and which not, and
// sends nothing more.
TEST_F(CliBench, ARestoreCutShortSaysWhatWasWritten) {
    struct Case {
        std::string interruptAfter; // seconds, or "" for never
        std::string says;
    };
    const Case cases[] = {
        {"", "kelvara-cli: The abnormality by the noise occurred. Please reboot.\n"},
        {"1.5", "kelvara-cli: interrupted"}};
    const std::string file = path("a.txt"), trace = path("trace.log");
    ASSERT_EQ(cli("params save " + file, trace).status, 0);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.says);
        ASSERT_TRUE(simControl(kCom, "register 2 810"));
        ASSERT_TRUE(simControl(kCom, "register 9 -3"));
        // The probe, the twelve reads and the first write are answered.
        ASSERT_TRUE(simControl(kCom, "silent-after 14"));
        std::filesystem::remove(trace);
        const CliRun run = cli("params restore " + file, trace, c.interruptAfter);
        EXPECT_EQ(run.status, 5) << run.out;
        EXPECT_NE(run.out.find("KV_MAX: 810 (81) -> 500 (50): written, not read back\n"
                               "KV_OFFSET: -3 (-0.0003) -> 1 (0.0001): not written\n"),
                  std::string::npos)
            << run.out;
        EXPECT_NE(run.out.find(c.says), std::string::npos) << run.out;
        auto commands = sent(trace);
        commands.erase(std::remove(commands.begin(), commands.end(), "d1"), commands.end());
        EXPECT_EQ(commands.back(), "W02,500");
    }
}

// A port another program holds is said as it is.
TEST_F(CliBench, AHeldPortIsNoController) {
    FILE* holder = popen((SimProcess::besideExecutable("kelvara-cli") + " --port " +
                          std::to_string(kCom) + " monitor --count 30 >/dev/null 2>&1")
                             .c_str(),
                         "r");
    std::this_thread::sleep_for(std::chrono::milliseconds(500));
    const CliRun held = cli("status", path("held.log"));
    pclose(holder);
    EXPECT_EQ(held.status, 4);
    EXPECT_NE(held.out.find("Device is not found."), std::string::npos) << held.out;
}
