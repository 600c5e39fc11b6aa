// kelvara-devcon: lists, disables and enables USB serial adapters, in the shape of the
// Windows device console's listings that the USB recovery reads.

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <iomanip>
#include <iostream>
#include <string>
#include <utility>
#include <vector>

#include <fnmatch.h>

#include "platform/linux/com_name_table.h"
#include "platform/linux/port_link_folder.h"
#include "tools/devcon/remembered_names.h"
#include "tools/devcon/usb_serial_devices.h"

namespace {

constexpr int kFailed = 1;
constexpr int kUsageError = 2;
// The find listing pads each id to this width before ": ", as the Windows device console does.
constexpr int kIdColumns = 60;

constexpr const char* kUsage = "usage: kelvara-devcon find USB*\n"
                               "       kelvara-devcon status USB*\n"
                               "       kelvara-devcon disable @<instance id>\n"
                               "       kelvara-devcon enable @<instance id>\n";

int fail(const std::string& why, int code = kFailed) {
    std::cerr << "kelvara-devcon: " << why << "\n";
    return code;
}

std::vector<UsbSerialDevice> devices(const RememberedNames& remembered) {
    return listUsbSerialDevices(
        ComNameTable(portlinks::portLinkFolder(), ComNameTable::Scope::Full), remembered);
}

std::vector<UsbSerialDevice> matching(const std::string& pattern) {
    std::vector<UsbSerialDevice> found;
    for (auto& device : devices(loadRememberedNames(portlinks::workFolder()))) {
        if (fnmatch(pattern.c_str(), device.id.c_str(), FNM_NOESCAPE) == 0) {
            found.push_back(std::move(device));
        }
    }
    return found;
}

int find(const std::string& pattern) {
    const auto found = matching(pattern);
    for (const auto& device : found) {
        std::cout << std::left << std::setw(kIdColumns) << device.id << ": " << device.name << "\n";
    }
    std::cout << found.size() << " matching device(s) found.\n";
    return 0;
}

int status(const std::string& pattern) {
    const auto found = matching(pattern);
    for (const auto& device : found) {
        std::cout << device.id << "\n"
                  << "    Name: " << device.name << "\n"
                  << (device.disabled ? "    Device is disabled.\n" : "    Driver is running.\n");
    }
    std::cout << found.size() << " matching device(s) found.\n";
    return 0;
}

int switchDevice(const std::string& argument, bool enable) {
    if (argument.size() < 2 || argument.front() != '@') {
        return fail("expected @<instance id>, got \"" + argument + "\" (try --help)", kUsageError);
    }
    const std::string id = argument.substr(1);
    const std::string folder = portlinks::workFolder();
    RememberedNames remembered = loadRememberedNames(folder);
    const auto all = devices(remembered);
    const auto device =
        std::find_if(all.begin(), all.end(), [&](const auto& d) { return d.id == id; });
    if (device == all.end()) {
        return fail("no USB serial device " + id);
    }
    if (const int error = setAuthorized(device->syspath, enable); error < 0) {
        const bool denied = error == -EACCES || error == -EPERM;
        return fail("cannot write " + device->syspath + "/authorized: " + std::strerror(-error) +
                    (denied ? " (install 99-kelvara-usb-serial.rules and join the dialout group, "
                              "see the README)"
                            : ""));
    }
    // The COM name goes with the tty: keep the name the device had while it had one.
    bool changed = false;
    if (enable) {
        changed = remembered.erase(id) > 0;
    } else if (!device->disabled) {
        remembered[id] = device->name;
        changed = true;
    }
    if (changed && !saveRememberedNames(folder, remembered)) {
        fail("cannot keep the name of " + id + " in " + folder);
    }
    std::cout << id << (enable ? ": Enabled\n" : ": Disabled\n")
              << (enable ? "1 device(s) enabled.\n" : "1 device(s) disabled.\n");
    return 0;
}

} // namespace

int main(int argc, char** argv) {
    const std::vector<std::string> args(argv + 1, argv + argc);
    if (args.size() == 1 && args[0] == "--help") {
        std::cout << kUsage;
        return 0;
    }
    if (args.empty()) {
        return fail("no command given (try --help)", kUsageError);
    }
    const std::string& verb = args[0];
    if (verb != "find" && verb != "status" && verb != "disable" && verb != "enable") {
        return fail("unknown command \"" + verb + "\" (try --help)", kUsageError);
    }
    if (args.size() != 2) {
        return fail(verb + " takes one argument (try --help)", kUsageError);
    }
    if (verb == "find") {
        return find(args[1]);
    }
    if (verb == "status") {
        return status(args[1]);
    }
    return switchDevice(args[1], verb == "enable");
}
