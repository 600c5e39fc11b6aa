#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "platform/win32/command_line.h"
#include "platform/win32/work_folder.h"
#include "serial/usb_recovery.h"
#include "tests/win32/win32_rig.h"

namespace {

namespace fs = std::filesystem;

const std::string kCh340 = "USB\\VID_1A86&PID_7523\\5&2A3B&0&1";
const std::string kFtdi = "USB\\VID_0403&PID_6001\\A50285BI";
const std::string kTwoAdapters =
    kFtdi + "|USB Serial Port (COM1)\n" + kCh340 + "|USB-SERIAL (COM12)\n";

std::string readAll(const fs::path& file) {
    std::ifstream in(file);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

// The whole recovery road through the core, with the fake console beside the test program.
TEST(DeviceConsole, RecoveryRoad) {
    const fs::path app = win32::applicationFolder();
    const fs::path local = fs::temp_directory_path() / "kelvara-local-app-data";
    struct Case {
        const char* name;
        std::string sCom;
        std::string devices;
        bool fallbackFolder; // the application's folder cannot be written
        bool listingUnreadable;
        const char* program;
        std::string log;
    };
    const std::string road =
        "find USB*\ndisable @" + kCh340 + "\nstatus USB*\nenable @" + kCh340 + "\nstatus USB*\n";
    const Case cases[] = {
        {"COM12's adapter is reset", "COM12", kTwoAdapters, false, false, "devcon", road},
        {"the listing goes to the fallback folder", "COM12", kTwoAdapters, true, false, "devcon",
         road},
        {"COM1 is not COM12", "COM1", kTwoAdapters, false, false, "devcon",
         "find USB*\ndisable @" + kFtdi + "\nstatus USB*\nenable @" + kFtdi + "\nstatus USB*\n"},
        {"a listing without the port", "COM7", kTwoAdapters, false, false, "devcon",
         "find USB*\ndisable\nstatus USB*\nstatus USB*\nstatus USB*\nenable\nstatus USB*\n"},
        {"an unreadable listing", "COM12", kTwoAdapters, false, true, "devcon", ""},
        {"no device console", "COM12", kTwoAdapters, false, false, "devcon-missing", ""},
    };
    for (const auto& k : cases) {
        SCOPED_TRACE(k.name);
        fs::remove(app / "devcon.log");
        fs::remove(app / "devcon.state");
        fs::create_directories(local);
        std::ofstream(app / "devcon.devices") << k.devices;
        // Nothing can be created in Z:\proc, not even by root.
        const std::string folder =
            win32::workFolderFor(k.fallbackFolder ? "Z:\\proc" : app.string(), local.string());
        ASSERT_EQ(folder, k.fallbackFolder ? (local / "Kelvara").string() : app.string());
        fs::remove_all(fs::path(folder) / "dev.ref");
        if (k.listingUnreadable) {
            fs::create_directory(fs::path(folder) / "dev.ref");
        }
        Win32Rig rig(folder, k.program);
        rig.m.iUsbRecoveryTime = 10;

        UsbDeviceRecover(rig.c, k.sCom);

        // Further status polls after the first one that follows the enable are the core's count.
        const std::string log = readAll(app / "devcon.log");
        EXPECT_EQ(k.log.empty() ? log : log.substr(0, k.log.size()), k.log);
        EXPECT_TRUE(readAll(app / "devcon.state").empty()) << "adapter left disabled";
        if (!k.log.empty()) {
            EXPECT_NE(readAll(fs::path(folder) / "dev.ref").find("(COM12)"), std::string::npos);
        }
        fs::remove_all(fs::path(folder) / "dev.ref");
    }
    // Wine may still hold the last tool's current folder for a moment.
    std::error_code ignored;
    fs::remove_all(local, ignored);
}

TEST(DeviceConsole, CommandLinesKeepEveryArgumentWhole) {
    struct Case {
        std::wstring program;
        std::vector<std::wstring> args;
        std::optional<std::wstring> command;
    };
    const Case cases[] = {
        {L"devcon.exe", {L"find", L"USB*"}, L"devcon.exe find USB* > dev.ref"},
        {L"C:\\Kelvara tool\\devcon.exe",
         {L"status", L"USB*"},
         L"\"\"C:\\Kelvara tool\\devcon.exe\" status USB* > dev.ref\""},
        {L"devcon.exe",
         {L"find", L"@USB\\VID_1A86&PID_7523\\5&2A3B&0&1"},
         L"devcon.exe find \"@USB\\VID_1A86&PID_7523\\5&2A3B&0&1\" > dev.ref"},
        {L"devcon.exe", {L"find", L"100%"}, std::nullopt},
        {L"devcon.exe", {L"find", L"a\"b"}, std::nullopt},
    };
    for (const auto& k : cases) {
        SCOPED_TRACE(k.program);
        EXPECT_EQ(win32::interpreterCommand(k.program, k.args, L"dev.ref"), k.command);
    }
    EXPECT_EQ(win32::quotedArgument(L"@USB\\A&B\\"), L"\"@USB\\A&B\\\\\"");
    EXPECT_EQ(win32::quotedArgument(L"say \"hi\""), L"\"say \\\"hi\\\"\"");
    EXPECT_EQ(win32::quotedArgument(L""), L"\"\"");
}

} // namespace
