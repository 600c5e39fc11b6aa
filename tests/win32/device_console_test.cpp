// The device console runs of the adapter reset, and the reset through devcon.exe's own listings.

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "platform/win32/command_line.h"
#include "platform/win32/win32_process_runner.h"
#include "platform/win32/work_folder.h"
#include "serial/usb_recovery.h"
#include "tests/win32/win32_rig.h"

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

struct RecordingTrace : Trace {
    void event(std::string_view text) override { events.emplace_back(text); }
    std::vector<std::string> events;
};

std::vector<std::string> linesOf(const fs::path& file) {
    std::vector<std::string> lines;
    std::ifstream in(file);
    for (std::string line; std::getline(in, line);) {
        lines.push_back(line);
    }
    return lines;
}

// devcon.exe pads the ids of its find listing: the adapter goes out without the blanks, the
// listing is named as Windows names files, and a refusal (exit status 2) ends the reset with
// the rights warning.
TEST(DeviceConsole, ResetsTheAdapterThatThePaddedListingNames) {
    const fs::path folder = fs::u8path(win32::applicationFolder());
    const std::string adapter = "@USB\\VID_1A86&PID_7523\\SIM3";
    for (const bool denied : {false, true}) {
        SCOPED_TRACE(denied);
        fs::remove(folder / "fake-devcon.log");
        fs::remove(folder / "fake-devcon.state");
        if (denied) {
            std::ofstream(folder / "fake-devcon.denied");
        }
        Win32Rig rig(win32::applicationFolder(), "devcon");
        RecordingTrace trace;
        rig.c.trace = &trace;
        rig.m.iUsbRecoveryTime = 10;
        UsbDeviceRecover(rig.c, "COM3");
        fs::remove(folder / "fake-devcon.denied");
        const std::vector<std::string> all{"find USB*", "disable " + adapter, "status USB*",
                                           "enable " + adapter, "status USB*"};
        EXPECT_EQ(linesOf(folder / "fake-devcon.log"),
                  denied ? std::vector<std::string>(all.begin(), all.begin() + 2) : all);
        EXPECT_EQ(rig.m.pendingWarnings.size(), denied ? 1u : 0u);
        ASSERT_GE(trace.events.size(), 2u);
        EXPECT_EQ(trace.events[1], "device console: devcon find USB* > " +
                                       win32::applicationFolder() + "\\dev.ref: exit 0");
    }
}

} // namespace
