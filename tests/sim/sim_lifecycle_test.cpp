#include "sim/sim_files.h"
#include "tests/sim/sim_line_fixture.h"

#include <csignal>
#include <fstream>
#include <iterator>
#include <tuple>
#include <utility>

#include <sys/stat.h>

namespace {

bool exists(const std::string& path) {
    return std::filesystem::exists(std::filesystem::symlink_status(path));
}

std::string linkTarget(const std::string& link) {
    std::error_code missing;
    return std::filesystem::read_symlink(link, missing);
}

class SimLifecycle : public SimLine {
protected:
    // Starts a simulator that is to refuse to run: its exit status and what it wrote on stderr.
    std::pair<int, std::string> refused(const std::vector<std::string>& args) {
        const std::string errors = runtime + "/stderr.txt";
        SimProcess refusing;
        refusing.setStderrPath(errors);
        EXPECT_FALSE(refusing.start(args));
        std::ifstream in(errors);
        return {refusing.exitStatus(), {std::istreambuf_iterator<char>(in), {}}};
    }
};

TEST_F(SimLifecycle, ReadyLineNamesTheLinkAndItsDevice) {
    start(40, {});
    EXPECT_EQ(sim.portName(), "COM40");
    EXPECT_EQ(linkTarget(portlinks::linkPath(40)), sim.devicePath());
    EXPECT_EQ(simfiles::readPid(simfiles::pidFilePath(40)), sim.pid());
    EXPECT_EQ(std::filesystem::status(simfiles::controlPath(40)).permissions(),
              std::filesystem::perms(0600));
}

TEST_F(SimLifecycle, StopSignalsRemoveItsFiles) {
    for (const int signal : {SIGTERM, SIGINT, SIGHUP}) {
        SCOPED_TRACE(signal);
        start(41, {});
        ASSERT_EQ(kill(sim.pid(), signal), 0);
        ASSERT_TRUE(sim.waitForExit(5000ms));
        EXPECT_EQ(sim.exitStatus(), 0);
        for (const auto& path :
             {portlinks::linkPath(41), simfiles::pidFilePath(41), simfiles::controlPath(41)})
            EXPECT_FALSE(exists(path)) << path;
    }
}

TEST_F(SimLifecycle, ExistingLinkIsTakenOnlyFromAGoneSimulator) {
    ASSERT_TRUE(portlinks::ensureTrustedFolder(portlinks::portLinkFolder()));
    // COM number, pid in the pid file beside the link (0: none), whether the link is taken.
    const std::tuple<int, pid_t, bool> cases[] = {
        {42, gonePid, true}, {43, getpid(), false}, {44, 0, false}};
    for (const auto& [com, holder, taken] : cases) {
        SCOPED_TRACE(com);
        const std::string link = portlinks::linkPath(com);
        ASSERT_EQ(symlink("/dev/pts/999", link.c_str()), 0);
        if (holder != 0)
            std::ofstream(simfiles::pidFilePath(com)) << holder << '\n';
        SimProcess other;
        EXPECT_EQ(other.start({"--port", std::to_string(com)}), taken);
        EXPECT_EQ(other.exitStatus(), taken ? -1 : 1);
        EXPECT_EQ(linkTarget(link), taken ? other.devicePath() : "/dev/pts/999");
        EXPECT_EQ(simfiles::readPid(simfiles::pidFilePath(com)), taken ? other.pid() : holder);
    }
}

TEST_F(SimLifecycle, UntrustedFolderIsRefused) {
    ASSERT_TRUE(portlinks::ensureTrustedFolder(portlinks::portLinkFolder()));
    for (const auto& folder : {portlinks::workFolder(), portlinks::portLinkFolder()}) {
        SCOPED_TRACE(folder);
        ASSERT_EQ(chmod(folder.c_str(), 0777), 0);
        const auto [status, errors] = refused({"--port", "45"});
        EXPECT_EQ(status, 1);
        EXPECT_NE(errors.find(folder + " is not safe to use"), std::string::npos) << errors;
        EXPECT_FALSE(exists(portlinks::linkPath(45)));
        ASSERT_EQ(chmod(folder.c_str(), 0700), 0);
    }
}

TEST_F(SimLifecycle, BadOptionsGiveOneUsageLineAndStatus2) {
    const std::vector<std::vector<std::string>> cases = {
        {"--bogus"},          {"--port", "0"},  {"--port", "129"}, {"--counts", "1,2"},
        {"--flags", "01"},    {"--split", "0"}, {"--late", "-1"},  {"--no-pacing=1"},
        {"--silent-for", ""}, {"-p", "3"}};
    for (const auto& args : cases) {
        SCOPED_TRACE(::testing::PrintToString(args));
        const auto [status, errors] = refused(args);
        EXPECT_EQ(status, 2);
        EXPECT_TRUE(errors.starts_with("kelvara-sim: ")) << errors;
        EXPECT_EQ(std::ranges::count(errors, '\n'), 1) << errors;
    }
}

} // namespace
