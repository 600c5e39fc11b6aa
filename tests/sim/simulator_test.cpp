#include "sim/sim_control.h"
#include "tests/sim/sim_line_fixture.h"

#include <random>
#include <tuple>

namespace {

using Clock = std::chrono::steady_clock;
using Row = std::tuple<std::string, std::string, std::string>;

const std::string noFlags = "E0,0,0,0,0,0,0,0,0,0,0,0,0;";

TEST_F(SimLine, AnswersTheControllerCommands) {
    start(30, {"--noise", "0"});
    const char* starts[] = {"R20;", "R38;",   "R500;", "R300;",  "R100;", "R20;",  "R100;",
                            "R20;", "R1640;", "R1;",   "R1210;", "R0;",   "R861;", "R501;"};
    for (int r = 0; r < 14; ++r) {
        SCOPED_TRACE(r);
        expectReplies("R" + std::to_string(r) + "\r\n", starts[r]);
    }
    // A write is echoed, and its register reads back the number text written.
    const Row writes[] = {
        {"W00,20.5", "R0", "R20.5;"},    {"W07,-5", "R7", "R-5;"},        {"c.5", "R8", "R.5;"},
        {"d-.5", "R9", "R-.5;"},         {"k1210", "R10", "R1210;"},      {"j0", "R11", "R0;"},
        {"W12,95000", "R12", "R95000;"}, {"W13,1E+20", "R13", "R1E+20;"},
    };
    for (const auto& [command, readBack, reply] : writes) {
        SCOPED_TRACE(command);
        expectReplies(command + "\r\n" + readBack + "\r\n", command + ";" + reply);
    }
    // The kV and mA counts follow the set-points: 60 kV and 80 mA are 1024 counts.
    const Row counts[] = {
        {"V0", "I0", "S0512,0000,0000;"},    {"V60", "I80", "S0512,1024,1024;"},
        {"V30", "I40", "S0512,0512,0512;"},  {"V10", "I2", "S0512,0171,0026;"},
        {"V-5", "I-.5", "S0512,0000,0000;"}, {"V1000", "I1E+300", "S0512,9999,9999;"},
    };
    for (const auto& [kv, ma, reply] : counts) {
        SCOPED_TRACE(kv + " " + ma);
        expectReplies(kv + "\r\n" + ma + "\r\nS1\r\n", kv + ";" + ma + ";" + reply);
    }
    // What is no command gets the lone ";" and changes nothing.
    const std::pair<std::string, std::string> others[] = {
        {"E", noFlags},     {"F3.8", "F3.8;"}, {"A1", "A1;"}, {"", ";"},   {"W00,abc", ";"},
        {"W00,1.2.3", ";"}, {"W08,5", ";"},    {"R14", ";"},  {"S2", ";"}, {"R0", "R20.5;"},
    };
    for (const auto& [sent, reply] : others) {
        SCOPED_TRACE(sent);
        expectReplies(sent + "\r\n", reply);
    }
}

TEST_F(SimLine, EveryLineEndEndsOneCommand) {
    start(31, {});
    const std::string overLong(300, 'R');
    expectReplies("R0\rR1\nR2\r\n\r\nR3\r\n" + overLong + "\r\n", "R20;R38;R500;;R300;;");
}

TEST_F(SimLine, ControlChannelSetsCountsFlagsAndSilences) {
    start(32, {"--noise", "0"});
    const Row cases[] = {
        {"counts 1 2 3", "S1", "S0001,0002,0003;"},
        {"counts - 9999 -", "S1", "S0512,9999,0000;"},
        {"flags 1010101010101", "E", "E1,0,1,0,1,0,1,0,1,0,1,0,1;"},
        {"flag 1 1", "E", "E1,1,1,0,1,0,1,0,1,0,1,0,1;"},
        {"flag 12 0", "E", "E1,1,1,0,1,0,1,0,1,0,1,0,0;"},
        {"silent on", "E", ""},
        {"silent off", "R0", "R20;"},
        {"silent-until-enable", "E", ""},
        {"enable", "R0", "R20;"},
    };
    for (const auto& [control, sent, replies] : cases) {
        SCOPED_TRACE(control);
        ASSERT_TRUE(simControl(32, control));
        expectReplies(sent + "\r\n", replies);
    }
}

TEST_F(SimLine, FaultOptionsShapeTheReplies) {
    struct Case {
        std::vector<std::string> args;
        std::string sent, replies;
        std::chrono::milliseconds late{0};
    };
    const Case cases[] = {
        {{"--silent"}, "E\r\nR0\r\n", ""},
        {{"--silent-after", "2"}, "R0\r\nR1\r\nR2\r\n", "R20;R38;"},
        {{"--silent-for", "2"}, "E\r\nR0\r\nR1\r\nR2\r\n", "R38;R500;"},
        {{"--probe-only"}, "R0\r\nE\r\nS1\r\n", noFlags},
        {{"--stale-semicolon"}, "R0\r\n", ";R20;"},
        {{"--out-of-range"},
         "S1\r\nR0\r\nE\r\n",
         "S9E99,9E99,9E99;R99999999999999999999;E7,7,7,7,7,7,7,7,7,7,7,7,7;"},
        {{"--late", "300"}, "R0\r\n", "R20;", 300ms},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(::testing::PrintToString(c.args));
        sim.stop();
        start(33, c.args);
        const auto sent = Clock::now();
        expectReplies(c.sent, c.replies);
        EXPECT_GE(Clock::now() - sent, c.late);
    }
}

TEST_F(SimLine, SplitReplyArrivesInSeveralReads) {
    start(34, {"--split", "4", "--no-pacing"});
    send("E\r\n");
    const std::string first = read(3000ms);
    EXPECT_EQ(first.find(';'), std::string::npos) << first;
    EXPECT_EQ(first + receive(1, 20ms), noFlags);
}

TEST_F(SimLine, GarbageHoldsNoSemicolon) {
    start(35, {"--garbage"});
    send("R0\r\n");
    const std::string reply = receive(0, 1000ms);
    EXPECT_FALSE(reply.empty());
    EXPECT_EQ(reply.find(';'), std::string::npos) << reply;
}

TEST_F(SimLine, RandomBytesNeitherCrashNorStopIt) {
    start(36, {});
    std::mt19937 random(12345);
    std::uniform_int_distribution<int> byte(0, 255);
    std::string noise(200 * 1024, '\0');
    for (char& c : noise)
        c = static_cast<char>(byte(random));
    send(noise);
    // What the line could not take is lost; once the replies have stopped, end the last line
    // the noise left open and take what that brings.
    receive(0, 300ms);
    send("\r\n");
    receive(0, 300ms);
    expectReplies("R0\r\n", "R20;");
}

TEST_F(SimLine, ClosingThePortDoesNotHangTheLineUp) {
    start(37, {});
    openLine(37);
    expectReplies("R0\r\n", "R20;");
}

} // namespace
