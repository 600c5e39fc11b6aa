#pragma once

#include "platform/linux/port_link_folder.h"
#include "sim/sim_process.h"
#include "tests/sim/private_runtime_dir.h"
#include "tests/sim/pty_client.h"

#include <gtest/gtest.h>

#include <sys/wait.h>
#include <unistd.h>

// A pid that no process has any more.
inline pid_t gonePid() {
    const pid_t child = fork();
    if (child == 0)
        _exit(0);
    waitpid(child, nullptr, 0);
    return child;
}

// A simulator on COM3 of a private port-link folder, and the test's end of its line.
class SimLine : public ::testing::Test {
protected:
    static constexpr PtyClient::Duration quietWindow{300};

    void start(const std::vector<std::string>& args) {
        ASSERT_TRUE(sim.start(args));
        ASSERT_TRUE(line.open(portlinks::linkPath(3)));
    }

    PrivateRuntimeDir runtime;
    SimProcess sim;
    PtyClient line;
};
