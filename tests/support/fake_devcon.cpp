// The device console as tests see it: kelvara-fake-devcon on Linux, devcon.exe beside the
// Windows tests. On Linux every running simulator is a simulated USB serial adapter and disable
// and enable reach it over its control channel; on Windows the adapters are the lines
// "<instance id>|<name>" of fake-devcon.devices. Disabled adapters are kept in
// fake-devcon.state and every run is appended to fake-devcon.log, all in the work folder (on
// Windows the tool's own folder). The find listing comes late: a caller that does not wait
// for the tool reads nothing.
#include <cctype>
#include <chrono>
#include <cstdio>
#include <fstream>
#include <set>
#include <string>
#include <thread>
#include <vector>

#ifdef _WIN32
#include "platform/win32/work_folder.h"
#else
#include "platform/linux/port_link_folder.h"
#include "sim/sim_control.h"
#include "sim/sim_files.h"
#endif

namespace {

// key names the adapter in the state; on Linux with its simulator's pid, so that a simulator
// started anew on the same port comes up enabled.
struct Device {
    std::string id;
    std::string name;
    std::string key;
    int com = 0;
};

#ifdef _WIN32
const std::string kFolder = win32::applicationFolder();

std::vector<Device> devices() {
    std::vector<Device> found;
    std::ifstream in(kFolder + "/fake-devcon.devices");
    for (std::string line; std::getline(in, line);) {
        if (const auto bar = line.find('|'); bar != std::string::npos) {
            found.push_back({line.substr(0, bar), line.substr(bar + 1), line.substr(0, bar)});
        }
    }
    return found;
}

bool switchDevice(const Device&, const std::string&) { return true; }
#else
const std::string kFolder = portlinks::workFolder();

std::vector<Device> devices() {
    std::vector<Device> found;
    for (const int com : simfiles::liveSimulators()) {
        const std::string id = "USB\\VID_1A86&PID_7523\\SIM" + std::to_string(com);
        const pid_t pid = simfiles::readPid(simfiles::pidFilePath(com));
        found.push_back({id, "Simulated USB serial adapter (COM" + std::to_string(com) + ")",
                         id + " " + std::to_string(pid), com});
    }
    return found;
}

bool switchDevice(const Device& device, const std::string& verb) {
    std::string answer;
    if (!simControl(device.com, verb, answer)) {
        std::fprintf(stderr, "kelvara-fake-devcon: COM%d: %s\n", device.com, answer.c_str());
        return false;
    }
    return true;
}
#endif

// Without regard to case; "*" stands for any run of characters.
bool matches(const char* pattern, const char* text) {
    if (*pattern == '*') {
        return matches(pattern + 1, text) || (*text != '\0' && matches(pattern, text + 1));
    }
    return *pattern == '\0' ? *text == '\0'
                            : std::toupper(static_cast<unsigned char>(*pattern)) ==
                                      std::toupper(static_cast<unsigned char>(*text)) &&
                                  matches(pattern + 1, text + 1);
}

} // namespace

int main(int argc, char** argv) {
    const std::vector<std::string> args(argv + 1, argv + argc);
#ifndef _WIN32
    if (!portlinks::ensureTrustedFolder(kFolder)) {
        std::fprintf(stderr, "kelvara-fake-devcon: unsafe work folder %s\n", kFolder.c_str());
        return 1;
    }
#endif
    std::string line;
    for (const auto& arg : args) {
        line += (line.empty() ? "" : " ") + arg;
    }
    std::ofstream(kFolder + "/fake-devcon.log", std::ios::app) << line << '\n';
    const std::string verb = args.size() == 2 ? args[0] : "";
    if (verb != "find" && verb != "status" && verb != "disable" && verb != "enable") {
        std::fprintf(stderr,
                     "usage: kelvara-fake-devcon find|status PATTERN | disable|enable @ID\n");
        return 2;
    }
    std::set<std::string> disabled;
    std::string key;
    for (std::ifstream state(kFolder + "/fake-devcon.state"); std::getline(state, key);) {
        disabled.insert(key);
    }
    if (verb == "find" || verb == "status") {
        if (verb == "find") {
            std::this_thread::sleep_for(std::chrono::milliseconds(300));
        }
        std::size_t count = 0;
        for (const auto& d : devices()) {
            if (matches(args[1].c_str(), d.id.c_str())) {
                ++count;
                const std::string state =
                    disabled.count(d.key) != 0 ? "Device is disabled." : "Driver is running.";
                std::puts((verb == "find" ? d.id + ": " + d.name
                                          : d.id + "\n    Name: " + d.name + "\n    " + state)
                              .c_str());
            }
        }
        std::printf("%zu matching device(s) found.\n", count);
        return 0;
    }
    const std::string id = args[1].substr(args[1].starts_with("@") ? 1 : 0);
    for (const auto& d : devices()) {
        if (matches(id.c_str(), d.id.c_str())) {
            if (!switchDevice(d, verb)) {
                return 1;
            }
            if (verb == "enable") {
                disabled.erase(d.key);
            } else {
                disabled.insert(d.key);
            }
            std::ofstream out(kFolder + "/fake-devcon.state", std::ios::trunc);
            for (const auto& k : disabled) {
                out << k << '\n';
            }
            std::puts((d.id + (verb == "enable" ? ": Enabled\n1 device(s) are enabled."
                                                : ": Disabled\n1 device(s) disabled."))
                          .c_str());
            return 0;
        }
    }
    std::fprintf(stderr, "kelvara-fake-devcon: no device %s\n", args[1].c_str());
    return 1;
}
