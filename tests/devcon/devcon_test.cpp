// The device console run as a program inside a umockdev tree of fake USB serial adapters.

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include <gtest/gtest.h>
#include <linux/capability.h>
#include <sys/prctl.h>
#include <sys/stat.h>
#include <umockdev.h>
#include <unistd.h>

namespace fs = std::filesystem;

namespace {

// A fake USB serial adapter: the usb_device, its interface, a tty below it.
struct Adapter {
    std::string busPath, vendorId, productId, serial, product, tty; // serial "": it has none
    std::string device() const { return "/devices/pci0000:00/0000:00:14.0/usb1/" + busPath; }
    std::string port() const { return device() + "/" + busPath + ":1.0"; }
};

const Adapter kFtdi{"1-3", "0403", "6001", "A1B2C3D4", "FT232R USB UART", "ttyUSB0"};
const Adapter kCh340{"1-1.4", "1a86", "7523", "", "USB Serial", "ttyUSB1"};
const Adapter kArduino{"1-4", "2341", "0043", "85735313", "Arduino Uno", "ttyACM0"};
const std::string kFtdiId = "USB\\VID_0403&PID_6001\\A1B2C3D4";
const std::string kCh340Id = "USB\\VID_1A86&PID_7523\\1-1.4"; // no serial: the bus path
const std::string kArduinoId = "USB\\VID_2341&PID_0043\\85735313";

struct Outcome {
    bool ok; // exited with 0
    std::string out, err;
};

// Each test gets a fresh device tree, which the tool inherits; the tree's root also serves as
// the runtime folder that holds the work folder and its port-link folder.
class DevconTest : public ::testing::Test {
protected:
    ~DevconTest() override { g_object_unref(bed_); }
    void SetUp() override {
        ASSERT_TRUE(umockdev_in_mock_environment()) << "run the test under umockdev-wrapper";
        g_autofree gchar* root = umockdev_testbed_get_root_dir(bed_);
        root_ = root;
        for (const std::string& folder : {root_ + "/kelvara", root_ + "/kelvara/ports"}) {
            ASSERT_EQ(mkdir(folder.c_str(), 0700), 0) << folder;
        }
        setenv("XDG_RUNTIME_DIR", root_.c_str(), 1);
    }

    // Under umockdev /dev/<name> is seen as the tree's own node, so a link may name it plainly.
    void linkPort(int n, const std::string& target) const {
        fs::create_symlink(target, root_ + "/kelvara/ports/COM" + std::to_string(n));
    }
    void add(const std::string& description) {
        ASSERT_TRUE(umockdev_testbed_add_from_string(bed_, description.c_str(), nullptr))
            << description;
    }
    void plugIn(const Adapter& a) {
        add("P: " + a.device() + "\nE: SUBSYSTEM=usb\nE: DEVTYPE=usb_device\nA: idVendor=" +
            a.vendorId + "\nA: idProduct=" + a.productId + "\nA: product=" + a.product +
            "\nA: authorized=1\n" + (a.serial.empty() ? "" : "A: serial=" + a.serial + "\n"));
        addPort(a);
    }
    // What the kernel does when the device is authorised, and deauthorised. The node is a plain
    // file: nothing in the tree is a real terminal.
    void addPort(const Adapter& a) {
        add("P: " + a.port() + "\nE: SUBSYSTEM=usb\nE: DEVTYPE=usb_interface\n\nP: " + a.port() +
            "/tty/" + a.tty + "\nN: " + a.tty + "=00\nE: SUBSYSTEM=tty\nE: DEVNAME=/dev/" + a.tty);
    }
    void dropPort(const Adapter& a) {
        umockdev_testbed_remove_device(bed_, ("/sys" + a.port()).c_str());
    }
    std::string authorizedFile(const Adapter& a) const {
        return root_ + "/sys" + a.device() + "/authorized";
    }
    std::string authorized(const Adapter& a) const {
        std::string value;
        std::ifstream(authorizedFile(a)) >> value;
        return value;
    }

    // The built tool, without a shell, in this process's environment.
    Outcome devcon(std::vector<std::string> args) const {
        std::vector<char*> argv{const_cast<char*>(KELVARA_DEVCON)};
        for (std::string& arg : args) {
            argv.push_back(arg.data());
        }
        argv.push_back(nullptr);
        g_autofree gchar* out = nullptr;
        g_autofree gchar* err = nullptr;
        gint status = 0;
        EXPECT_TRUE(g_spawn_sync(nullptr, argv.data(), nullptr, G_SPAWN_DEFAULT, nullptr, nullptr,
                                 &out, &err, &status, nullptr));
        return {g_spawn_check_wait_status(status, nullptr) != 0, out ? out : "", err ? err : ""};
    }
    std::string list(const std::string& verb) const {
        const Outcome run = devcon({verb, "USB*"});
        EXPECT_TRUE(run.ok) << verb;
        EXPECT_EQ(run.err, "") << verb;
        return run.out;
    }

