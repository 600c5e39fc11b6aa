#include <gtest/gtest.h>

#include "serial/port_discovery.h"
#include "serial/transaction.h"
#include "tests/support/serial_rig.h"

namespace {

const std::string kFinal = "The abnormality by the noise occurred.\r\rPlease reboot.";

// An open link on COM4 with the start-up defaults and a device console that has nothing.
struct Link : SerialRig {
    Link() {
        defaults();
        m.i_comPort = 4;
        port.present = {4};
        EXPECT_FALSE(Rs232cSetInit(c, 4));
        // The adapter never shows as disabled: a recovery costs 3001 + 3 x 1001 + 3001 ms.
        console.statusListings = {"USB\\X\n    Name: Adapter (COM4)\n    Driver is running.\n"};
    }
    // Pieces arriving at the given times after each send.
    void replyInPieces(const std::vector<std::pair<uint32_t, std::string>>& pieces) {
        port.onWrite = [this, pieces](int16_t, const std::string&) {
            for (const auto& [delay, bytes] : pieces) {
                pump.after(delay, [this, bytes] { port.receive(bytes); });
            }
        };
    }
    std::vector<uint32_t> sendTimes() const {
        std::vector<uint32_t> times;
        for (const auto& s : port.sent) {
            times.push_back(s.at);
        }
        return times;
    }
};

TEST(Rs232cCommandCompletion, ReplyNeedsSemicolonAndCommandLetter) {
    struct Case {
        const char* name;
        std::string cmd;
        std::vector<std::pair<uint32_t, std::string>> pieces;
        std::string expectedBuf;
        uint32_t expectedEnd;
    };
    const Case cases[] = {
        {"pieces in several reads", "R0", {{2, "R"}, {4, "2"}, {6, "0;"}}, "R20;", 6},
        // Text ahead of the reply is stale and dropped, never read as its value.
        {"stray semicolon ahead of the reply", "R2", {{2, ";"}, {4, "R500;"}}, "R500;", 4},
        {"stray semicolon then the letter waits for the digits",
         "R0",
         {{2, ";R"}, {5, "20;"}},
         "R20;",
         5},
        {"tail of an earlier reply ahead", "E", {{2, "0,1;E"}, {3, "1;"}}, "E1;", 3},
        {"last letter before the semicolon starts the reply", "R2", {{2, "RxR500;"}}, "R500;", 2},
        {"stale semicolon restarts the time-out",
         "R2",
         {{10, ";"}, {2900, "R500;"}},
         "R500;",
         2900},
        {"stale semicolon, reply after the first deadline",
         "R2",
         {{10, ";"}, {3005, "R500;"}},
         "R500;",
         3005},
        {"bytes after the semicolon in the same read stay", "A1", {{3, "A;xyz"}}, "A;xyz", 3},
        {"empty command completes at the first semicolon", "", {{1, "abc;"}}, "abc;", 1},
    };
    for (const auto& tc : cases) {
        SCOPED_TRACE(tc.name);
        Link link;
        link.replyInPieces(tc.pieces);
        EXPECT_EQ(Rs232cCommand(link.c, tc.cmd), CommandOutcome::Complete);
        EXPECT_EQ(link.m.sRecvBuf, tc.expectedBuf);
        EXPECT_EQ(link.counter.now, tc.expectedEnd);
        EXPECT_EQ(link.port.sentTexts(), std::vector<std::string>{tc.cmd + "\r\n"});
        EXPECT_EQ(link.m.iUsbErr, 0);
        EXPECT_EQ(link.m.bCommBusy, 0);
    }
}

TEST(Rs232cCommandCompletion, LetterMatchIsCaseSensitive) {
    Link link;
    link.m.iComRetryCount = 0;
    link.m.iUsbRetryCount = 0;
    link.answerWith("C;");
    EXPECT_EQ(Rs232cCommand(link.c, "c1640"), CommandOutcome::Failed);
    link.answerWith("c;");
    EXPECT_EQ(Rs232cCommand(link.c, "c1640"), CommandOutcome::Complete);
}

TEST(Rs232cCommandCompletion, LateBytesAreDiscardedBeforeTheNextTransaction) {
    Link link;
    link.answerWith("R20;");
    ASSERT_EQ(Rs232cCommand(link.c, "R0"), CommandOutcome::Complete);
    // A late duplicate arrives while the link is idle.
    link.port.receive("R38;");
    link.answerWith("R500;");
    ASSERT_EQ(Rs232cCommand(link.c, "R2"), CommandOutcome::Complete);
    EXPECT_EQ(link.m.sRecvBuf, "R500;");
    EXPECT_EQ(link.port.discarded, "R38;");
}

TEST(Rs232cCommandTimeouts, SilentControllerRunsTheWholeRoad) {
    struct Case {
        const char* name;
        int16_t comRetries;
        int16_t usbRetries;
        std::vector<uint32_t> expectedSends;
        std::size_t expectedFinds;
    };
    const Case cases[] = {
        {"defaults", 2, 1, {0, 3001, 6002, 18008, 21009, 24010}, 1},
        {"no retries", 0, 0, {0}, 0},
        {"negative counts behave as 0", -1, -5, {0}, 0},
        {"one resend, no recovery", 1, 0, {0, 3001}, 0},
    };
    for (const auto& tc : cases) {
        SCOPED_TRACE(tc.name);
        Link link;
        link.m.iComRetryCount = tc.comRetries;
        link.m.iUsbRetryCount = tc.usbRetries;
        EXPECT_EQ(Rs232cCommand(link.c, "E"), CommandOutcome::Failed);
        EXPECT_EQ(link.sendTimes(), tc.expectedSends);
        ASSERT_EQ(link.boxes.shown.size(), 1u);
        EXPECT_EQ(link.boxes.shown[0].text, kFinal);
        EXPECT_EQ(link.boxes.shown[0].flags, 0x1010);
        EXPECT_EQ(link.boxes.shown[0].title, "Kelvara");
        EXPECT_EQ(link.m.iUsbErr, 1);
        EXPECT_EQ(link.m.bCommBusy, 0);
        std::size_t finds = 0;
        for (const auto& run : link.console.runs) {
            finds += run.args[0] == "find";
        }
        EXPECT_EQ(finds, tc.expectedFinds);
    }
}

// The reply lands in the pass that times the first attempt out: it is not read by that
// attempt, and the resend (not preceded by a discard) takes it.
TEST(Rs232cCommandTimeouts, ReplyUnreadAtTheDeadlineCompletesTheResend) {
    Link link;
    link.port.onWrite = [&](int16_t, const std::string&) {
        if (link.port.sent.size() == 1) {
            link.pump.after(3001, [&] { link.port.receive("E1;"); });
        }
    };
    EXPECT_EQ(Rs232cCommand(link.c, "E"), CommandOutcome::Complete);
    EXPECT_EQ(link.sendTimes(), (std::vector<uint32_t>{0, 3001}));
    EXPECT_EQ(link.m.sRecvBuf, "E1;");
    EXPECT_EQ(link.m.iUsbErr, 0);
}

// A controller that answers every send late: the replies to the resends come after the
// reply that completed the command, and must not answer the next one.
TEST(Rs232cCommandTimeouts, LateRepliesToResendsAreTakenOffTheLine) {
    struct Case {
        const char* name;
        uint32_t lateMs;
        std::size_t answeredSend; // 0: every send is answered
        uint32_t expectedEnd;
    };
    const Case cases[] = {
        {"answered at once: no extra wait", 5, 0, 5},
        {"3.5 s late: one resend", 3500, 0, 6501},
        {"7 s late: two resends", 7000, 0, 13002},
        // Only the last send is answered; the others can no longer be: wait out their time.
        {"only the third send answered", 5, 3, 6002 + 6007 + 500 + 1},
    };
    for (const auto& tc : cases) {
        SCOPED_TRACE(tc.name);
        Link link;
        link.port.onWrite = [&](int16_t, const std::string& text) {
            if (tc.answeredSend != 0 && link.port.sent.size() != tc.answeredSend) {
                return;
            }
            const std::string reply = text == "R0\r\n" ? "R20;" : "R38;";
            link.pump.after(tc.lateMs, [&link, reply] { link.port.receive(reply); });
        };
        EXPECT_EQ(Rs232cCommand(link.c, "R0"), CommandOutcome::Complete);
        EXPECT_EQ(link.m.sRecvBuf, "R20;");
        EXPECT_EQ(link.counter.now, tc.expectedEnd);
        link.port.onWrite = [&](int16_t, const std::string&) {
            link.pump.after(5, [&link] { link.port.receive("R38;"); });
        };
        EXPECT_EQ(Rs232cCommand(link.c, "R1"), CommandOutcome::Complete);
        EXPECT_EQ(link.m.sRecvBuf, "R38;");
        EXPECT_EQ(link.port.discarded, "");
    }
}

TEST(Rs232cCommandRecovery, AnswerAfterRecoveryCompletesWithUsbErrSet) {
    Link link;
    link.port.onWrite = [&](int16_t, const std::string&) {
        if (link.port.sent.size() == 4) {
            link.pump.after(2, [&] { link.port.receive("V;"); });
        }
    };
    EXPECT_EQ(Rs232cCommand(link.c, "V10"), CommandOutcome::Complete);
    EXPECT_EQ(link.m.sRecvBuf, "V;");
    EXPECT_EQ(link.m.iUsbErr, 1);
    EXPECT_TRUE(link.boxes.shown.empty());
    EXPECT_EQ(link.port.opens, 2);
    EXPECT_TRUE(link.port.portOpen());
}

TEST(Rs232cCommandRecovery, FailedReopeningEndsQuietly) {
    Link link;
    link.console.onRun = [&](const std::vector<std::string>& args) {
        if (args[0] == "disable") {
            link.port.present.clear();
        }
    };
    EXPECT_EQ(Rs232cCommand(link.c, "E"), CommandOutcome::Failed);
    EXPECT_EQ(link.port.sent.size(), 3u);
    EXPECT_TRUE(link.boxes.shown.empty());
    EXPECT_EQ(link.m.iUsbErr, 1);
    EXPECT_EQ(link.m.bCommBusy, 0);
}

TEST(Rs232cCommandRecovery, WriteFailureRunsTheErrorPathWithoutResend) {
    struct Case {
        const char* name;
        std::optional<SerialError> reopenFailure;
        std::vector<std::string> expectedBoxes;
        bool expectedOpen;
    };
    const Case cases[] = {
        {"reopened", std::nullopt, {"COM4: sending R0: Input/output error"}, true},
        {"reopening fails as well",
         SerialError(13, "Permission denied"),
         {"COM4: sending R0: Input/output error", "COM4: reopening the port: Permission denied"},
         false},
    };
    for (const auto& tc : cases) {
        SCOPED_TRACE(tc.name);
        Link link;
        link.port.writeFailure = SerialError(5, "Input/output error");
        link.port.openFailure = tc.reopenFailure;
        EXPECT_EQ(Rs232cCommand(link.c, "R0"), CommandOutcome::Failed);
        std::vector<std::string> texts;
        for (const auto& shown : link.boxes.shown) {
            texts.push_back(shown.text);
            EXPECT_EQ(shown.flags, 0x1030);
        }
        EXPECT_EQ(texts, tc.expectedBoxes);
        EXPECT_TRUE(link.port.sent.empty());
        EXPECT_EQ(link.port.portOpen(), tc.expectedOpen);
        ASSERT_FALSE(link.console.runs.empty());
        EXPECT_EQ(link.console.runs[0].args, (std::vector<std::string>{"find", "USB*"}));
        EXPECT_EQ(link.m.iUsbErr, 1);
        EXPECT_EQ(link.m.bCommBusy, 0);
    }
}

TEST(Rs232cCommandNesting, NestedCallWhileWaitingSendsNothing) {
    Link link;
    CommandOutcome nested = CommandOutcome::Complete;
    std::string seen;
    link.port.onWrite = [&](int16_t, const std::string& text) {
        if (text != "E\r\n") {
            return;
        }
        link.pump.after(1, [&] { link.port.receive("E0,"); });
        link.pump.after(2, [&] {
            nested = Rs232cCommand(link.c, "A1");
            seen = link.m.sRecvBuf;
        });
        link.pump.after(3, [&] { link.port.receive("1;"); });
    };
    EXPECT_EQ(Rs232cCommand(link.c, "E"), CommandOutcome::Complete);
    EXPECT_EQ(nested, CommandOutcome::Refused);
    EXPECT_EQ(seen, "E0,");
    EXPECT_EQ(link.port.sentTexts(), std::vector<std::string>{"E\r\n"});
    EXPECT_EQ(link.m.sRecvBuf, "E0,1;");
}

TEST(Rs232cCommandNesting, RefusedCallLeavesUsbErrAndBuffer) {
    Link link;
    link.m.bCommBusy = 1;
    link.m.iUsbErr = 1;
    link.m.sRecvBuf = "outer";
    EXPECT_EQ(Rs232cCommand(link.c, "E"), CommandOutcome::Refused);
    EXPECT_EQ(link.m.iUsbErr, 1);
    EXPECT_EQ(link.m.sRecvBuf, "outer");
    EXPECT_TRUE(link.port.sent.empty());
}

TEST(Rs232cCommandClosing, UnloadDuringAnyWaitEndsAtOnce) {
    struct Case {
        const char* name;
        uint32_t unloadAt;
        std::size_t expectedSends;
    };
    const Case cases[] = {
        {"reply wait", 1500, 1},
        {"after a resend", 4000, 2},
        {"recovery settle wait", 10000, 3},
        {"recovery status poll pause", 13500, 3},
    };
    for (const auto& tc : cases) {
        SCOPED_TRACE(tc.name);
        Link link;
        link.pump.at(tc.unloadAt, [&] { link.m.bUnloading = true; });
        EXPECT_EQ(Rs232cCommand(link.c, "E"), CommandOutcome::Closing);
        EXPECT_EQ(link.port.sent.size(), tc.expectedSends);
        EXPECT_TRUE(link.boxes.shown.empty());
        EXPECT_EQ(link.port.opens, 1);
        EXPECT_EQ(link.counter.now, tc.unloadAt);
        EXPECT_EQ(link.m.bCommBusy, 0);
        EXPECT_EQ(Rs232cCommand(link.c, "E"), CommandOutcome::Closing);
        EXPECT_EQ(link.port.sent.size(), tc.expectedSends);
    }
}

} // namespace
