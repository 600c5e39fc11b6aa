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

// kelvara-sim on COM12, a parameter file saved from it, and kelvara-cli run against it.
struct CliBench : ::testing::Test {
    void SetUp() override {
        portlinks::ensureTrustedFolder(portlinks::workFolder());
        std::filesystem::create_directories(folder);
        ASSERT_TRUE(sim.start({"--port", std::to_string(kCom), "--no-pacing"}));
        // Over a file that is there already.
        std::ofstream(board) << "earlier";
        const CliRun save = cli("params save " + board);
        ASSERT_EQ(save.status, 0);
        EXPECT_EQ(save.out, "Saved 12 registers of COM12 to " + board + ".\n");
    }
    void TearDown() override { std::filesystem::remove_all(folder); }

    // kelvara-cli with args, its trace in a fresh trace file; interruptAfter: the seconds
    // after which it gets Ctrl+C (SIGINT), or empty.
    CliRun cli(const std::string& args, const std::string& interruptAfter = "") const {
        std::filesystem::remove(trace);
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

    // The commands the last run sent, in order: "send \"W02,500\r\n\"" -> W02,500.
    std::vector<std::string> sent() const {
        std::vector<std::string> commands;
        std::ifstream in(trace);
        for (std::string line; std::getline(in, line);) {
            if (const auto at = line.find(" send \""); at != std::string::npos) {
                commands.push_back(line.substr(at + 7, line.find("\\r\\n", at) - at - 7));
            }
        }
        return commands;
    }

    SimProcess sim;
    std::filesystem::path folder =
        std::filesystem::temp_directory_path() / ("kelvara-cli-e2e-" + std::to_string(getpid()));
    std::string board = (folder / "board.txt").string(), trace = (folder / "trace.log").string();
};

} // namespace

// The board swap: keep the parameters, find two changed, put them back exactly, prove it.
TEST_F(CliBench, SaveDiffRestoreDiffPutsTheBoardBackExactly) {
    ASSERT_TRUE(simControl(kCom, "register 2 810"));
    ASSERT_TRUE(simControl(kCom, "register 9 -3"));
    const CliRun diff = cli("params diff " + board);
    EXPECT_EQ(diff.status, 1);
    EXPECT_EQ(diff.out, "KV_MAX: file 500 (50), controller 810 (81)\n"
                        "KV_OFFSET: file 1 (0.0001), controller -3 (-0.0003)\n"
                        "2 registers differ.\n");
    const CliRun restore = cli("params restore " + board);
    EXPECT_EQ(restore.status, 0) << restore.out;
    EXPECT_NE(restore.out.find("KV_MAX: 810 (81) -> 500 (50): written, verified\n"
                               "KV_OFFSET: -3 (-0.0003) -> 1 (0.0001): written, verified\n"
                               "2 written and verified.\n"),
              std::string::npos)
        << restore.out;
    EXPECT_EQ(cli("params diff " + board).status, 0);
}

// Each bad input gets its status, and nothing goes to the controller that the technician did
// not ask for; a silent controller and a port another program holds are no controller.
TEST_F(CliBench, BadInputAndNoControllerEndWithTheirStatus) {
    const std::string bad = (folder / "bad.txt").string();
    std::ofstream(bad) << "kelvara-parameters 1\n";
    struct Case {
        std::string args;
        int status;
        std::string says;
    };
    const Case cases[] = {
        {"params restore " + bad, 3, "is refused; nothing was sent"},
        {"params restore " + board + " --calibration", 2, "there is none"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.args);
        const CliRun run = cli(c.args);
        EXPECT_EQ(run.status, c.status);
        EXPECT_NE(run.out.find(c.says), std::string::npos) << run.out;
        EXPECT_EQ(sent(), std::vector<std::string>{});
    }
    ASSERT_TRUE(simControl(kCom, "silent on"));
    const CliRun silent = cli("params restore " + board);
    ASSERT_TRUE(simControl(kCom, "silent off"));
    FILE* holder = popen((SimProcess::besideExecutable("kelvara-cli") + " --port " +
                          std::to_string(kCom) + " monitor --count 30 >/dev/null 2>&1")
                             .c_str(),
                         "r");
    std::this_thread::sleep_for(std::chrono::milliseconds(500));
    const CliRun held = cli("status");
    pclose(holder);
    for (const CliRun& run : {silent, held}) {
        EXPECT_EQ(run.status, 4);
        EXPECT_NE(run.out.find("Device is not found."), std::string::npos) << run.out;
    }
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
    for (const Case& c : cases) {
        SCOPED_TRACE(c.says);
        ASSERT_TRUE(simControl(kCom, "register 2 810"));
        ASSERT_TRUE(simControl(kCom, "register 9 -3"));
        // The probe, the twelve reads and the first write are answered.
        ASSERT_TRUE(simControl(kCom, "silent-after 14"));
        const CliRun run = cli("params restore " + board, c.interruptAfter);
        EXPECT_EQ(run.status, 5) << run.out;
        EXPECT_NE(run.out.find("KV_MAX: 810 (81) -> 500 (50): written, not read back\n"
                               "KV_OFFSET: -3 (-0.0003) -> 1 (0.0001): not written\n"),
                  std::string::npos)
            << run.out;
        EXPECT_NE(run.out.find(c.says), std::string::npos) << run.out;
        auto commands = sent();
        commands.erase(std::remove(commands.begin(), commands.end(), "d1"), commands.end());
        EXPECT_EQ(commands.back(), "W02,500");
    }
}
