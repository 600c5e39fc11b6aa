// The device console run as a program inside a umockdev tree of fake USB serial adapters.

#include <filesystem>
#include <fstream>
#include <optional>
#include <string>

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <umockdev.h>

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

// Each test gets a fresh device tree, which the tool inherits; the tree's root also serves as
// the runtime folder that holds the work folder and its port-link folder.
struct DevconTest : ::testing::Test {
    ~DevconTest() override { g_object_unref(bed_); }
    void SetUp() override {
        ASSERT_TRUE(umockdev_in_mock_environment()) << "run the test under umockdev-wrapper";
        g_autofree gchar* root = umockdev_testbed_get_root_dir(bed_);
        root_ = root;
        ASSERT_EQ(mkdir((root_ + "/kelvara").c_str(), 0700), 0);
        ASSERT_EQ(mkdir((root_ + "/kelvara/ports").c_str(), 0700), 0);
        setenv("XDG_RUNTIME_DIR", root_.c_str(), 1);
    }
    void add(const std::string& description) {
        ASSERT_TRUE(umockdev_testbed_add_from_string(bed_, description.c_str(), nullptr));
    }
    // The port is what the kernel adds when the device is authorised; its node a plain file.
    void plugIn(const Adapter& a) {
        add("P: " + a.device() + "\nE: SUBSYSTEM=usb\nE: DEVTYPE=usb_device\nA: idVendor=" +
            a.vendorId + "\nA: idProduct=" + a.productId + "\nA: product=" + a.product +
            "\nA: authorized=1\n" + (a.serial.empty() ? "" : "A: serial=" + a.serial + "\n"));
        add("P: " + a.port() + "\nE: SUBSYSTEM=usb\nE: DEVTYPE=usb_interface\n\nP: " + a.port() +
            "/tty/" + a.tty + "\nN: " + a.tty + "=00\nE: SUBSYSTEM=tty\nE: DEVNAME=/dev/" + a.tty);
    }
    std::string authorized(const Adapter& a) const {
        std::string value;
        std::ifstream(root_ + "/sys" + a.device() + "/authorized") >> value;
        return value;
    }
    // The built tool, without a shell, in this process's environment: its output if it exited
    // with 0. The arguments are parsed as a shell would, so the ids are single-quoted.
    std::optional<std::string> devcon(const std::string& args) const {
        g_autofree gchar* out = nullptr;
        gint status = 0;
        EXPECT_TRUE(g_spawn_command_line_sync(("'" KELVARA_DEVCON "' " + args).c_str(), &out,
                                              nullptr, &status, nullptr));
        if (!g_spawn_check_wait_status(status, nullptr)) {
            return std::nullopt;
        }
        return out ? out : "";
    }

    UMockdevTestbed* bed_ = umockdev_testbed_new();
    std::string root_;
};

// Default table names; only the whole instance id picks an adapter, and a disabled adapter,
// its port gone, is listed with the name it had.
TEST_F(DevconTest, DisableAndEnableTheNamedAdapterOnlyAndDisabledAdaptersKeepTheirName) {
    for (const Adapter& a : {kFtdi, kCh340, kArduino}) {
        plugIn(a);
    }
    // The CH340 has no serial: its bus path stands in. Ids are padded to 60 columns, as the
    // Windows device console pads them.
    const std::string pad(30, ' ');
    const std::string listed = "USB\\VID_1A86&PID_7523\\1-1.4" + pad + std::string(3, ' ') +
                               ": USB Serial (COM34)\n" + kFtdiId + pad +
                               ": FT232R USB UART (COM33)\nUSB\\VID_2341&PID_0043\\85735313" + pad +
                               ": Arduino Uno (COM65)\n3 matching device(s) found.\n";
    EXPECT_EQ(devcon("find USB*"), listed);
    EXPECT_FALSE(devcon("disable '@" + kFtdiId.substr(0, 26) + "'")) << "a prefix";
    EXPECT_FALSE(devcon("disable '" + kFtdiId + "'")) << "without @";
    EXPECT_EQ(authorized(kFtdi), "1");
    EXPECT_TRUE(devcon("disable '@" + kFtdiId + "'"));
    EXPECT_EQ(authorized(kFtdi), "0");
    EXPECT_EQ(authorized(kCh340), "1");
    umockdev_testbed_remove_device(bed_, ("/sys" + kFtdi.port()).c_str());
    EXPECT_EQ(devcon("find USB*"), listed);
    EXPECT_TRUE(devcon("enable '@" + kFtdiId + "'"));
    EXPECT_EQ(authorized(kFtdi), "1");
}

} // namespace
