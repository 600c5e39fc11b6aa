#include <gtest/gtest.h>

#include "fake_panel.h"
#include "operations/parameter_transfer.h"

namespace {

const std::vector<int32_t> kBoard{20, 38, 500, 300, 100, 20, 100, 20, 1640, 1, 1210, 0};

std::vector<RestoreFate> fates(const Restore& r) {
    std::vector<RestoreFate> f;
    for (const auto& reg : r.registers) {
        f.push_back(reg.fate);
    }
    return f;
}

} // namespace

TEST(ParameterTransfer, ABoardIsReadOnlyWhenEveryRegisterFitsAFile) {
    struct Case {
        const char* cmd; // of the register whose reply is scripted
        Exchange reply;
        std::size_t sent;
        std::string problem;
    };
    const Case cases[] = {
        {"R9", {"R-1;"}, 12, ""},
        {"R1", {"R38.5;"}, 2, "FIL_LMT holds 38.5, which is no whole number from 0 to 65535"},
        {"R2", {"R70000;"}, 3, "KV_MAX holds 70000, which is no whole number from 0 to 65535"},
        {"R3", {"R;"}, 4, "mA_MAX could not be read: its reply holds no number"},
        {"R3", {"", Failed}, 4, "mA_MAX could not be read"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.cmd);
        FakePanel f;
        for (std::size_t r = 0; r < kBoard.size(); ++r) {
            f.answer("R" + std::to_string(r), {"R" + std::to_string(kBoard[r]) + ";"});
        }
        f.script[c.cmd] = {c.reply};
        const BoardRead board = readBoard(f, f.m, kParameterRegisters);
        EXPECT_EQ(f.sent.size(), c.sent);
        EXPECT_EQ(board.problem, c.problem);
        if (c.problem.empty()) {
            auto expected = kBoard;
            expected[9] = -1;
            EXPECT_EQ(board.stored, expected);
        }
    }
}

TEST(ParameterTransfer, RestoreWritesWhatDiffersAndReadsItBack) {
    struct Case {
        Exchange writeKvMax;  // the reply to "W02,805"
        std::string readBack; // the reply to "R2" after it
        bool dryRun;
        Strings sent;
        RestoreFate kvMax, kvOffset;
        CommandOutcome stoppedBy;
    };
    using enum RestoreFate;
    const Case cases[] = {
        {{"W02,805;"},
         "R805;",
         false,
         {"W02,805", "d-1", "R2", "R9"},
         Verified,
         Verified,
         Complete},
        {{"W02,805;"}, "R810;", false, {"W02,805", "d-1", "R2", "R9"}, Differs, Verified, Complete},
        {{"W02,805;"}, "", false, {"W02,805", "d-1", "R2", "R9"}, Unverified, Verified, Complete},
        {{"", Failed}, "R805;", false, {"W02,805"}, NotWritten, NotWritten, Failed},
        {{"", Closing}, "R805;", false, {"W02,805"}, NotWritten, NotWritten, Closing},
        {{"W02,805;"}, "R805;", true, {}, NotWritten, NotWritten, Complete},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.sent.size());
        FakePanel f;
        f.answer("W02,805", c.writeKvMax);
        f.answer("R2", {c.readBack, c.readBack.empty() ? Failed : Complete});
        f.answer("R9", {"R-1;"});
        auto wanted = kBoard;
        wanted[2] = 805;
        wanted[9] = -1;
        const Restore r = restoreBoard(f, f.m, kParameterRegisters, kBoard, wanted, c.dryRun);
        EXPECT_EQ(f.sent, c.sent);
        std::vector<RestoreFate> expected(kBoard.size(), Same);
        expected[2] = c.kvMax;
        expected[9] = c.kvOffset;
        EXPECT_EQ(fates(r), expected);
        EXPECT_EQ(r.stoppedBy, c.stoppedBy);
    }
}
