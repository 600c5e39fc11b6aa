#include "usb_testbed.h"

#include <cstdlib>
#include <cstring>
#include <fstream>
#include <sstream>
#include <stdexcept>

#include <umockdev.h>

namespace {

const std::string kBus = "/devices/pci0000:00/0000:00:14.0/usb1/";

std::string devicePath(const FakeAdapter& a) { return kBus + a.busPath; }

std::string interfacePath(const FakeAdapter& a, std::size_t port) {
    return devicePath(a) + "/" + a.busPath + ":1." + std::to_string(port);
}

std::string ttyPath(const FakeAdapter& a, std::size_t port) {
    return interfacePath(a, port) + "/tty/" + a.ttys[port];
}

std::string usbDeviceDescription(const FakeAdapter& a, const char* authorized) {
    std::ostringstream d;
    d << "P: " << devicePath(a) << "\nE: SUBSYSTEM=usb\nE: DEVTYPE=usb_device\n"
      << "E: ID_MODEL=" << a.product << "\nA: idVendor=" << a.vendorId
      << "\nA: idProduct=" << a.productId << "\nA: product=" << a.product
      << "\nA: authorized=" << authorized << "\n";
    if (!a.serial.empty()) {
        d << "A: serial=" << a.serial << "\n";
    }
    return d.str();
}

} // namespace

UsbTestbed::UsbTestbed() {
    const char* preload = std::getenv("LD_PRELOAD");
    if (!preload || !std::strstr(preload, "libumockdev-preload")) {
        throw std::runtime_error("run the test under umockdev-wrapper");
    }
    bed_ = umockdev_testbed_new();
    gchar* root = umockdev_testbed_get_root_dir(bed_);
    root_ = root;
    g_free(root);
}

UsbTestbed::~UsbTestbed() { g_object_unref(bed_); }

void UsbTestbed::add(const std::string& description) {
    GError* error = nullptr;
    if (!umockdev_testbed_add_from_string(bed_, description.c_str(), &error)) {
        const std::string why = error->message;
        g_error_free(error);
        throw std::runtime_error("testbed: " + why);
    }
}

void UsbTestbed::plugIn(const FakeAdapter& adapter) {
    add(usbDeviceDescription(adapter, "1"));
    addPorts(adapter);
}

void UsbTestbed::plugInDeauthorised(const FakeAdapter& adapter) {
    add(usbDeviceDescription(adapter, "0"));
}

void UsbTestbed::addPorts(const FakeAdapter& adapter) {
    for (std::size_t port = 0; port < adapter.ttys.size(); ++port) {
        // The node is a plain file: nothing in the tree is a real terminal.
        add("P: " + interfacePath(adapter, port) +
            "\nE: SUBSYSTEM=usb\nE: DEVTYPE=usb_interface\nE: DRIVER=ftdi_sio\n\n"
            "P: " +
            ttyPath(adapter, port) + "\nN: " + adapter.ttys[port] +
            "=00\nE: SUBSYSTEM=tty\nE: DEVNAME=/dev/" + adapter.ttys[port] + "\n");
    }
}

void UsbTestbed::dropPorts(const FakeAdapter& adapter) {
    for (std::size_t port = 0; port < adapter.ttys.size(); ++port) {
        umockdev_testbed_remove_device(bed_, ("/sys" + ttyPath(adapter, port)).c_str());
        umockdev_testbed_remove_device(bed_, ("/sys" + interfacePath(adapter, port)).c_str());
    }
}

void UsbTestbed::deauthorise(const FakeAdapter& adapter) {
    umockdev_testbed_set_attribute(bed_, ("/sys" + devicePath(adapter)).c_str(), "authorized", "0");
    dropPorts(adapter);
}

std::string UsbTestbed::authorized(const FakeAdapter& adapter) const {
    std::ifstream in(authorizedFile(adapter));
    std::string value;
    std::getline(in, value);
    return value;
}

std::string UsbTestbed::authorizedFile(const FakeAdapter& adapter) const {
    return root_ + "/sys" + devicePath(adapter) + "/authorized";
}

std::string UsbTestbed::devFile(const std::string& name) const { return root_ + "/dev/" + name; }
