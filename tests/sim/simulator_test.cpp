#include "tests/sim/sim_line.h"

#include <chrono>

namespace {

const std::string kNoFlags = "E0,0,0,0,0,0,0,0,0,0,0,0,0;";

// A write reads back the number text written; kV and mA counts follow the set-points (60 kV and
// 80 mA are 1024 counts); CR, LF and CR LF each end one command; what is no command gets ";".
TEST_F(SimLine, AnswersTheControllerCommands) {
    start(30, {"--noise", "0"});
    const std::pair<std::string, std::string> cases[] = {
        {"W00,20.5 W07,-5 c.5 d-.5 W13,1E+20 R0 R7 R8 R9 R13",
         "W00,20.5;W07,-5;c.5;d-.5;W13,1E+20;R20.5;R-5;R.5;R-.5;R1E+20;"},
        {"V60 I80 S1 V-5 I1E+300 S1 E F3.8 A1",
         "V60;I80;S0512,1024,1024;V-5;I1E+300;S0512,0000,9999;" + kNoFlags + "F3.8;A1;"},
        {"\rW00,abc\r\nW08,5 R14 S2 " + std::string(300, 'R') + " R0", ";;;;;;R20.5;"}};
    for (const auto& [sent, replies] : cases) {
        SCOPED_TRACE(sent);
        expectReplies(sent, replies);
    }
    openLine(30); // closing the line does not hang it up
    expectReplies("R0", "R20.5;");
}

// The simulator started with the options, then given the control lines: an option and its
// control line are one setting.
TEST_F(SimLine, OptionsAndControlLinesShapeTheReplies) {
    struct Case {
        std::vector<std::string> options, controls;
        std::string sent, replies;
        std::chrono::milliseconds late{0};
    };
    using std::chrono_literals::operator""ms;
    const Case cases[] = {
        {{"--silent"}, {"silent off"}, "R0", "R20;"},
        {{"--silent-for=2"}, {}, "E R0 R1 R2", "R38;R500;"},
        {{"--probe-only"}, {}, "R0 E S1", kNoFlags},
        {{"--late", "300"}, {}, "R0", "R20;", 300ms},
        {{"--split", "4", "--no-pacing"}, {}, "E", kNoFlags, 30ms}, // three gaps of 10 ms
        {{"--fil-count", "42", "--counts", "-,5,-", "--noise", "0"}, {}, "S1", "S0042,0005,0000;"},
        {{"--flags", "0100000000000"}, {"flag 12 1"}, "E", "E0,1,0,0,0,0,0,0,0,0,0,0,1;"}};
    for (const auto& c : cases) {
        SCOPED_TRACE(::testing::PrintToString(c.options) + ::testing::PrintToString(c.controls));
        start(33, c.options);
        for (const auto& control : c.controls) {
            ASSERT_TRUE(simControl(33, control));
        }
        const auto sent = std::chrono::steady_clock::now();
        expectReplies(c.sent, c.replies);
        EXPECT_GE(std::chrono::steady_clock::now() - sent, c.late);
    }
    for (const char* bad : {"late 600001", "flag 13 1", "bogus"}) {
        std::string answer;
        EXPECT_FALSE(simControl(33, bad, answer)) << bad;
        EXPECT_TRUE(answer.starts_with("error: ")) << answer;
    }
}

TEST_F(SimLine, GarbageHoldsNoSemicolon) {
    start(35, {"--garbage"});
    const std::string garbage = exchange("R0\r\n", 0, 300);
    EXPECT_FALSE(garbage.empty());
    EXPECT_EQ(garbage.find(';'), std::string::npos) << garbage;
}

} // namespace
