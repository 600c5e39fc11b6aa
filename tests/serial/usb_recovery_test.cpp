#include <gtest/gtest.h>

#include <cstdio>

#include "serial/usb_recovery.h"
#include "tests/support/fake_device_tree.h"
#include "tests/support/fake_serial.h"

namespace {

const std::string kCh340 = "USB\\VID_1A86&PID_7523\\5&2A3B&0&2";
const std::string kProlific = "USB\\VID_067B&PID_2303\\6&1D2C3B4A&0&1";
const std::string kFtdi = "USB\\VID_0403&PID_6001\\A10K1ABC";
const std::string kDual = "USB\\VID_0403&PID_6010\\FT4XYZ";
const std::string kDualA = "USB\\VID_0403&PID_6010&MI_00\\7&2F1E0D&0&0000";
const std::string kDualB = "USB\\VID_0403&PID_6010&MI_01\\7&2F1E0D&0&0001";
const std::string kRootHub = "USB\\ROOT_HUB30\\4&1A2B3C4D&0&0";

// A line of devcon.exe's find listing: the id left-justified in 60 columns, CR LF.
std::string findLine(const std::string& id, const std::string& name, const char* end = "\r\n") {
    char line[200];
    std::snprintf(line, sizeof line, "%-60s: %s%s", id.c_str(), name.c_str(), end);
    return line;
}

// What devcon.exe lists: CH340 and Prolific adapters carry their port on the USB device; an
// FTDI adapter's port ("(COM3)", "(COM12)") stands on a child node that find USB* does not list.
const std::string kFind =
    findLine(kRootHub, "USB Root Hub (USB 3.0)") +
    findLine(kProlific, "Prolific USB-to-Serial Comm Port (COM12)") +
    findLine(kFtdi, "USB Serial Converter") + findLine(kCh340, "USB-SERIAL CH340 (COM1)") +
    findLine(kDual, "USB Composite Device") + findLine(kDualA, "USB Serial Converter A") +
    findLine(kDualB, "USB Serial Converter B") + "7 matching device(s) found.\r\n";

// COM12 is listed first and running: only COM1's own line tells COM1's state.
std::string status(const std::string& state, const char* end = "\r\n") {
    const std::string e = end;
    return kProlific + e + "    Name: Prolific USB-to-Serial Comm Port (COM12)" + e +
           "    Driver is running." + e + kCh340 + e + "    Name: USB-SERIAL CH340 (COM1)" + e +
           "    " + state + e + "2 matching device(s) found." + e;
}

std::string joined(const std::vector<std::string>& runs) {
    std::string text;
    for (const auto& run : runs) {
        text += run + "|";
    }
    return text;
}

// Each wait ends 1 ms past its time: 3000 ms settle waits take 3001, poll pauses 1001.
TEST(UsbDeviceRecover, RunsTheToolInItsOrderWithItsWaits) {
    const std::string running = status("Driver is running.");
    const std::string disabled = status("Device is disabled.");
    const std::string s = "status USB*|", s3 = s + s + s, f = "find USB*|";
    const std::string id1 = " @" + kCh340 + "|", id12 = " @" + kProlific + "|";
    const std::string off = f + "disable" + id1, on = "enable" + id1;
    struct Case {
        const char* port;
        std::string find;
        std::vector<std::string> statuses;
        std::string runs;
        uint32_t endsAt;
        uint32_t closesAt; // 0: the window stays open
    };
    const Case cases[] = {
        {"COM1", kFind, {disabled, running}, off + s + on + s, 6002, 0},
        {"COM12",
         kFind,
         {disabled, running},
         f + "disable" + id12 + s3 + "enable" + id12 + s,
         9005,
         0},
        {"COM1", kFind, {running, disabled, running}, off + s + s + on + s, 7003, 0},
        // kelvara-devcon pads the same way and ends its lines with LF.
        {"COM1",
         findLine(kCh340, "USB Serial (COM1)", "\n") + "1 matching device(s) found.\n",
         {status("Device is disabled.", "\n"), status("Driver is running.", "\n")},
         off + s + on + s,
         6002,
         0},
        // No line names the port: its last line is the status.
        {"COM1",
         kFind,
         {"USB\\Y\r\n Name: Other (COM5)\r\n Device is disabled.\r\n"},
         off + s + on + s3,
         9005,
         0},
        // Once disabled, every way out enables the adapter again.
        {"COM1", kFind, {"USB\\X\r\n    Name: USB Serial (COM1)"}, off + s + on, 3001, 0},
        {"COM1", kFind, {disabled}, off + on, 1500, 1500},
        {"COM1", kFind, {running}, off + s + on, 3500, 3500},
        // A listing without the expected shape ends it before the adapter is touched.
        {"COM1", "COM1: odd\r\n", {running}, f, 0, 0},
        {"COM1", "PCI\\X: Port (COM1)\r\n", {running}, f, 0, 0},
        // Where nothing else can reset it, a port the listing does not name is left alone.
        {"COM3", kFind, {running}, f, 0, 0}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.runs);
        SerialRig rig;
        RecordingTrace trace;
        rig.c.trace = &trace;
        rig.findListing = c.find;
        rig.statusListings = c.statuses;
        if (c.closesAt != 0) {
            rig.at(c.closesAt, [&] { rig.m.bUnloading = true; });
        }
        UsbDeviceRecover(rig.c, c.port);
        EXPECT_EQ(joined(rig.runs), c.runs);
        EXPECT_EQ(rig.now, c.endsAt);
        EXPECT_TRUE(rig.boxes.shown.empty());
        EXPECT_TRUE(rig.m.pendingWarnings.empty());
        for (const auto& event : trace.events) {
            EXPECT_EQ(event.find('\r'), std::string::npos) << event;
            // A state is traced whole, its full stop kept.
            EXPECT_TRUE(event.find(": \"") == std::string::npos || event.ends_with(".\"")) << event;
        }
        // The listing is named with the system's own separator: C:\...\dev.ref on Windows.
#ifdef _WIN32
        const char* listing = "\\dev.ref: exit 0";
#else
        const char* listing = "/dev.ref: exit 0";
#endif
        EXPECT_TRUE(trace.holds(rig.workFolder + listing));
    }
}

