// kelvara.exe --help: a text about Windows, for a message box that wraps it itself.

#include <gtest/gtest.h>

#include <sstream>

#include "app/command_line.h"
#include "app/win32/windows_help.h"

namespace {

TEST(WindowsHelp, SpeaksOfWindowsAndLeavesTheWrappingToTheBox) {
    const CommandLine line = parseCommandLine({"--help"}, kWindowsHelp);
    ASSERT_EQ(line.exitStatus, 0);
    for (const char* linuxOnly : {"/dev/", "XDG_RUNTIME_DIR", "kelvara-devcon"}) {
        EXPECT_EQ(line.answer.find(linuxOnly), std::string::npos) << linuxOnly;
    }
    // A text wrapped for a terminal breaks its sentences across lines.
    std::istringstream text(line.answer);
    for (std::string row; std::getline(text, row);) {
        EXPECT_TRUE(row.empty() || row.ends_with('.') || row.ends_with(':')) << row;
    }
}

} // namespace