    UMockdevTestbed* bed_ = umockdev_testbed_new();
    std::string root_;
};

TEST_F(DevconTest, FindNamesEachAdapterByIdAndDefaultTableComName) {
    for (const Adapter& a : {kFtdi, kCh340, kArduino}) {
        plugIn(a);
    }
    EXPECT_EQ(list("find"), kCh340Id + ": USB Serial (COM34)\n" + kFtdiId +
                                ": FT232R USB UART (COM33)\n" + kArduinoId +
                                ": Arduino Uno (COM65)\n3 matching device(s) found.\n");
    EXPECT_EQ(devcon({"find", "USB\\VID_2341*"}).out,
              kArduinoId + ": Arduino Uno (COM65)\n1 matching device(s) found.\n");
}

TEST_F(DevconTest, PortLinksGiveComOneAndComTwelveAsSeparateNames) {
    plugIn(kFtdi);
    plugIn(kCh340);
    linkPort(1, "/dev/ttyUSB1");
    linkPort(12, "/dev/ttyUSB0");
    EXPECT_EQ(list("find"), kCh340Id + ": USB Serial (COM1)\n" + kFtdiId +
                                ": FT232R USB UART (COM12)\n2 matching device(s) found.\n");
}

TEST_F(DevconTest, ByIdLinkKeepsTheComNameWhenTheTtyIsRenumbered) {
    const std::string byId = "/dev/serial/by-id/usb-FTDI_A1B2C3D4-if00-port0";
    fs::create_directories(root_ + "/dev/serial/by-id");
    plugIn(kFtdi);
    fs::create_symlink("../../ttyUSB0", root_ + byId);
    linkPort(3, byId);
    const std::string listing = kFtdiId + ": FT232R USB UART (COM3)\n1 matching device(s) found.\n";
    ASSERT_EQ(list("find"), listing);

    // Re-enumerated as ttyUSB1 (COM34 in the default table); udev moves the by-id name along.
    Adapter renumbered = kFtdi;
    renumbered.tty = "ttyUSB1";
    dropPort(kFtdi);
    addPort(renumbered);
    fs::remove(root_ + byId);
    fs::create_symlink("../../ttyUSB1", root_ + byId);
    EXPECT_EQ(list("find"), listing);
}

TEST_F(DevconTest, DisableWritesZeroAndEnableWritesOne) {
    plugIn(kFtdi);
    const Outcome disabled = devcon({"disable", "@" + kFtdiId});
    EXPECT_TRUE(disabled.ok);
    EXPECT_EQ(disabled.out, kFtdiId + ": Disabled\n1 device(s) disabled.\n");
    EXPECT_EQ(authorized(kFtdi), "0");

    dropPort(kFtdi);
    const Outcome enabled = devcon({"enable", "@" + kFtdiId});
    EXPECT_TRUE(enabled.ok);
    EXPECT_EQ(enabled.out, kFtdiId + ": Enabled\n1 device(s) enabled.\n");
    EXPECT_EQ(authorized(kFtdi), "1");
}

TEST_F(DevconTest, DisabledAdapterIsListedAsDisabledWithItsComName) {
    plugIn(kFtdi);
    plugIn(kArduino);
    ASSERT_TRUE(devcon({"disable", "@" + kFtdiId}).ok);
    dropPort(kFtdi);
    EXPECT_EQ(list("find"), kFtdiId + ": FT232R USB UART (COM33)\n" + kArduinoId +
                                ": Arduino Uno (COM65)\n2 matching device(s) found.\n");
    EXPECT_EQ(list("status"), kFtdiId +
                                  "\n    Name: FT232R USB UART (COM33)\n    Device is disabled.\n" +
                                  kArduinoId +
                                  "\n    Name: Arduino Uno (COM65)\n    Driver is running.\n"
                                  "2 matching device(s) found.\n");
}

TEST_F(DevconTest, RejectedCommandLinesFailWithOneLineOnStderr) {
    plugIn(kFtdi);
    struct Case {
        std::vector<std::string> args;
        std::string message;
    };
    for (const Case& c : {Case{{}, "no command given (try --help)"},
                          Case{{"frob", "USB*"}, "unknown command \"frob\" (try --help)"},
                          Case{{"find"}, "find takes one argument (try --help)"},
                          Case{{"disable", kFtdiId},
                               "expected @<instance id>, got \"" + kFtdiId + "\" (try --help)"},
                          Case{{"enable", "@USB\\VID_0403&PID_6001\\A1B2"},
                               "no USB serial device USB\\VID_0403&PID_6001\\A1B2"}}) {
        SCOPED_TRACE(c.message);
        const Outcome run = devcon(c.args);
        EXPECT_FALSE(run.ok);
        EXPECT_EQ(run.out, "");
        EXPECT_EQ(run.err, "kelvara-devcon: " + c.message + "\n");
    }
    EXPECT_EQ(authorized(kFtdi), "1");
}

TEST_F(DevconTest, ReadOnlyAuthorizedGivesThePermissionMessage) {
    plugIn(kFtdi);
    ASSERT_EQ(chmod(authorizedFile(kFtdi).c_str(), 0444), 0);
    // Root writes read-only files anyway. Dropping the override from the bounding set takes it
    // from every program this process starts from now on; the other tests do not need it.
    if (geteuid() == 0 && prctl(PR_CAPBSET_DROP, CAP_DAC_OVERRIDE, 0, 0, 0) != 0) {
        GTEST_SKIP() << "running as root without the right to give up CAP_DAC_OVERRIDE";
    }
    const Outcome run = devcon({"disable", "@" + kFtdiId});
    EXPECT_FALSE(run.ok);
    EXPECT_EQ(run.out, "");
    EXPECT_EQ(run.err, "kelvara-devcon: cannot write /sys" + kFtdi.device() +
                           "/authorized: Permission denied (install 99-kelvara-usb-serial.rules "
                           "and join the dialout group, see the README)\n");
    EXPECT_EQ(authorized(kFtdi), "1");
}

} // namespace
