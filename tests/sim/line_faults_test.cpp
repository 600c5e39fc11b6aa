#include "sim/line_faults.h"

#include <gtest/gtest.h>

namespace {

std::vector<bool> admitted(LineFaults& faults, const std::vector<std::string>& commands) {
    std::vector<bool> out;
    for (const auto& command : commands)
        out.push_back(faults.admits(command));
    return out;
}

TEST(LineFaults, SilencesLetThroughWhatTheySay) {
    const std::vector<std::string> commands = {"E", "R0", "R1", "E", "S1"};
    struct Case {
        const char* name;
        LineFaults faults;
        std::vector<bool> admitted;
    };
    LineFaults none;
    LineFaults silent;
    silent.silent = true;
    LineFaults after2;
    after2.answersLeft = 2;
    LineFaults for2;
    for2.ignoreNext = 2;
    LineFaults probe;
    probe.probeOnly = true;
    LineFaults untilEnable;
    untilEnable.silentUntilEnable = true;
    LineFaults disabled;
    disabled.disabled = true;
    LineFaults probeAfter1;
    probeAfter1.probeOnly = true;
    probeAfter1.answersLeft = 1;
    const Case cases[] = {
        {"none", none, {true, true, true, true, true}},
        {"silent", silent, {false, false, false, false, false}},
        {"silent after 2", after2, {true, true, false, false, false}},
        {"silent for 2", for2, {false, false, true, true, true}},
        {"probe only", probe, {true, false, false, true, false}},
        {"until enable", untilEnable, {false, false, false, false, false}},
        {"disabled", disabled, {false, false, false, false, false}},
        {"probe only, silent after 1", probeAfter1, {true, false, false, false, false}},
    };
    for (auto c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(admitted(c.faults, commands), c.admitted);
    }
}

TEST(ShapeReply, PiecesKeepTheReplyAndItsOrder) {
    struct Case {
        int pieces;
        bool stale;
        std::vector<std::string> bytes;
    };
    const Case cases[] = {
        {1, false, {"R20;"}},
        {2, false, {"R2", "0;"}},
        {4, false, {"R", "2", "0", ";"}},
        {9, false, {"R", "2", "0", ";"}},
        {1, true, {";", "R20;"}},
        {2, true, {";", "R2", "0;"}},
    };
    std::mt19937 random(1);
    for (const auto& c : cases) {
        SCOPED_TRACE(std::to_string(c.pieces) + (c.stale ? " stale" : ""));
        LineFaults faults;
        faults.pieces = c.pieces;
        faults.staleSemicolon = c.stale;
        std::vector<std::string> bytes;
        for (const auto& piece : shapeReply(faults, "R20;", random))
            bytes.push_back(piece.bytes);
        EXPECT_EQ(bytes, c.bytes);
    }
}

} // namespace
