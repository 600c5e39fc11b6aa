#include "sim/sim_options.h"

#include <gtest/gtest.h>

namespace {

SimOptions parsed(const std::vector<std::string>& args) {
    auto result = parseSimOptions(args);
    if (const auto* error = std::get_if<std::string>(&result))
        ADD_FAILURE() << *error;
    return std::get_if<SimOptions>(&result) ? std::get<SimOptions>(result) : SimOptions();
}

TEST(SimOptions, ValuesComeSeparateOrAfterAnEqualsSign) {
    const SimOptions options =
        parsed({"--port", "17", "--late=250", "--split", "3", "--counts=1,-,3", "--flags",
                "0000000000001", "--no-pacing", "--silent-after", "4", "--noise=0"});
    EXPECT_EQ(options.port, 17);
    EXPECT_EQ(options.faults.late, std::chrono::milliseconds(250));
    EXPECT_EQ(options.faults.pieces, 3);
    EXPECT_EQ(options.fixedCounts[0], 1);
    EXPECT_FALSE(options.fixedCounts[1]);
    EXPECT_EQ(options.fixedCounts[2], 3);
    EXPECT_TRUE(options.flags[12]);
    EXPECT_FALSE(options.flags[0]);
    EXPECT_FALSE(options.pacing);
    EXPECT_EQ(options.faults.answersLeft, 4);
    EXPECT_EQ(options.noise, 0);
}

TEST(SimOptions, ConfigureCarriesTheOptionsIntoTheState) {
    SimState state(1);
    configure(state, parsed({"--counts", "7,8,9", "--flags", "1000000000000", "--probe-only"}));
    EXPECT_EQ(state.controller.answer("S1"), "S0007,0008,0009;");
    EXPECT_EQ(state.controller.answer("E"), "E1,0,0,0,0,0,0,0,0,0,0,0,0;");
    EXPECT_TRUE(state.faults.admits("E"));
    EXPECT_FALSE(state.faults.admits("R0"));
}

TEST(SimOptions, BadOptionsAreRefused) {
    const std::vector<std::vector<std::string>> cases = {
        {"--bogus"},
        {"--port"},
        {"--port", "0"},
        {"--port", "129"},
        {"--port", "3x"},
        {"--counts", "1,2"},
        {"--counts", "1,2,3,4"},
        {"--counts", "1,,3"},
        {"--counts", "1,2,10000"},
        {"--flags", "01"},
        {"--flags", "000000000000x"},
        {"--split", "0"},
        {"--late", "-1"},
        {"--no-pacing=1"},
        {"--silent-for", ""},
        {"port"},
        {"-p", "3"},
    };
    for (const auto& args : cases) {
        SCOPED_TRACE(::testing::PrintToString(args));
        EXPECT_TRUE(std::holds_alternative<std::string>(parseSimOptions(args)));
    }
}

} // namespace
