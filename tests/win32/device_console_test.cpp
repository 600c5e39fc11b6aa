#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "platform/win32/command_line.h"
#include "platform/win32/work_folder.h"
#include "serial/usb_recovery.h"
#include "tests/win32/win32_rig.h"

namespace {

namespace fs = std::filesystem;

std::string readAll(const fs::path& file) {
    std::ifstream in(file);
    return {std::istreambuf_iterator<char>(in), {}};
}

// The tool's exit status comes back; a tool that is nowhere is none.
TEST(DeviceConsole, RunsGiveTheExitStatus) {
    Win32ProcessRunner console(win32::applicationFolder());
    EXPECT_EQ(console.run("devcon", {"find", "USB*"}, ""), 0);
    EXPECT_EQ(console.run("devcon", {"enable", "@USB\\NOTHING"}, ""), 1);
    EXPECT_EQ(console.run("devcon-missing", {"find", "USB*"}, ""), std::nullopt);
}

// COM12's adapter, not COM1's, is reset through the core, with the listing in the
// application's folder or in the fallback folder when that cannot be written (nothing can be
// created in Z:\proc). The instance id's "&" and "\" reach the tool whole.
TEST(DeviceConsole, AdapterResetReachesTheConsole) {
    const std::string id = "USB\\VID_1A86&PID_7523\\SIM12";
    const fs::path app = win32::applicationFolder();
    const fs::path local = fs::temp_directory_path() / "kelvara-local-app-data";
    fs::create_directories(local);
    for (const std::string& appFolder : {app.string(), std::string("Z:\\proc")}) {
        SCOPED_TRACE(appFolder);
        fs::remove(app / "fake-devcon.log");
        fs::remove(app / "fake-devcon.state");
        const std::string folder = win32::workFolderFor(appFolder, local.string());
        ASSERT_EQ(folder, appFolder == app.string() ? app.string() : (local / "Kelvara").string());
        Win32Rig rig(folder);

        UsbDeviceRecover(rig.c, "COM12");

        const std::string road =
            "find USB*\ndisable @" + id + "\nstatus USB*\nenable @" + id + "\nstatus USB*\n";
        EXPECT_EQ(readAll(app / "fake-devcon.log").substr(0, road.size()), road);
        EXPECT_TRUE(readAll(app / "fake-devcon.state").empty()) << "adapter left disabled";
        EXPECT_NE(readAll(fs::path(folder) / "dev.ref").find("(COM12)"), std::string::npos);
        fs::remove(fs::path(folder) / "dev.ref");
    }
    // Wine may still hold the last tool's current folder for a moment.
    std::error_code ignored;
    fs::remove_all(local, ignored);
}

TEST(DeviceConsole, CommandLinesKeepEveryArgumentWhole) {
    const std::tuple<std::wstring, std::wstring, std::optional<std::wstring>> cases[] = {
        {L"devcon.exe", L"USB*", L"devcon.exe find USB* > dev.ref"},
        {L"C:\\Kelvara tool\\devcon.exe", L"USB*",
         L"\"\"C:\\Kelvara tool\\devcon.exe\" find USB* > dev.ref\""},
        {L"devcon.exe", L"100%", std::nullopt},
    };
    for (const auto& [program, argument, command] : cases) {
        SCOPED_TRACE(argument);
        EXPECT_EQ(win32::interpreterCommand(program, {L"find", argument}, L"dev.ref"), command);
    }
    EXPECT_EQ(win32::quotedArgument(L"@USB\\A&B\\"), L"\"@USB\\A&B\\\\\"");
    EXPECT_EQ(win32::quotedArgument(L"say \"hi\""), L"\"say \\\"hi\\\"\"");
    EXPECT_EQ(win32::quotedArgument(L""), L"\"\"");
}

} // namespace
