#include "sim/controller.h"

#include <gtest/gtest.h>

#include <set>

namespace {

class ControllerTest : public ::testing::Test {
protected:
    ControllerTest() { controller.setNoise(0); }

    std::mt19937 random{7};
    Controller controller{random};
};

TEST_F(ControllerTest, RegistersStartAtTheirFactoryValues) {
    const char* expected[] = {"R20;", "R38;",   "R500;", "R300;",  "R100;", "R20;",  "R100;",
                              "R20;", "R1640;", "R1;",   "R1210;", "R0;",   "R861;", "R501;"};
    for (int i = 0; i < Controller::registerCount; ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(controller.answer("R" + std::to_string(i)), expected[i]);
    }
}

TEST_F(ControllerTest, ReadReturnsTheNumberTextLastWritten) {
    struct Case {
        const char* write;
        const char* read;
        const char* reply;
    };
    const Case cases[] = {
        {"W00,20.5", "R0", "R20.5;"},    {"W07,-5", "R7", "R-5;"},
        {"c.5", "R8", "R.5;"},           {"d-.5", "R9", "R-.5;"},
        {"k1210", "R10", "R1210;"},      {"j0", "R11", "R0;"},
        {"W12,95000", "R12", "R95000;"}, {"W13,1E+20", "R13", "R1E+20;"},
        {"W03,300", "R3", "R300;"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.write);
        EXPECT_EQ(controller.answer(c.write), std::string(c.write) + ";");
        EXPECT_EQ(controller.answer(c.read), c.reply);
    }
}

TEST_F(ControllerTest, WriteWithoutANumberChangesNothing) {
    for (const char* write :
         {"W00,", "W00,abc", "W00,1;2", "W00,1.2.3", "W00,1E", "W00,--1", "c"}) {
        SCOPED_TRACE(write);
        EXPECT_EQ(controller.answer(write), ";");
        EXPECT_EQ(controller.answer("R0"), "R20;");
    }
}

TEST_F(ControllerTest, LinesThatAreNoCommandGetTheLoneSemicolon) {
    for (const char* line : {"", "R", "R14", "R00", "R-1", "W08,5", "W14,5", "S2", "A", "F3", "e",
                             "x", "E1", "V", "Vx", "\x01\xff"}) {
        SCOPED_TRACE(line);
        EXPECT_EQ(controller.answer(line), ";");
    }
}

TEST_F(ControllerTest, CountsFollowTheSetPoints) {
    struct Case {
        const char* kv;
        const char* ma;
        const char* reply;
    };
    const Case cases[] = {
        {"V0", "I0", "S0512,0000,0000;"},    {"V60", "I80", "S0512,1024,1024;"},
        {"V30", "I40", "S0512,0512,0512;"},  {"V10", "I2", "S0512,0171,0026;"},
        {"V-5", "I-.5", "S0512,0000,0000;"}, {"V1000", "I1E+300", "S0512,9999,9999;"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.kv) + " " + c.ma);
        controller.answer(c.kv);
        controller.answer(c.ma);
        EXPECT_EQ(controller.answer("S1"), c.reply);
    }
}

TEST_F(ControllerTest, FixedCountsOverrideTheirSources) {
    controller.answer("V30");
    controller.setFilamentCount(300);
    controller.setNoise(1);
    controller.fixCount(Controller::Channel::Filament, 1);
    controller.fixCount(Controller::Channel::Ma, 9999);
    controller.fixCount(Controller::Channel::Kv, 0);
    EXPECT_EQ(controller.answer("S1"), "S0001,0000,9999;");
    controller.setNoise(0);
    controller.fixCount(Controller::Channel::Filament, std::nullopt);
    controller.fixCount(Controller::Channel::Kv, std::nullopt);
    EXPECT_EQ(controller.answer("S1"), "S0300,0512,9999;");
}

TEST_F(ControllerTest, NoiseStaysWithinOneCountAndTheCountRange) {
    controller.setNoise(1);
    controller.setFilamentCount(0);
    controller.answer("V1000");
    controller.answer("I40");
    std::set<std::string> seen;
    for (int i = 0; i < 50; ++i) {
        const std::string reply = controller.answer("S1");
        SCOPED_TRACE(reply);
        ASSERT_EQ(reply.size(), 16u);
        const int filament = std::stoi(reply.substr(1, 4));
        const int kv = std::stoi(reply.substr(6, 4));
        const int ma = std::stoi(reply.substr(11, 4));
        EXPECT_TRUE(filament >= 0 && filament <= 1);
        EXPECT_TRUE(kv >= Controller::maxCount - 1 && kv <= Controller::maxCount);
        EXPECT_TRUE(ma >= 511 && ma <= 513);
        seen.insert(reply);
    }
    EXPECT_GT(seen.size(), 1u);
}

TEST_F(ControllerTest, FlagsStandAtTheEvenPositions) {
    EXPECT_EQ(controller.answer("E"), "E0,0,0,0,0,0,0,0,0,0,0,0,0;");
    controller.setFlag(0, true);
    controller.setFlag(12, true);
    const std::string reply = controller.answer("E");
    EXPECT_EQ(reply, "E1,0,0,0,0,0,0,0,0,0,0,0,1;");
    EXPECT_EQ(reply[1], '1');  // position 2
    EXPECT_EQ(reply[25], '1'); // position 26
}

TEST_F(ControllerTest, OutOfRangeLeavesEveryRange) {
    controller.setOutOfRange(true);
    EXPECT_EQ(controller.answer("S1"), "S9E99,9E99,9E99;");
    EXPECT_EQ(controller.answer("R0"), "R99999999999999999999;");
    EXPECT_EQ(controller.answer("E"), "E7,7,7,7,7,7,7,7,7,7,7,7,7;");
    controller.setOutOfRange(false);
    EXPECT_EQ(controller.answer("R0"), "R20;");
}

TEST(NumberText, AcceptsWhatThePlainNumberTextWrites) {
    struct Case {
        const char* text;
        bool number;
    };
    const Case cases[] = {
        {"20", true},    {"20.5", true},  {".5", true},   {"-.5", true},    {"-5", true},
        {"1E+20", true}, {"1e-7", true},  {"5.", true},   {"", false},      {".", false},
        {"-", false},    {"1E", false},   {"1E+", false}, {"1.2.3", false}, {" 1", false},
        {"1,5", false},  {"0x10", false}, {"inf", false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        EXPECT_EQ(isNumberText(c.text), c.number);
    }
}

} // namespace
