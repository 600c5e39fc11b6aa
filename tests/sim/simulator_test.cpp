#include "sim/sim_control.h"
#include "tests/sim/sim_line_fixture.h"

#include <chrono>
#include <random>

namespace {

using Clock = std::chrono::steady_clock;
using std::chrono::milliseconds;

TEST_F(SimLine, AnswersTheControllerCommandsInTurn) {
    start({"--noise", "0"});
    struct Case {
        const char* command;
        const char* reply;
    };
    const Case cases[] = {
        {"R0", "R20;"},
        {"W00,20.5", "W00,20.5;"},
        {"R0", "R20.5;"},
        {"R13", "R501;"},
        {"V30", "V30;"},
        {"I40", "I40;"},
        {"S1", "S0512,0512,0512;"},
        {"A1", "A1;"},
        {"F3.8", "F3.8;"},
        {"E", "E0,0,0,0,0,0,0,0,0,0,0,0,0;"},
        {"", ";"},
        {"hello", ";"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.command);
        EXPECT_EQ(line.command(c.command), c.reply);
    }
}

TEST_F(SimLine, EveryLineEndEndsOneCommand) {
    start({});
    ASSERT_TRUE(line.send("R0\rR1\nR2\r\n\r\nR3\r\n"));
    EXPECT_EQ(line.readFor(quietWindow), "R20;R38;R500;;R300;");
}

TEST_F(SimLine, ControlChannelChangesCountsAndFlags) {
    start({});
    ASSERT_TRUE(SimControl(3, "counts 1 2 3"));
    EXPECT_EQ(line.command("S1"), "S0001,0002,0003;");
    ASSERT_TRUE(SimControl(3, "flags 1111111111111"));
    ASSERT_TRUE(SimControl(3, "flag 6 0"));
    EXPECT_EQ(line.command("E"), "E1,1,1,1,1,1,0,1,1,1,1,1,1;");
}

TEST_F(SimLine, ControlChannelRefusesWhatItDoesNotKnow) {
    start({});
    std::string answer;
    EXPECT_FALSE(SimControl(3, "explode", answer));
    EXPECT_EQ(answer.rfind("error: ", 0), 0u) << answer;
    EXPECT_FALSE(SimControl(4, "silent on", answer));
    EXPECT_EQ(line.command("R0"), "R20;");
}

TEST_F(SimLine, PacedReplyTakesItsTimeOnTheWire) {
    start({});
    // 27 bytes: the last one leaves 26 x 86.8 us after the first.
    const auto sent = Clock::now();
    EXPECT_EQ(line.command("E"), "E0,0,0,0,0,0,0,0,0,0,0,0,0;");
    EXPECT_GE(Clock::now() - sent, milliseconds(2));
}

TEST_F(SimLine, ClosingThePortDoesNotHangTheLineUp) {
    start({});
    line.close();
    ASSERT_TRUE(line.open(portlinks::linkPath(3)));
    EXPECT_EQ(line.command("R0"), "R20;");
}

TEST_F(SimLine, RandomBytesNeitherCrashNorStopIt) {
    start({});
    std::mt19937 random(12345);
    std::uniform_int_distribution<int> byte(0, 255);
    std::string noise(200 * 1024, '\0');
    for (char& c : noise)
        c = static_cast<char>(byte(random));
    EXPECT_TRUE(line.send(noise));
    // What the line could not take is lost; wait until the replies have stopped, then end the
    // last line the noise left open.
    while (!line.readFor(quietWindow).empty()) {
    }
    ASSERT_TRUE(line.send("\r\n"));
    line.readFor(quietWindow);
    EXPECT_EQ(line.command("R0"), "R20;");
}

TEST_F(SimLine, SilentNeverAnswers) {
    start({"--silent"});
    ASSERT_TRUE(line.send("E\r\nR0\r\n"));
    EXPECT_EQ(line.readFor(quietWindow), "");
}

TEST_F(SimLine, SilentAfterAnswersTheFirstCommandsOnly) {
    start({"--silent-after", "2"});
    EXPECT_EQ(line.command("R0"), "R20;");
    EXPECT_EQ(line.command("R1"), "R38;");
    ASSERT_TRUE(line.send("R2\r\n"));
    EXPECT_EQ(line.readFor(quietWindow), "");
}

TEST_F(SimLine, SplitReplyArrivesInSeveralPieces) {
    start({"--split", "4"});
    ASSERT_TRUE(line.send("E\r\n"));
    const auto pieces = line.readPieces();
    std::string reply;
    for (const auto& piece : pieces)
        reply += piece;
    EXPECT_EQ(reply, "E0,0,0,0,0,0,0,0,0,0,0,0,0;");
    EXPECT_GE(pieces.size(), 2u);
}

TEST_F(SimLine, StaleSemicolonComesAheadOfTheReply) {
    start({"--stale-semicolon"});
    ASSERT_TRUE(line.send("R0\r\n"));
    EXPECT_EQ(line.readFor(quietWindow), ";R20;");
}

TEST_F(SimLine, GarbageHoldsNoSemicolon) {
    start({"--garbage"});
    ASSERT_TRUE(line.send("R0\r\n"));
    const std::string reply = line.readFor(quietWindow);
    EXPECT_FALSE(reply.empty());
    EXPECT_EQ(reply.find(';'), std::string::npos) << reply;
}

TEST_F(SimLine, LateReplyWaitsItsDelay) {
    start({"--late", "300"});
    const auto sent = Clock::now();
    EXPECT_EQ(line.command("R0"), "R20;");
    EXPECT_GE(Clock::now() - sent, milliseconds(300));
}

TEST_F(SimLine, DisableDropsTheRepliesStillOnTheirWay) {
    start({"--late", "300"});
    ASSERT_TRUE(line.send("R0\r\n"));
    ASSERT_TRUE(SimControl(3, "disable"));
    ASSERT_TRUE(SimControl(3, "enable"));
    EXPECT_EQ(line.readFor(milliseconds(600)), "");
}

TEST_F(SimLine, ControlChannelSwitchesFaultsWhileRunning) {
    start({});
    ASSERT_TRUE(SimControl(3, "stale-semicolon on"));
    ASSERT_TRUE(line.send("R0\r\n"));
    EXPECT_EQ(line.readFor(quietWindow), ";R20;");
    ASSERT_TRUE(SimControl(3, "stale-semicolon off"));
    ASSERT_TRUE(SimControl(3, "silent on"));
    ASSERT_TRUE(line.send("R0\r\n"));
    EXPECT_EQ(line.readFor(quietWindow), "");
    ASSERT_TRUE(SimControl(3, "silent off"));
    EXPECT_EQ(line.command("R0"), "R20;");
}

} // namespace
