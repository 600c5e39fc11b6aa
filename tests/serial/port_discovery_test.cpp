#include <gtest/gtest.h>

#include "serial/port_discovery.h"
#include "tests/support/fake_serial.h"

namespace {

// A port that answers the probe with its reply after its delay in ms; "" for a silent one.
using Device = std::tuple<int16_t, std::string, uint32_t>;

TEST(Rs232cFind, ReturnsFirstAnsweringPortAndLeavesItClosed) {
    struct Case {
        std::vector<Device> devices;
        int16_t found;
        uint32_t endMs; // when the scan ends
        std::size_t probes;
    };
    const Case cases[] = {
        {{{5, "E0,0,0,0,0,0,0,0,0,0,0,0,0;", 3}}, 5, 3, 1},
        // Another device answering wins; a silent one or one without ';' costs a probe time-out.
        {{{3, "?;", 4}, {5, "E0;", 3}}, 3, 4, 1},
        {{{3, "", 0}, {5, "E0;", 3}}, 5, 1001 + 3, 2},
        {{{7, "E0,", 2}, {8, "", 0}}, 0, 2 * 1001, 2},
        // The reply lands in the very pass in which the clock runs out: it does not count.
        {{{3, "E0;", 1001}}, 0, 1001, 1},
        {{}, 0, 0, 0}};
    for (const auto& [devices, expected, expectedMs, probes] : cases) {
        SCOPED_TRACE(expectedMs);
        SerialRig rig;
        rig.m.sRecvBuf = "R20;"; // a reply from before the scan answers no probe
        for (const auto& d : devices) {
            rig.present.insert(std::get<0>(d));
        }
        rig.onWrite = [&, &devices = devices](const std::string&) {
            for (const auto& [port, reply, delayMs] : devices) {
                if (port == rig.port && !reply.empty()) {
                    rig.after(delayMs, [&rig, bytes = reply] { rig.rx += bytes; });
                }
            }
        };
        EXPECT_EQ(Rs232cFind(rig.c), expected);
        EXPECT_EQ(rig.port, expected != 0 ? expected : 128); // the scan ends at COM128
        EXPECT_FALSE(rig.portOpen());
        EXPECT_EQ(rig.now, expectedMs);
        EXPECT_EQ(rig.sent, std::vector<std::string>(probes, "E\r\n"));
        EXPECT_TRUE(rig.boxes.shown.empty());
        EXPECT_EQ(rig.settings, "115200,N,8,1");
    }
}

// Not present: only the scan's message; refused, or opened but not purged: the failure, then
// that message, and the port is left closed.
TEST(Rs232cOpen, ReportsOpeningFailuresAndDiscardsWhatWasReceived) {
    using Failure = std::optional<SerialError>;
    const Failure none, refused = SerialError(1, "Permission denied"),
                        ioError = SerialError(5, "Input/output error");
    const Shown notFound{"not found a device\r\n\r\n", 0x1};
    const auto failed = [](const char* why) {
        return Shown{std::string("COM6: opening the port: ") + why, 0x1030};
    };
    struct Case {
        std::set<int16_t> present;
        Failure openFailure, purgeFailure;
        std::vector<Shown> shown;
    };
    const Case cases[] = {{{}, none, none, {notFound}},
                          {{6}, refused, none, {failed("Permission denied"), notFound}},
                          {{6}, none, ioError, {failed("Input/output error"), notFound}},
                          {{6}, none, none, {}}};
    for (const auto& [present, failure, purgeFailure, expectedBoxes] : cases) {
        SCOPED_TRACE(testing::PrintToString(expectedBoxes));
        SerialRig rig;
        rig.m.i_comPort = 6;
        rig.m.sRecvBuf = "old";
        rig.rx = "stale;";
        rig.present = present;
        rig.openFailure = failure;
        rig.purgeFailure = purgeFailure;
        Rs232cOpen(rig.c);
        const bool opened = expectedBoxes.empty();
        EXPECT_EQ(rig.boxes.shown, expectedBoxes);
        EXPECT_EQ(rig.portOpen(), opened);
        EXPECT_EQ(rig.m.sRecvBuf + rig.rx, opened ? "" : "oldstale;");
        Rs232cClose(rig.c);
        EXPECT_FALSE(rig.portOpen());
    }
}

} // namespace
