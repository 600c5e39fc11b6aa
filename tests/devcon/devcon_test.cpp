// The device console run as a program inside a umockdev tree of fake USB serial adapters.

#include <filesystem>
#include <ostream>
#include <string>
#include <utility>
#include <vector>

#include <gtest/gtest.h>
#include <linux/capability.h>
#include <sys/prctl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "devcon_run.h"
#include "usb_testbed.h"

namespace fs = std::filesystem;

namespace {

const FakeAdapter kFtdi{"1-3", "0403", "6001", "A1B2C3D4", "FT232R USB UART", {"ttyUSB0"}};
const FakeAdapter kArduino{"1-4", "2341", "0043", "85735313", "Arduino Uno", {"ttyACM0"}};
const FakeAdapter kCh340{"1-1.4", "1a86", "7523", "", "USB Serial", {"ttyUSB1"}};

const std::string kFtdiId = "USB\\VID_0403&PID_6001\\A1B2C3D4";

// Each test gets a fresh device tree and a private runtime folder, which holds the port-link
// folder and the work folder.
class DevconTest : public ::testing::Test {
protected:
    void SetUp() override {
        char pattern[] = "/tmp/devcon-test-XXXXXX";
        ASSERT_NE(mkdtemp(pattern), nullptr);
        scratch_ = pattern;
        runtime_ = scratch_ + "/run";
        workFolder_ = runtime_ + "/kelvara";
        for (const auto& folder : {runtime_, workFolder_, workFolder_ + "/ports"}) {
            ASSERT_EQ(mkdir(folder.c_str(), 0700), 0) << folder;
        }
        setenv("XDG_RUNTIME_DIR", runtime_.c_str(), 1);
    }
    void TearDown() override { fs::remove_all(scratch_); }

    DevconRun devcon(const std::vector<std::string>& args) { return runDevcon(args, scratch_); }
    std::string listing(const std::string& verb) {
        const DevconRun run = devcon({verb, "USB*"});
        EXPECT_EQ(run.exitCode, 0) << verb;
        EXPECT_EQ(run.err, "") << verb;
        return run.out;
    }
    std::string find() { return listing("find"); }
    std::string status() { return listing("status"); }

    // Under umockdev /dev/<name> is seen as the tree's own node, so a link may name it plainly.
    void linkPort(int comNumber, const std::string& target) {
        fs::create_symlink(target, workFolder_ + "/ports/COM" + std::to_string(comNumber));
    }

