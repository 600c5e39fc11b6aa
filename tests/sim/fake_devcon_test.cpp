#include "sim/sim_control.h"
#include "sim/sim_files.h"
#include "tests/sim/run_program.h"
#include "tests/sim/sim_line_fixture.h"

#include <fstream>

#include <unistd.h>

namespace {

const std::string adapter3 = "USB\\VID_1A86&PID_7523\\SIM3";
const std::string adapter12 = "USB\\VID_1A86&PID_7523\\SIM12";

class FakeDevcon : public SimLine {
protected:
    ProgramRun devcon(const std::vector<std::string>& args) {
        return runProgram(SimProcess::besideExecutable("kelvara-fake-devcon"), args);
    }

    std::string status3(const std::string& state) {
        return adapter3 + "\n    Name: Simulated USB serial adapter (COM3)\n    " + state + "\n";
    }
};

TEST_F(FakeDevcon, FindListsEveryRunningSimulator) {
    start({});
    SimProcess second;
    ASSERT_TRUE(second.start({"--port", "12"}));
    const auto run = devcon({"find", "USB*"});
    EXPECT_EQ(run.exitStatus, 0);
    EXPECT_EQ(run.out, adapter3 + ": Simulated USB serial adapter (COM3)\n" + adapter12 +
                           ": Simulated USB serial adapter (COM12)\n"
                           "2 matching device(s) found.\n");
}

TEST_F(FakeDevcon, StatusShowsIdNameAndState) {
    start({});
    const auto run = devcon({"status", "USB*"});
    EXPECT_EQ(run.exitStatus, 0);
    EXPECT_EQ(run.out, status3("Driver is running.") + "1 matching device(s) found.\n");
}

TEST_F(FakeDevcon, OnlyRunningSimulatorsAndMatchingPatternsAreListed) {
    start({});
    // A link left by a simulator that is gone.
    ASSERT_EQ(symlink("/dev/null", portlinks::linkPath(5).c_str()), 0);
    std::ofstream(simfiles::pidFilePath(5)) << gonePid() << '\n';
    struct Case {
        const char* pattern;
        bool listed;
    };
    const Case cases[] = {{"USB*", true},
                          {"usb*", true},
                          {"*SIM3", true},
                          {"PCI*", false},
                          {"USB\\VID_1A86&PID_7523\\SIM5", false}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.pattern);
        const auto run = devcon({"find", c.pattern});
        EXPECT_EQ(run.exitStatus, 0);
        EXPECT_EQ(run.out, c.listed ? adapter3 + ": Simulated USB serial adapter (COM3)\n"
                                                 "1 matching device(s) found.\n"
                                    : "No matching devices found.\n");
    }
}

TEST_F(FakeDevcon, DisableSilencesTheSimulatorUntilEnable) {
    start({});
    const auto disabled = devcon({"disable", "@" + adapter3});
    EXPECT_EQ(disabled.exitStatus, 0) << disabled.err;
    EXPECT_EQ(devcon({"status", "USB*"}).out,
              status3("Device is disabled.") + "1 matching device(s) found.\n");
    ASSERT_TRUE(line.send("E\r\n"));
    EXPECT_EQ(line.readFor(quietWindow), "");

    const auto enabled = devcon({"enable", "@" + adapter3});
    EXPECT_EQ(enabled.exitStatus, 0) << enabled.err;
    EXPECT_EQ(devcon({"status", "USB*"}).out,
              status3("Driver is running.") + "1 matching device(s) found.\n");
    EXPECT_EQ(line.command("R0"), "R20;");
}

TEST_F(FakeDevcon, EnableEndsSilentUntilEnable) {
    start({});
    ASSERT_TRUE(SimControl(3, "silent-until-enable"));
    ASSERT_TRUE(line.send("E\r\n"));
    EXPECT_EQ(line.readFor(quietWindow), "");
    EXPECT_EQ(devcon({"enable", "@" + adapter3}).exitStatus, 0);
    EXPECT_EQ(line.command("R0"), "R20;");
}

TEST_F(FakeDevcon, RestartedSimulatorComesUpRunning) {
    start({});
    ASSERT_EQ(devcon({"disable", "@" + adapter3}).exitStatus, 0);
    sim.stop();
    start({});
    EXPECT_EQ(devcon({"status", "USB*"}).out,
              status3("Driver is running.") + "1 matching device(s) found.\n");
}

TEST_F(FakeDevcon, UnknownDeviceFailsWithStatus1) {
    start({});
    for (const std::string& id : {"@" + adapter12, std::string("@")}) {
        SCOPED_TRACE(id);
        for (const char* verb : {"disable", "enable"}) {
            const auto run = devcon({verb, id});
            EXPECT_EQ(run.exitStatus, 1);
            EXPECT_TRUE(run.out.empty());
            EXPECT_FALSE(run.err.empty());
        }
    }
    EXPECT_EQ(line.command("R0"), "R20;");
}

TEST_F(FakeDevcon, EveryRunIsLogged) {
    start({});
    devcon({"find", "USB*"});
    devcon({"disable", "@" + adapter3});
    devcon({"status", "USB*"});
    devcon({"enable", "@nothing"});
    std::ifstream log(portlinks::workFolder() + "/fake-devcon.log");
    std::vector<std::string> lines;
    for (std::string l; std::getline(log, l);)
        lines.push_back(l);
    const std::vector<std::string> expected = {"find USB*", "disable @" + adapter3, "status USB*",
                                               "enable @nothing"};
    EXPECT_EQ(lines, expected);
}

} // namespace
