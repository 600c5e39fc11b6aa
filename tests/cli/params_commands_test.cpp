#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "cli/params_commands.h"
#include "operations/parameter_file.h"
#include "tests/operations/fake_panel.h"

namespace {

const std::vector<int32_t> kBoard{20, 38, 500, 300, 100, 20, 100, 20, 1640, 1, 1210, 0};
// KV_MAX 805 and KV_OFFSET -1.
const std::vector<int32_t> kEdited{20, 38, 805, 300, 100, 20, 100, 20, 1640, -1, 1210, 0};

// A controller holding kBoard, a params command's streams and a file in a folder of its own:
// ctest runs each test in its own process, side by side, so the folder carries the test's name.
struct Bench {
    Bench() {
        std::filesystem::create_directories(folder);
        for (std::size_t r = 0; r < kBoard.size(); ++r) {
            f.answer("R" + std::to_string(r), {"R" + std::to_string(kBoard[r]) + ";"});
        }
    }
    ~Bench() { std::filesystem::remove_all(folder); }

    FakePanel f;
    std::ostringstream out, err;
    ParamsContext c{f.m, f, out, err, paramsRegisters(false)};
    static inline int made = 0;
    std::filesystem::path folder =
        std::filesystem::temp_directory_path() /
        ("kelvara-params-" +
         std::string(testing::UnitTest::GetInstance()->current_test_info()->name()) + "-" +
         std::to_string(++made));
    std::string path = (folder / "board.txt").string();
};

} // namespace

// A save that fails leaves the file as it was; one that works is proven by kelvara-cli's runs.
TEST(ParamsCommands, ASaveThatFailsLeavesTheFileAsItWas) {
    struct Case {
        const char* cmd; // the register whose reply is scripted
        Exchange reply;
        CliExit exit;
        std::string err;
    };
    const Case cases[] = {
        {"R1",
         {"R38.5;"},
         CliExit::FileRefused,
         "kelvara-cli: FIL_LMT holds 38.5, which is no whole number from 0 to 65535.\n"},
        {"R3", {"", Failed}, CliExit::NoController, "kelvara-cli: mA_MAX could not be read.\n"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.cmd);
        Bench b;
        std::ofstream(b.path) << "earlier";
        b.f.script[c.cmd] = {c.reply};
        EXPECT_EQ(paramsSave(b.c, b.path, {"saved from COM3"}), c.exit);
        EXPECT_EQ(b.err.str(), c.err + "kelvara-cli: " + b.path + " was not written.\n");
        std::ostringstream text;
        text << std::ifstream(b.path).rdbuf();
        EXPECT_EQ(text.str(), "earlier");
        EXPECT_FALSE(std::filesystem::exists(b.path + ".part"));
    }
}

// Every problem of a file is told by its line, before the command opens the port.
TEST(ParamsCommands, AFileNotRightIsToldByItsLines) {
    Bench b;
    std::ofstream(b.path) << "kelvara-parameters 1\nKV_MAX = 80.5\n";
    EXPECT_FALSE(readParamsFile(b.c, b.path));
    EXPECT_TRUE(b.err.str().starts_with(b.path + ":2: KV_MAX: \"80.5\" is not a whole number\n" +
                                        b.path + ":3: PWR_LMT is missing\n"));
    EXPECT_TRUE(
        b.err.str().ends_with("kelvara-cli: " + b.path + " is refused; nothing was sent.\n"));
    Bench missing;
    EXPECT_FALSE(readParamsFile(missing.c, missing.path + "x"));
    EXPECT_EQ(missing.err.str(),
              "kelvara-cli: " + missing.path + "x: cannot be read: No such file or directory\n");
}

// A register read back other than written is told as such, and what a dry run would write.
// What goes out is the transfer's own; a clean restore and one cut short are proven against
// the simulator by kelvara-cli's own runs.
TEST(ParamsCommands, RestoreSaysWhatBecameOfEachRegister) {
    struct Case {
        bool dryRun;
        CliExit exit;
        std::string out;
    };
    const Case cases[] = {
        {false, CliExit::Partial,
         "KV_MAX: 500 (50) -> 805 (80.5): written, but read back as 810\n"
         "KV_OFFSET: 1 (0.0001) -> -1 (-0.0001): written, verified\n"},
        {true, CliExit::Done,
         "KV_MAX: 500 (50) -> 805 (80.5): would be written\n"
         "KV_OFFSET: 1 (0.0001) -> -1 (-0.0001): would be written\n"
         "2 to write; nothing was written (--dry-run).\n"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.dryRun);
        Bench b;
        std::ofstream(b.path) << writeParameterFile(kParameterRegisters, kEdited, {});
        b.f.answer("d-1", {"d-1;"});
        b.f.script["R2"].push_back({"R810;"});
        b.f.answer("R9", {"R-1;"});
        EXPECT_EQ(paramsRestore(b.c, b.path, *readParamsFile(b.c, b.path), c.dryRun), c.exit);
        EXPECT_EQ(b.out.str(), c.out);
    }
}