    UsbTestbed bed_;
    std::string scratch_;
    std::string runtime_;
    std::string workFolder_;
};

struct FindCase {
    const char* name;
    std::vector<FakeAdapter> adapters;
    std::vector<std::pair<int, std::string>> links;
    std::string pattern;
    std::string listing;
};

void PrintTo(const FindCase& c, std::ostream* os) { *os << c.name; }

class FindListingTest : public DevconTest, public ::testing::WithParamInterface<FindCase> {};

TEST_P(FindListingTest, NamesEachAdapterByIdAndComName) {
    for (const auto& adapter : GetParam().adapters) {
        bed_.plugIn(adapter);
    }
    for (const auto& [comNumber, target] : GetParam().links) {
        linkPort(comNumber, target);
    }
    const DevconRun run = devcon({"find", GetParam().pattern});
    EXPECT_EQ(run.exitCode, 0);
    EXPECT_EQ(run.out, GetParam().listing);
}

const FakeAdapter kDual{"1-5", "0403", "6010", "FT4ZX", "Dual RS232-HS", {"ttyUSB0", "ttyUSB1"}};
const FakeAdapter kBeyondTable{"1-3", "0403", "6001", "A1B2C3D4", "FT232R USB UART", {"ttyUSB40"}};

INSTANTIATE_TEST_SUITE_P(
    Adapters, FindListingTest,
    ::testing::Values(
        FindCase{"DefaultTable",
                 {kFtdi, kArduino},
                 {},
                 "USB*",
                 kFtdiId + ": FT232R USB UART (COM33)\n"
                           "USB\\VID_2341&PID_0043\\85735313: Arduino Uno (COM65)\n"
                           "2 matching device(s) found.\n"},
        FindCase{"SerialLessUsesBusPath",
                 {kCh340},
                 {},
                 "USB*",
                 "USB\\VID_1A86&PID_7523\\1-1.4: USB Serial (COM34)\n"
                 "1 matching device(s) found.\n"},
        FindCase{"PortLinkBeforeDefaultTable",
                 {kFtdi},
                 {{7, "/dev/ttyUSB0"}},
                 "USB*",
                 kFtdiId + ": FT232R USB UART (COM7)\n1 matching device(s) found.\n"},
        FindCase{"Com1AndCom12AreSeparateWholeNames",
                 {kFtdi, kCh340},
                 {{1, "/dev/ttyUSB1"}, {12, "/dev/ttyUSB0"}},
                 "USB*",
                 "USB\\VID_1A86&PID_7523\\1-1.4: USB Serial (COM1)\n" + kFtdiId +
                     ": FT232R USB UART (COM12)\n2 matching device(s) found.\n"},
        FindCase{"MultiPortNamesEveryPort",
                 {kDual},
                 {},
                 "USB*",
                 "USB\\VID_0403&PID_6010\\FT4ZX: Dual RS232-HS (COM33, COM34)\n"
                 "1 matching device(s) found.\n"},
        FindCase{"BeyondTheTableNoComName",
                 {kBeyondTable},
                 {},
                 "USB*",
                 kFtdiId + ": FT232R USB UART (no COM name)\n1 matching device(s) found.\n"},
        FindCase{"PatternSelectsById",
                 {kFtdi, kArduino},
                 {},
                 "USB\\VID_2341*",
                 "USB\\VID_2341&PID_0043\\85735313: Arduino Uno (COM65)\n"
                 "1 matching device(s) found.\n"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(DevconTest, StatusGivesIdNameAndStateOfEachAdapter) {
    bed_.plugIn(kFtdi);
    bed_.plugInDeauthorised(kArduino);
    EXPECT_EQ(status(), "USB\\VID_0403&PID_6001\\A1B2C3D4\n"
                        "    Name: FT232R USB UART (COM33)\n"
                        "    Driver is running.\n"
                        "USB\\VID_2341&PID_0043\\85735313\n"
                        "    Name: Arduino Uno (no COM name)\n"
                        "    Device is disabled.\n"
                        "2 matching device(s) found.\n");
}

TEST_F(DevconTest, ByIdLinkKeepsTheComNameWhenTheTtyIsRenumbered) {
    const std::string byId = "serial/by-id/usb-FTDI_FT232R_USB_UART_A1B2C3D4-if00-port0";
    fs::create_directories(fs::path(bed_.devFile(byId)).parent_path());
    bed_.plugIn(kFtdi);
    fs::create_symlink("../../ttyUSB0", bed_.devFile(byId));
    linkPort(3, "/dev/" + byId);
    ASSERT_EQ(find(), kFtdiId + ": FT232R USB UART (COM3)\n1 matching device(s) found.\n");

    // Re-enumerated as ttyUSB1 (COM34 in the default table); udev moves the by-id name along.
    FakeAdapter renumbered = kFtdi;
    renumbered.ttys = {"ttyUSB1"};
    bed_.dropPorts(kFtdi);
    bed_.addPorts(renumbered);
    fs::remove(bed_.devFile(byId));
    fs::create_symlink("../../ttyUSB1", bed_.devFile(byId));
    EXPECT_EQ(find(), kFtdiId + ": FT232R USB UART (COM3)\n1 matching device(s) found.\n");
}

TEST_F(DevconTest, DisableWritesZeroAndEnableWritesOne) {
    bed_.plugIn(kFtdi);
    const DevconRun disabled = devcon({"disable", "@" + kFtdiId});
    EXPECT_EQ(disabled.exitCode, 0);
    EXPECT_EQ(disabled.err, "");
    EXPECT_EQ(disabled.out, kFtdiId + ": Disabled\n1 device(s) disabled.\n");
    EXPECT_EQ(bed_.authorized(kFtdi), "0");

    bed_.dropPorts(kFtdi);
    const DevconRun enabled = devcon({"enable", "@" + kFtdiId});
    EXPECT_EQ(enabled.exitCode, 0);
    EXPECT_EQ(enabled.err, "");
    EXPECT_EQ(enabled.out, kFtdiId + ": Enabled\n1 device(s) enabled.\n");
    EXPECT_EQ(bed_.authorized(kFtdi), "1");
}

TEST_F(DevconTest, DisabledAdapterIsListedAsDisabledWithItsComName) {
    bed_.plugIn(kFtdi);
    bed_.plugIn(kArduino);
    ASSERT_EQ(devcon({"disable", "@" + kFtdiId}).exitCode, 0);
    bed_.dropPorts(kFtdi);

    EXPECT_EQ(find(), kFtdiId + ": FT232R USB UART (COM33)\n"
                                "USB\\VID_2341&PID_0043\\85735313: Arduino Uno (COM65)\n"
                                "2 matching device(s) found.\n");
    EXPECT_EQ(status(), kFtdiId + "\n    Name: FT232R USB UART (COM33)\n"
                                  "    Device is disabled.\n"
                                  "USB\\VID_2341&PID_0043\\85735313\n"
                                  "    Name: Arduino Uno (COM65)\n"
                                  "    Driver is running.\n"
                                  "2 matching device(s) found.\n");
}

TEST_F(DevconTest, EnableForgetsTheRememberedName) {
    bed_.plugIn(kFtdi);
    ASSERT_EQ(devcon({"disable", "@" + kFtdiId}).exitCode, 0);
    bed_.dropPorts(kFtdi);
    ASSERT_EQ(devcon({"enable", "@" + kFtdiId}).exitCode, 0);
    bed_.addPorts(kFtdi);
    ASSERT_EQ(status(), kFtdiId + "\n    Name: FT232R USB UART (COM33)\n"
                                  "    Driver is running.\n1 matching device(s) found.\n");

    // Disabled by someone else now: nothing of the earlier disable may name it.
    bed_.deauthorise(kFtdi);
    EXPECT_EQ(find(), kFtdiId + ": FT232R USB UART (no COM name)\n1 matching device(s) found.\n");
}

TEST_F(DevconTest, RememberedNamesInAnUntrustedWorkFolderAreIgnored) {
    bed_.plugIn(kFtdi);
    ASSERT_EQ(devcon({"disable", "@" + kFtdiId}).exitCode, 0);
    bed_.dropPorts(kFtdi);
    ASSERT_EQ(chmod(workFolder_.c_str(), 0777), 0);
    EXPECT_EQ(find(), kFtdiId + ": FT232R USB UART (no COM name)\n1 matching device(s) found.\n");
}

TEST_F(DevconTest, RejectedCommandLinesFailWithOneLineOnStderr) {
    bed_.plugIn(kFtdi);
    struct Case {
        std::vector<std::string> args;
        std::string message;
    };
    const Case cases[] = {
        {{}, "no command given"},
        {{"frob", "USB*"}, "unknown command \"frob\""},
        {{"find"}, "find takes one argument"},
        {{"disable"}, "disable takes one argument"},
        {{"disable", kFtdiId}, "expected @<instance id>"},
        {{"enable", "@USB\\VID_0403&PID_6001\\A1B2"},
         "no USB serial device USB\\VID_0403&PID_6001\\A1B2"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.message);
        const DevconRun run = devcon(c.args);
        EXPECT_NE(run.exitCode, 0);
        EXPECT_EQ(run.out, "");
        EXPECT_EQ(run.err.rfind("kelvara-devcon: ", 0), 0u) << run.err;
        EXPECT_NE(run.err.find(c.message), std::string::npos) << run.err;
        EXPECT_EQ(run.err.find('\n'), run.err.size() - 1) << run.err;
    }
    EXPECT_EQ(bed_.authorized(kFtdi), "1");
}

// Root writes read-only files anyway. Dropping the override from the bounding set takes it
// from every program this process starts from now on; the other tests only write files that
// belong to the same account, so they do not need it.
bool childrenHonourFileModes() {
    return geteuid() != 0 || prctl(PR_CAPBSET_DROP, CAP_DAC_OVERRIDE, 0, 0, 0) == 0;
}

TEST_F(DevconTest, ReadOnlyAuthorizedGivesThePermissionMessage) {
    bed_.plugIn(kFtdi);
    ASSERT_EQ(chmod(bed_.authorizedFile(kFtdi).c_str(), 0444), 0);
    if (!childrenHonourFileModes()) {
        GTEST_SKIP() << "running as root without the right to give up CAP_DAC_OVERRIDE";
    }
    const DevconRun run = devcon({"disable", "@" + kFtdiId});
    EXPECT_NE(run.exitCode, 0);
    EXPECT_EQ(run.out, "");
    EXPECT_EQ(run.err, "kelvara-devcon: cannot write /sys/devices/pci0000:00/0000:00:14.0/usb1/"
                       "1-3/authorized: Permission denied (install 99-kelvara-usb-serial.rules "
                       "and join the dialout group, see the README)\n");
    EXPECT_EQ(bed_.authorized(kFtdi), "1");
    EXPECT_EQ(status(), kFtdiId + "\n    Name: FT232R USB UART (COM33)\n"
                                  "    Driver is running.\n1 matching device(s) found.\n");
}

} // namespace
