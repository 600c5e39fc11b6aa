#include "tests/sim/sim_line.h"

#include <csignal>
#include <fstream>
#include <thread>

#include <sys/stat.h>
#include <sys/wait.h>

namespace {

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
