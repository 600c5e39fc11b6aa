#include "sim/sim_control.h"
#include "sim/sim_files.h"
#include "tests/sim/sim_line_fixture.h"

#include <csignal>
#include <fstream>

#include <sys/stat.h>
#include <unistd.h>

namespace {

using std::chrono::milliseconds;

constexpr milliseconds exitLimit{5000};

bool exists(const std::string& path) {
    struct stat st {};
    return lstat(path.c_str(), &st) == 0;
}

std::string linkTarget(const std::string& link) {
    char target[4096];
    const ssize_t n = readlink(link.c_str(), target, sizeof target);
    return n > 0 ? std::string(target, static_cast<std::size_t>(n)) : std::string();
}

std::vector<std::string> filesOf(int com) {
    return {portlinks::linkPath(com), simfiles::pidFilePath(com), simfiles::controlPath(com)};
}

void writePidFile(int com, pid_t pid) { std::ofstream(simfiles::pidFilePath(com)) << pid << '\n'; }

std::vector<std::string> linesOf(const std::string& path) {
    std::ifstream in(path);
    std::vector<std::string> lines;
    for (std::string line; std::getline(in, line);)
        lines.push_back(line);
    return lines;
}

using SimLifecycle = SimLine;

TEST_F(SimLifecycle, ReadyLineNamesTheLinkAndItsDevice) {
    ASSERT_TRUE(sim.start({"--port", "17"}));
    EXPECT_EQ(sim.portName(), "COM17");
    EXPECT_EQ(linkTarget(portlinks::linkPath(17)), sim.devicePath());
    EXPECT_EQ(simfiles::readPid(simfiles::pidFilePath(17)), sim.pid());
    EXPECT_FALSE(exists(portlinks::linkPath(3)));
    struct stat st {};
    ASSERT_EQ(stat(simfiles::controlPath(17).c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0600u);
}

TEST_F(SimLifecycle, StopSignalsRemoveItsFiles) {
    for (const int signal : {SIGTERM, SIGINT, SIGHUP}) {
        SCOPED_TRACE(signal);
        start({});
        ASSERT_EQ(kill(sim.pid(), signal), 0);
        ASSERT_TRUE(sim.waitForExit(exitLimit));
        EXPECT_EQ(sim.exitStatus(), 0);
        for (const auto& path : filesOf(3))
            EXPECT_FALSE(exists(path)) << path;
    }
}

TEST_F(SimLifecycle, QuitRemovesItsFiles) {
    start({});
    ASSERT_TRUE(SimControl(3, "quit"));
    ASSERT_TRUE(sim.waitForExit(exitLimit));
    EXPECT_EQ(sim.exitStatus(), 0);
    for (const auto& path : filesOf(3))
        EXPECT_FALSE(exists(path)) << path;
}

TEST_F(SimLifecycle, StaleLinkOfAGoneSimulatorIsReplaced) {
    ASSERT_TRUE(portlinks::ensureTrustedFolder(portlinks::portLinkFolder()));
    ASSERT_EQ(symlink("/dev/pts/999", portlinks::linkPath(3).c_str()), 0);
    writePidFile(3, gonePid());
    start({});
    EXPECT_EQ(linkTarget(portlinks::linkPath(3)), sim.devicePath());
    EXPECT_EQ(simfiles::readPid(simfiles::pidFilePath(3)), sim.pid());
    EXPECT_EQ(line.command("R0"), "R20;");
}

TEST_F(SimLifecycle, LinkOfARunningSimulatorIsNotTaken) {
    start({});
    SimProcess second;
    EXPECT_FALSE(second.start({}));
    EXPECT_EQ(second.exitStatus(), 1);
    EXPECT_EQ(linkTarget(portlinks::linkPath(3)), sim.devicePath());
    EXPECT_EQ(simfiles::readPid(simfiles::pidFilePath(3)), sim.pid());
    EXPECT_TRUE(SimControl(3, "noise 0"));
}

TEST_F(SimLifecycle, LinkThatIsNoSimulatorsIsNotTaken) {
    ASSERT_TRUE(portlinks::ensureTrustedFolder(portlinks::portLinkFolder()));
    ASSERT_EQ(symlink("/dev/ttyUSB0", portlinks::linkPath(3).c_str()), 0);
    EXPECT_FALSE(sim.start({}));
    EXPECT_EQ(sim.exitStatus(), 1);
    EXPECT_EQ(linkTarget(portlinks::linkPath(3)), "/dev/ttyUSB0");
    EXPECT_FALSE(exists(simfiles::pidFilePath(3)));
}

TEST_F(SimLifecycle, UntrustedFolderIsRefused) {
    for (const auto& folder : {portlinks::workFolder(), portlinks::portLinkFolder()}) {
        SCOPED_TRACE(folder);
        ASSERT_TRUE(portlinks::ensureTrustedFolder(portlinks::portLinkFolder()));
        ASSERT_EQ(chmod(folder.c_str(), 0777), 0);
        EXPECT_FALSE(sim.start({}));
        EXPECT_EQ(sim.exitStatus(), 1);
        EXPECT_FALSE(exists(portlinks::linkPath(3)));
        ASSERT_EQ(chmod(folder.c_str(), 0700), 0);
    }
}

TEST_F(SimLifecycle, BadOptionsGiveOneUsageLineAndStatus2) {
    const std::string errors = runtime.path() + "/stderr.txt";
    const std::vector<std::vector<std::string>> cases = {{"--bogus"}, {"--port", "0"}};
    for (const auto& args : cases) {
        SCOPED_TRACE(::testing::PrintToString(args));
        SimProcess bad;
        bad.setStderrPath(errors);
        EXPECT_FALSE(bad.start(args));
        EXPECT_EQ(bad.exitStatus(), 2);
        const auto lines = linesOf(errors);
        ASSERT_EQ(lines.size(), 1u);
        EXPECT_EQ(lines[0].rfind("kelvara-sim: ", 0), 0u) << lines[0];
        EXPECT_FALSE(exists(portlinks::linkPath(3)));
    }
}

} // namespace