// Ports on an FTDI adapter (their nodes children of the USB device), on a dual one (each on
// its interface), on a CH340 (the USB device itself) and on the mainboard.
struct Tree : FakeDeviceTree {
    explicit Tree(SerialRig& rig) : FakeDeviceTree(rig.runs) {
        rig.c.deviceTree = this;
        rig.findListing = kFind;
        portNodes = {{kCh340, "COM1"},
                     {"ACPI\\PNP0501\\0", "COM2"},
                     {"FTDIBUS\\VID_0403+PID_6001+A10K1ABCA\\0000", "COM3"},
                     {"FTDIBUS\\VID_0403+PID_6010+FT4XYZA\\0000", "COM14"},
                     {"FTDIBUS\\VID_0403+PID_6010+FT4XYZB\\0000", "COM15"}};
        parents = {{"ACPI\\PNP0501\\0", "ACPI\\PNP0A08\\0"},
                   {"ACPI\\PNP0A08\\0", "HTREE\\ROOT\\0"},
                   {"FTDIBUS\\VID_0403+PID_6001+A10K1ABCA\\0000", kFtdi},
                   {kFtdi, kRootHub},
                   {"FTDIBUS\\VID_0403+PID_6010+FT4XYZA\\0000", kDualA},
                   {"FTDIBUS\\VID_0403+PID_6010+FT4XYZB\\0000", kDualB},
                   {kDualA, kDual},
                   {kDualB, kDual}};
    }
};

