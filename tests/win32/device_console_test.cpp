// The device console runs of the adapter reset.

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "platform/win32/command_line.h"
#include "platform/win32/win32_process_runner.h"
#include "platform/win32/work_folder.h"

namespace {

namespace fs = std::filesystem;

// The tool's exit status comes back, and its command line keeps every argument whole; a tool that
// is nowhere is none. An application folder that cannot be written (nothing can be created in
// Z:\proc) sends the listing to the fallback folder, where the interpreter still finds the tool of
// the application's folder.
TEST(DeviceConsole, RunsGiveTheExitStatusTheListingAndWholeArguments) {
    Win32ProcessRunner console(win32::applicationFolder());
    EXPECT_EQ(console.run("devcon", {"enable", "@USB\\NOTHING"}, ""), 2);
    EXPECT_EQ(console.run("devcon-missing", {"find", "USB*"}, ""), std::nullopt);

    // A tool in a folder with a blank (the fallback listing in a Program Files install), and an
    // argument the interpreter would expand. The "&" of an instance id crosses in the silent road.
    EXPECT_EQ(
        win32::interpreterCommand(L"C:\\Kelvara tool\\devcon.exe", {L"find", L"USB*"}, L"dev.ref"),
        L"\"\"C:\\Kelvara tool\\devcon.exe\" find USB* > dev.ref\"");
    EXPECT_EQ(win32::interpreterCommand(L"devcon.exe", {L"find", L"100%"}, L"dev.ref"),
              std::nullopt);

    const fs::path local = fs::temp_directory_path() / "kelvara-local-app-data";
    fs::create_directories(local);
    const std::string folder = win32::workFolderFor("Z:\\proc", local.string());
    ASSERT_EQ(folder, (local / "Kelvara").string());
    EXPECT_EQ(Win32ProcessRunner(folder).run("devcon", {"find", "USB*"}, folder + "\\dev.ref"), 0);
    std::ostringstream listing;
    listing << std::ifstream(fs::path(folder) / "dev.ref").rdbuf();
    EXPECT_NE(listing.str().find("(COM12)"), std::string::npos) << listing.str();
    // Wine may still hold the tool's current folder for a moment.
    std::error_code ignored;
    fs::remove_all(local, ignored);
}

} // namespace
