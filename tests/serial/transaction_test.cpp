#include <gtest/gtest.h>

#include <algorithm>

#include "serial/port_discovery.h"
#include "serial/transaction.h"
#include "tests/support/fake_serial.h"

namespace {

using enum CommandOutcome;
using Texts = std::vector<std::string>;

// An open link on COM4 whose adapter never shows as disabled: a recovery costs
// 3001 + 3 x 1001 + 3001 ms.
struct Link : SerialRig {
    Link() {
        openPort(4);
        findListing = "USB\\X: Adapter (COM4)\n";
        statusListings = {"USB\\X\n    Name: Adapter (COM4)\n    Driver is running.\n"};
    }
    CommandOutcome command(const std::string& cmd) { return Rs232cCommand(c, cmd); }
};

// Text ahead of the reply is stale and dropped, never read as its value; a stale ";" restarts
// the time-out, so the reply may come after the first deadline.
TEST(Rs232cCommand, ReplyNeedsSemicolonAfterTheCommandLetter) {
    const std::tuple<std::string, Pieces, std::string, uint32_t> cases[] = {
        {"R0", {{2, "R"}, {4, "2"}, {6, "0;"}}, "R20;", 6},
        {"R2", {{2, ";"}, {4, "R500;"}}, "R500;", 4},
        {"R0", {{2, ";R"}, {5, "20;"}}, "R20;", 5},
        {"R2", {{2, "RxR500;"}}, "R500;", 2},
        {"R2", {{10, ";"}, {3005, "R500;"}}, "R500;", 3005},
        {"R2", {{3000, "R500;"}}, "R500;", 3000},
        {"A1", {{3, "A;xyz"}}, "A;xyz", 3},
        {"", {{1, "abc;"}}, "abc;", 1}};
    for (const auto& [cmd, pieces, expectedBuf, expectedEnd] : cases) {
        SCOPED_TRACE(expectedBuf);
        Link link;
        link.rx = "R38;";   // a late reply that came while the link was idle
        link.m.iUsbErr = 1; // as an earlier command's failure left it
        link.replyInPieces(pieces);
        EXPECT_EQ(link.command(cmd), Complete);
        EXPECT_EQ(link.discarded, "R38;");
        EXPECT_EQ(link.m.sRecvBuf, expectedBuf);
        EXPECT_EQ(link.now, expectedEnd);
        EXPECT_EQ(link.sent, Texts{cmd + "\r\n"});
        EXPECT_EQ(link.m.iUsbErr + link.m.bCommBusy, 0);
    }
}

// Resends, then the adapter reset and its resends, then the noise message.
TEST(Rs232cCommand, SilentControllerRunsTheWholeRoad) {
    const std::tuple<int16_t, int16_t, std::vector<uint32_t>, std::size_t> cases[] = {
        {2, 1, {0, 3001, 6002, 18008, 21009, 24010}, 7}, {0, 0, {0}, 0}, {1, 0, {0, 3001}, 0}};
    for (const auto& [comRetries, usbRetries, expectedSends, expectedRuns] : cases) {
        SCOPED_TRACE(expectedSends.size());
        Link link;
        link.m.iComRetryCount = comRetries;
        link.m.iUsbRetryCount = usbRetries;
        EXPECT_EQ(link.command("E"), Failed);
        EXPECT_EQ(link.sendTimes, expectedSends);
        EXPECT_EQ(link.boxes.shown,
                  (std::vector<Shown>{
                      {"The abnormality by the noise occurred.\r\rPlease reboot.", 0x1010}}));
        EXPECT_EQ(std::pair(link.m.iUsbErr, link.m.bCommBusy), (std::pair<int16_t, int16_t>(1, 0)));
        EXPECT_EQ(link.runs.size(), expectedRuns);
    }
}

// A controller that answers late: the replies to the resends come after the reply that
// completed the command. The command completes at its reply; the next one takes the others
// off the line before it sends, so they cannot answer it.
TEST(Rs232cCommand, LateRepliesToResendsAreTakenOffTheLineByTheNextCommand) {
    // answeredSend 0: every send is answered. Landing in the pass that times the first attempt
    // out, a reply is not read by it: the resend (not preceded by a discard) takes it. When only
    // the last send is answered, the others can no longer be: their time is waited out.
    // 6503 is 3001 + 3001 + 501, 12510 is 6002 + 6007 + 501.
    struct Case {
        uint32_t lateMs;
        std::size_t answeredSend;
        uint32_t answered; // when the first command completes
        uint32_t nextSent; // when the next command goes out
    };
    const Case cases[] = {{5, 0, 5, 5},
                          {3500, 0, 3500, 6501},
                          {7000, 0, 7000, 13002},
                          {3001, 1, 3001, 6503},
                          {5, 3, 6007, 12510}};
    for (const Case& t : cases) {
        SCOPED_TRACE(t.nextSent);
        Link link;
        link.onWrite = [&](const std::string& text) {
            if (t.answeredSend == 0 || link.sent.size() == t.answeredSend) {
                const std::string reply = text == "R0\r\n" ? "R20;" : "R38;";
                link.after(t.lateMs, [&link, reply] { link.rx += reply; });
            }
        };
        EXPECT_EQ(link.command("R0"), Complete);
        EXPECT_EQ(link.m.sRecvBuf, "R20;");
        EXPECT_EQ(link.now, t.answered);
        link.onWrite = [](const std::string&) {};
        link.replyInPieces({{5, "R38;"}});
        EXPECT_EQ(link.command("R1"), Complete);
        EXPECT_EQ(link.m.sRecvBuf, "R38;");
        EXPECT_EQ(link.sendTimes.back(), t.nextSent);
        EXPECT_EQ(link.discarded, "");
    }
}

// Closing the port drops what was owed: the reopened port has nothing of it to wait for.
TEST(Rs232cCommand, ClosingThePortDropsTheLateRepliesOwed) {
    Link link;
    link.onWrite = [&](const std::string&) {
        if (link.sent.size() == 2) {
            link.after(5, [&link] { link.rx += "R20;"; });
        }
    };
    EXPECT_EQ(link.command("R0"), Complete);
    Rs232cClose(link.c);
    link.openPort(4);
    link.onWrite = [](const std::string&) {};
    link.replyInPieces({{5, "R38;"}});
    const uint32_t closedAt = link.now;
    EXPECT_EQ(link.command("R1"), Complete);
    EXPECT_EQ(link.sendTimes.back(), closedAt);
}

TEST(Rs232cCommand, AfterTheAdapterResetTheReopenedPortIsTried) {
    for (const bool reopens : {true, false}) {
        SCOPED_TRACE(reopens);
        Link link;
        link.onRun = [&](const std::string& run) {
            if (!reopens && run.starts_with("disable")) {
                link.present.clear();
            }
        };
        link.onWrite = [&](const std::string&) {
            if (link.sent.size() == 4) {
                link.after(2, [&] { link.rx += "V;"; });
            }
        };
        EXPECT_EQ(link.command("V10"), reopens ? Complete : Failed);
        EXPECT_EQ(link.sent.size(), reopens ? 4u : 3u);
        // Answered at the first send after reopening: no late reply to wait for.
        if (reopens) {
            EXPECT_EQ(link.now, link.sendTimes.back() + 2);
        }
        EXPECT_EQ(link.m.iUsbErr, 1);
        EXPECT_TRUE(link.boxes.shown.empty());
        EXPECT_EQ(link.portOpen(), reopens);
        EXPECT_EQ(link.m.bPortLost, !reopens);
    }
}

// A write that fails, or never completes and fails when its time-out has passed, runs the error
// path and the adapter reset without a resend, and the port is opened afresh; one that cannot
// be is lost. A cancel that never completes either leaves a handle that is let go (the trace
// says so); closing during the reset ends it.
TEST(Rs232cCommand, FailedOrHungWriteRunsTheErrorPathAndTheRecovery) {
    const struct Case {
        bool hangs, stuckCancel, reopenFails;
        uint32_t unloadAt;
        CommandOutcome outcome;
    } cases[] = {{false, false, false, 0, Failed},
                 {false, false, true, 0, Failed},
                 {true, false, false, 0, Failed},
                 {true, true, false, 0, Failed},
                 {true, true, false, 2000, Closing}};
    for (const Case& t : cases) {
        SCOPED_TRACE(testing::Message() << t.hangs << t.stuckCancel << t.reopenFails << t.unloadAt);
        Link link;
        RecordingTrace trace;
        link.c.trace = &trace;
        if (t.hangs) {
            link.hangWrites(t.stuckCancel);
        } else {
            link.writeFailure = SerialError(5, "Input/output error");
        }
        if (t.reopenFails) {
            link.openFailure = SerialError(13, "Permission denied");
        }
        if (t.unloadAt != 0) {
            link.at(t.unloadAt, [&] { link.m.bUnloading = true; });
        }
        // A port left open would keep the adapter from being reset.
        link.onRun = [&](const std::string&) { EXPECT_FALSE(link.portOpen()); };
        EXPECT_EQ(link.command("E"), t.outcome);
        const std::string why =
            t.hangs ? "The semaphore timeout period has expired." : "Input/output error";
        EXPECT_EQ(link.boxes.shown, (std::vector<Shown>{{"COM4: sending E: " + why, 0x1030}}));
        EXPECT_TRUE(link.sent.empty());
        EXPECT_EQ(link.runs.at(0), "find USB*");
        EXPECT_EQ(trace.holds("COM4 closing the port: The semaphore timeout period has expired."),
                  t.stuckCancel);
        const bool reopened = t.outcome == Failed && !t.reopenFails;
        EXPECT_EQ(std::pair(link.portOpen(), link.opens), std::pair(reopened, reopened ? 2 : 1));
        EXPECT_EQ(link.m.bPortLost, t.reopenFails);
        EXPECT_EQ(link.m.bCommBusy, 0);
    }
}

// The adapter pulled: the failure is told once in the lost link's words, the adapter reset
// runs once; later commands each try one quiet reopening and fail at once; when the adapter is
// back the next command reopens the port and goes out.
TEST(Rs232cCommand, LostPortIsToldOnceAndComesBackByItself) {
    Link link;
    RecordingTrace trace;
    link.c.trace = &trace;
    link.unplug();
    EXPECT_EQ(link.command("E"), Failed);
    const std::vector<Shown> told{
        {"COM4: discarding stale input: the link to the controller was lost: the USB adapter was "
         "unplugged or stopped answering. Reconnect it; Kelvara reconnects by itself.",
         0x1030}};
    EXPECT_EQ(link.boxes.shown, told);
    EXPECT_TRUE(trace.holds("(The device is not connected.)"));
    EXPECT_TRUE(link.m.bPortLost);
    const std::size_t runs = link.runs.size();
    const uint32_t lostAt = link.now;
    for (const char* cmd : {"A1", "S1", "E"}) {
        SCOPED_TRACE(cmd);
        EXPECT_EQ(link.command(cmd), Failed);
        EXPECT_EQ(link.m.iUsbErr, 1);
    }
    EXPECT_EQ(link.boxes.shown, told);
    EXPECT_EQ(std::tuple(link.runs.size(), link.now, link.sent.size()),
              std::tuple(runs, lostAt, std::size_t{0}));
    // Each quiet reopening says in the trace why it failed.
    EXPECT_EQ(std::ranges::count_if(trace.events,
                                    [](const std::string& e) {
                                        return e.find("Port number does not exist") !=
                                               std::string::npos;
                                    }),
              4);
    link.replug();
    link.replyInPieces({{3, "E0;"}});
    EXPECT_EQ(link.command("E"), Complete);
    EXPECT_FALSE(link.m.bPortLost);
    EXPECT_EQ(link.boxes.shown, told);
    EXPECT_TRUE(trace.holds("COM4 is back"));
    EXPECT_EQ(link.sent, Texts{"E\r\n"});
}

// A call while a transaction is open (a click during a wait) is refused and changes nothing;
// once the window closes (in the reply wait, after a resend, in the recovery's settle wait)
// every call ends at once.
TEST(Rs232cCommand, RefusedWhileBusyClosingOnceUnloading) {
    Link busy;
    busy.m.bCommBusy = busy.m.iUsbErr = 1;
    busy.m.sRecvBuf = "outer";
    EXPECT_EQ(busy.command("E"), Refused);
    EXPECT_EQ(busy.m.iUsbErr, 1);
    EXPECT_EQ(busy.m.sRecvBuf, "outer");
    EXPECT_TRUE(busy.sent.empty());
    const std::pair<uint32_t, std::size_t> cases[] = {{1500, 1}, {4000, 2}, {10000, 3}};
    for (const auto& [unloadAt, expectedSends] : cases) {
        SCOPED_TRACE(unloadAt);
        Link link;
        link.at(unloadAt, [&] { link.m.bUnloading = true; });
        EXPECT_EQ(link.command("E"), Closing);
        EXPECT_EQ(link.command("E"), Closing);
        EXPECT_EQ(link.sent.size(), expectedSends);
        EXPECT_TRUE(link.boxes.shown.empty());
        EXPECT_EQ(link.opens, 1);
        EXPECT_EQ(link.now, unloadAt);
        EXPECT_EQ(link.m.bCommBusy, 0);
    }
}

} // namespace
