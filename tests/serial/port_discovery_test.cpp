#include <gtest/gtest.h>

#include "serial/port_discovery.h"
#include "tests/support/serial_rig.h"

namespace {

// Ports that answer the probe, with their reply and delay.
struct Device {
    int16_t port;
    std::string reply;
    uint32_t delayMs;
};

void attach(SerialRig& rig, const std::vector<Device>& devices) {
    for (const auto& d : devices) {
        rig.port.present.insert(d.port);
    }
    rig.port.onWrite = [&rig, devices](int16_t port, const std::string&) {
        for (const auto& d : devices) {
            if (d.port == port && !d.reply.empty()) {
                rig.pump.after(d.delayMs, [&rig, d] { rig.port.receive(d.reply); });
            }
        }
    };
}

TEST(Rs232cFind, ReturnsFirstAnsweringPortAndLeavesItClosed) {
    struct Case {
        const char* name;
        std::vector<Device> devices;
        int16_t expected;
        uint32_t expectedMs;
    };
    const Case cases[] = {
        {"controller on COM5 only", {{5, "E0,0,0,0,0,0,0,0,0,0,0,0,0;", 3}}, 5, 3},
        {"another device answering on COM3 wins", {{3, "?;", 4}, {5, "E0;", 3}}, 3, 4},
        {"silent COM3 costs one probe time-out", {{3, "", 0}, {5, "E0;", 3}}, 5, 1001 + 3},
        {"answer without ';' is passed over", {{3, "garbage", 2}, {5, "E0;", 3}}, 5, 1001 + 3},
        {"reply in pieces", {{7, "E0,", 2}, {8, "", 0}}, 0, 2 * 1001},
        {"no device", {}, 0, 0},
    };
    for (const auto& tc : cases) {
        SCOPED_TRACE(tc.name);
        SerialRig rig;
        attach(rig, tc.devices);
        EXPECT_EQ(Rs232cFind(rig.c), tc.expected);
        EXPECT_FALSE(rig.port.portOpen());
        EXPECT_EQ(rig.counter.now, tc.expectedMs);
        EXPECT_TRUE(rig.boxes.shown.empty());
        EXPECT_EQ(rig.port.settings, "115200,N,8,1");
        EXPECT_EQ(rig.port.inputLen, 0);
    }
}

TEST(Rs232cFind, ProbeSendsELineOncePerOpenPort) {
    SerialRig rig;
    attach(rig, {{2, "", 0}, {4, "E1;", 1}});
    EXPECT_EQ(Rs232cFind(rig.c), 4);
    EXPECT_EQ(rig.port.sentTexts(), (std::vector<std::string>{"E\r\n", "E\r\n"}));
    EXPECT_EQ(rig.port.openedPorts, (std::vector<int16_t>{2, 4}));
}

TEST(Rs232cFind, AnswerStillUnreadAtTheDeadlineDoesNotCount) {
    SerialRig rig;
    rig.port.present = {3};
    // The reply lands in the receive buffer in the very pass in which the clock runs out.
    rig.port.onWrite = [&](int16_t, const std::string&) {
        rig.pump.after(1001, [&] { rig.port.receive("E0;"); });
    };
    EXPECT_EQ(Rs232cFind(rig.c), 0);
}

TEST(Rs232cSetInit, ReportsOpeningFailures) {
    struct Case {
        const char* name;
        bool present;
        std::optional<SerialError> failure;
        std::vector<std::string> expectedBoxes;
        bool expectedFailed;
    };
    const Case cases[] = {
        {"port number does not exist", false, std::nullopt, {"not found a device\r\n\r\n"}, true},
        {"port held by another program",
         true,
         SerialError(1, "Permission denied"),
         {"COM6: opening the port: Permission denied", "not found a device\r\n\r\n"},
         true},
        {"opens", true, std::nullopt, {}, false},
    };
    for (const auto& tc : cases) {
        SCOPED_TRACE(tc.name);
        SerialRig rig;
        rig.m.i_comPort = 6;
        rig.m.sRecvBuf = "old";
        if (tc.present) {
            rig.port.present = {6};
        }
        rig.port.openFailure = tc.failure;
        Rs232cOpen(rig.c);
        std::vector<std::string> texts;
        for (const auto& s : rig.boxes.shown) {
            texts.push_back(s.text);
            EXPECT_EQ(s.title, "Kelvara");
        }
        EXPECT_EQ(texts, tc.expectedBoxes);
        EXPECT_EQ(rig.port.portOpen(), !tc.expectedFailed);
        EXPECT_EQ(rig.m.sRecvBuf, tc.expectedFailed ? "old" : "");
        if (tc.failure) {
            EXPECT_EQ(rig.boxes.shown[0].flags, 0x1030);
            EXPECT_EQ(rig.boxes.shown[1].flags, 0x1);
        }
    }
}

TEST(Rs232cSetInit, SuccessfulOpeningDiscardsWhatWasReceived) {
    SerialRig rig;
    rig.port.present = {2};
    rig.port.rx = "stale;";
    EXPECT_FALSE(Rs232cSetInit(rig.c, 2));
    EXPECT_EQ(rig.port.rx, "");
    EXPECT_EQ(rig.m.sRecvBuf, "");
}

TEST(Rs232cClose, ClosedPortIsLeftAlone) {
    SerialRig rig;
    Rs232cClose(rig.c);
    EXPECT_FALSE(rig.port.portOpen());
    rig.port.present = {1};
    ASSERT_FALSE(Rs232cSetInit(rig.c, 1));
    rig.port.rx = "kept";
    Rs232cClose(rig.c);
    EXPECT_FALSE(rig.port.portOpen());
    EXPECT_EQ(rig.port.rx, "kept");
}

} // namespace