// Where the device console is missing or names no adapter for the port, the device tree does
// it: the nearest USB device above the port's node, with the same steps and waits.
TEST(UsbDeviceRecover, ResetsThroughTheDeviceTreeWhereTheConsoleCannot) {
    const std::string s = "tree status ", f = "find USB*|";
    struct Case {
        const char* port;
        bool consoleMissing;
        uint32_t answer;
        bool readable;
        uint32_t closesAt; // 0: the window stays open
        std::string runs;
        uint32_t endsAt;
    };
    const auto road = [&](const std::string& id) {
        return "tree disable " + id + "|" + s + id + "|tree enable " + id + "|" + s + id + "|";
    };
    const Case cases[] = {
        // FTDI: the port's node is a child of the USB device.
        {"COM3", false, DeviceTree::kSuccess, true, 0, f + road(kFtdi), 6002},
        // A composite adapter: only the port's own interface, the other port stays up.
        {"COM14", false, DeviceTree::kSuccess, true, 0, f + road(kDualA), 6002},
        {"COM15", false, DeviceTree::kSuccess, true, 0, f + road(kDualB), 6002},
        // No device console: the port's node is the USB device itself.
        {"COM1", true, DeviceTree::kSuccess, true, 0, f + road(kCh340), 6002},
        // A port on no USB device, and a port that no node carries.
        {"COM2", false, DeviceTree::kSuccess, true, 0, f, 0},
        {"COM4", false, DeviceTree::kSuccess, true, 0, f, 0},
        // Refused: nothing was disabled, nothing more is done.
        {"COM3", false, DeviceTree::kAccessDenied, true, 0, f + "tree disable " + kFtdi + "|", 0},
        {"COM3", false, 0x17, true, 0, f + "tree disable " + kFtdi + "|", 0},
        // Once disabled, every way out enables the adapter again.
        {"COM3", false, DeviceTree::kSuccess, false, 0,
         f + "tree disable " + kFtdi + "|" + s + kFtdi + "|tree enable " + kFtdi + "|", 3001},
        {"COM3", false, DeviceTree::kSuccess, true, 1500,
         f + "tree disable " + kFtdi + "|tree enable " + kFtdi + "|", 1500}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.runs);
        SerialRig rig;
        Tree tree(rig);
        tree.answer = c.answer;
        tree.readable = c.readable;
        if (c.consoleMissing) {
            rig.consoleExits["find"] = std::nullopt;
        }
        if (c.closesAt != 0) {
            rig.at(c.closesAt, [&] { rig.m.bUnloading = true; });
        }
        UsbDeviceRecover(rig.c, c.port);
        EXPECT_EQ(joined(rig.runs), c.runs);
        EXPECT_EQ(rig.now, c.endsAt);
        EXPECT_EQ(rig.m.pendingWarnings.size(), c.answer == DeviceTree::kAccessDenied ? 1u : 0u);
    }
}

// A reset refused for want of rights, by the device console (exit status 2) or the device tree,
// ends at once and warns once per run and port.
TEST(UsbDeviceRecover, WarnsOnceOfMissingRights) {
    SerialRig rig;
    Tree tree(rig);
    tree.answer = DeviceTree::kAccessDenied;
    rig.consoleExits["disable"] = 2;
    for (const char* port : {"COM1", "COM3", "COM1", "COM3", "COM12"}) {
        UsbDeviceRecover(rig.c, port);
    }
    const std::string d = "find USB*|disable @";
    EXPECT_EQ(joined(rig.runs), d + kCh340 + "|find USB*|tree disable " + kFtdi + "|" + d + kCh340 +
                                    "|find USB*|tree disable " + kFtdi + "|" + d + kProlific + "|");
    const auto warning = [](const std::string& port) {
        return "The USB adapter of " + port +
               " could not be reset: this needs administrator rights. Unplug and replug the "
               "adapter, or start Kelvara as administrator.";
    };
    EXPECT_EQ(rig.m.pendingWarnings,
              (std::vector<std::string>{warning("COM1"), warning("COM3"), warning("COM12")}));
    EXPECT_EQ(rig.now, 0u);
    EXPECT_TRUE(rig.boxes.shown.empty());
}

TEST(ContainsPortName, MatchesWholeNamesOnly) {
    const std::pair<std::string, bool> cases[] = {{"(COM1)", true}, {"(COM12)", false},
                                                  {"COM1", true},   {"x COM10 COM1.", true},
                                                  {"XCOM1", false}, {"", false}};
    for (const auto& [text, expected] : cases) {
        SCOPED_TRACE(text);
        EXPECT_EQ(containsPortName(text, "COM1"), expected);
    }
    EXPECT_FALSE(containsPortName("COM1", ""));
}

} // namespace
