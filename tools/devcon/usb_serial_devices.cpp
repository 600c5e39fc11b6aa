#include "tools/devcon/usb_serial_devices.h"

#include <cerrno>
#include <charconv>
#include <cstdio>
#include <map>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include <libudev.h>

namespace {

using Udev = std::unique_ptr<udev, decltype(&udev_unref)>;
using UdevEnumerate = std::unique_ptr<udev_enumerate, decltype(&udev_enumerate_unref)>;
using UdevDevice = std::unique_ptr<udev_device, decltype(&udev_device_unref)>;

std::string text(const char* value) { return value ? std::string(value) : std::string(); }

// The listing is cut at ":" and read line by line: neither may come from a device's strings.
std::string listable(std::string value) {
    for (char& c : value) {
        if (c == ':' || static_cast<unsigned char>(c) < 0x20 || c == 0x7f) {
            c = '_';
        }
    }
    return value;
}

std::string hexId(const char* attribute) {
    const std::string value = text(attribute);
    unsigned number = 0;
    std::from_chars(value.data(), value.data() + value.size(), number, 16);
    char digits[16];
    std::snprintf(digits, sizeof digits, "%04X", number & 0xffffU);
    return digits;
}

std::string instanceId(udev_device* usb) {
    std::string serial = text(udev_device_get_sysattr_value(usb, "serial"));
    if (serial.empty()) {
        serial = text(udev_device_get_sysname(usb));
    }
    return listable("USB\\VID_" + hexId(udev_device_get_sysattr_value(usb, "idVendor")) + "&PID_" +
                    hexId(udev_device_get_sysattr_value(usb, "idProduct")) + "\\" + serial);
}

std::string product(udev_device* usb) {
    std::string name = text(udev_device_get_sysattr_value(usb, "product"));
    if (name.empty()) {
        name = text(udev_device_get_property_value(usb, "ID_MODEL"));
    }
    return listable(name.empty() ? "USB serial device" : name);
}

std::string comNameText(const std::set<int>& numbers) {
    if (numbers.empty()) {
        return "(no COM name)";
    }
    std::string names;
    for (const int n : numbers) {
        names += (names.empty() ? "(COM" : ", COM") + std::to_string(n);
    }
    return names + ")";
}

struct Found {
    std::string id;
    std::string product;
    std::set<int> comNumbers;
    bool disabled = false;
};

template <typename Visit> void forEachDevice(udev* u, udev_enumerate* e, Visit visit) {
    udev_enumerate_scan_devices(e);
    udev_list_entry* entry = nullptr;
    udev_list_entry_foreach(entry, udev_enumerate_get_list_entry(e)) {
        const UdevDevice device(udev_device_new_from_syspath(u, udev_list_entry_get_name(entry)),
                                &udev_device_unref);
        if (device) {
            visit(device.get());
        }
    }
}

} // namespace

std::vector<UsbSerialDevice> listUsbSerialDevices(const ComNameTable& comNames,
                                                  const RememberedNames& remembered) {
    const Udev u(udev_new(), &udev_unref);
    if (!u) {
        return {};
    }
    std::map<std::string, Found> bySyspath;

    const UdevEnumerate ttys(udev_enumerate_new(u.get()), &udev_enumerate_unref);
    udev_enumerate_add_match_subsystem(ttys.get(), "tty");
    forEachDevice(u.get(), ttys.get(), [&](udev_device* tty) {
        const char* devnode = udev_device_get_devnode(tty);
        udev_device* usb = udev_device_get_parent_with_subsystem_devtype(tty, "usb", "usb_device");
        if (!devnode || !usb) {
            return;
        }
        auto [at, added] = bySyspath.try_emplace(udev_device_get_syspath(usb));
        if (added) {
            at->second.id = instanceId(usb);
            at->second.product = product(usb);
        }
        if (const int n = comNames.comNumberOf(devnode); n != 0) {
            at->second.comNumbers.insert(n);
        }
    });

    const UdevEnumerate deauthorised(udev_enumerate_new(u.get()), &udev_enumerate_unref);
    udev_enumerate_add_match_subsystem(deauthorised.get(), "usb");
    udev_enumerate_add_match_property(deauthorised.get(), "DEVTYPE", "usb_device");
    udev_enumerate_add_match_sysattr(deauthorised.get(), "authorized", "0");
    forEachDevice(u.get(), deauthorised.get(), [&](udev_device* usb) {
        Found& found = bySyspath[udev_device_get_syspath(usb)];
        found.id = instanceId(usb);
        found.product = product(usb);
        found.disabled = true;
    });

    std::vector<UsbSerialDevice> devices;
    for (const auto& [syspath, found] : bySyspath) {
        std::string name = found.product + " " + comNameText(found.comNumbers);
        if (const auto kept = remembered.find(found.id);
            found.disabled && kept != remembered.end()) {
            name = kept->second;
        }
        devices.push_back({found.id, name, syspath, found.disabled});
    }
    return devices;
}

int setAuthorized(const std::string& syspath, bool authorized) {
    const Udev u(udev_new(), &udev_unref);
    if (!u) {
        return -ENOMEM;
    }
    const UdevDevice usb(udev_device_new_from_syspath(u.get(), syspath.c_str()),
                         &udev_device_unref);
    if (!usb) {
        return -ENODEV;
    }
    return udev_device_set_sysattr_value(usb.get(), "authorized", authorized ? "1" : "0");
}
