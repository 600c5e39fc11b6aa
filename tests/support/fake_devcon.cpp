// kelvara-fake-devcon: the device console as tests see it. Every running simulator is a
// simulated USB serial adapter; disable and enable reach the simulator over its control
// channel, and every run is logged to fake-devcon.log in the work folder.
#include "platform/linux/port_link_folder.h"
#include "sim/sim_control.h"
#include "sim/sim_files.h"

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <fstream>
#include <map>
#include <string>
#include <vector>

#include <fnmatch.h>

namespace {

const std::string kIdPrefix = "USB\\VID_1A86&PID_7523\\SIM";

std::string deviceId(int com) { return kIdPrefix + std::to_string(com); }

std::string deviceName(int com) {
    return "Simulated USB serial adapter (COM" + std::to_string(com) + ")";
}

std::string upper(std::string text) {
    std::transform(text.begin(), text.end(), text.begin(),
                   [](unsigned char c) { return static_cast<char>(std::toupper(c)); });
    return text;
}

bool matches(const std::string& pattern, const std::string& id) {
    return fnmatch(upper(pattern).c_str(), upper(id).c_str(), FNM_NOESCAPE) == 0;
}

// Disabled adapters: COM number -> pid of the simulator that was disabled. A simulator started
// anew on the same number comes up enabled.
class DisabledState {
public:
    DisabledState() : path_(portlinks::workFolder() + "/fake-devcon.state") {
        std::ifstream in(path_);
        int com = 0;
        pid_t pid = 0;
        while (in >> com >> pid) {
            disabled_[com] = pid;
        }
    }

    bool isDisabled(int com) const {
        const auto it = disabled_.find(com);
        return it != disabled_.end() && it->second == simfiles::readPid(simfiles::pidFilePath(com));
    }

    void set(int com, bool disabled) {
        if (disabled) {
            disabled_[com] = simfiles::readPid(simfiles::pidFilePath(com));
        } else {
            disabled_.erase(com);
        }
        std::ofstream out(path_, std::ios::trunc);
        for (const auto& [n, pid] : disabled_) {
            out << n << ' ' << pid << '\n';
        }
    }

private:
    std::string path_;
    std::map<int, pid_t> disabled_;
};

void logRun(const std::vector<std::string>& args) {
    std::ofstream log(portlinks::workFolder() + "/fake-devcon.log", std::ios::app);
    std::string line;
    for (const auto& arg : args) {
        line += (line.empty() ? "" : " ") + arg;
    }
    log << line << '\n';
}

std::vector<int> matchingDevices(const std::string& pattern) {
    std::vector<int> found;
    for (const int com : simfiles::liveSimulators()) {
        if (matches(pattern, deviceId(com))) {
            found.push_back(com);
        }
    }
    return found;
}

void printSummary(std::size_t count) {
    if (count == 0) {
        std::printf("No matching devices found.\n");
    } else {
        std::printf("%zu matching device(s) found.\n", count);
    }
}

int find(const std::string& pattern) {
    const auto devices = matchingDevices(pattern);
    for (const int com : devices) {
        std::printf("%s: %s\n", deviceId(com).c_str(), deviceName(com).c_str());
    }
    printSummary(devices.size());
    return 0;
}

int status(const std::string& pattern) {
    const DisabledState state;
    const auto devices = matchingDevices(pattern);
    for (const int com : devices) {
        std::printf("%s\n    Name: %s\n", deviceId(com).c_str(), deviceName(com).c_str());
        std::printf(state.isDisabled(com) ? "    Device is disabled.\n"
                                          : "    Driver is running.\n");
    }
    printSummary(devices.size());
    return 0;
}

int setEnabled(const std::string& argument, bool enable) {
    const std::string id = argument.starts_with("@") ? argument.substr(1) : argument;
    const auto devices = simfiles::liveSimulators();
    const auto device = std::find_if(devices.begin(), devices.end(),
                                     [&](int com) { return upper(deviceId(com)) == upper(id); });
    if (device == devices.end()) {
        std::fprintf(stderr, "kelvara-fake-devcon: no device %s\n", argument.c_str());
        return 1;
    }
    std::string answer;
    if (!simControl(*device, enable ? "enable" : "disable", answer)) {
        std::fprintf(stderr, "kelvara-fake-devcon: COM%d: %s\n", *device, answer.c_str());
        return 1;
    }
    DisabledState().set(*device, !enable);
    std::printf("%s: %s\n", deviceId(*device).c_str(), enable ? "Enabled" : "Disabled");
    std::printf(enable ? "1 device(s) are enabled.\n" : "1 device(s) disabled.\n");
    return 0;
}

} // namespace

int main(int argc, char** argv) {
    const std::vector<std::string> args(argv + 1, argv + argc);
    if (!portlinks::ensureTrustedFolder(portlinks::workFolder())) {
        std::fprintf(stderr, "kelvara-fake-devcon: the work folder %s is not safe to use\n",
                     portlinks::workFolder().c_str());
        return 1;
    }
    logRun(args);
    if (args.size() == 2 && args[0] == "find") {
        return find(args[1]);
    }
    if (args.size() == 2 && args[0] == "status") {
        return status(args[1]);
    }
    if (args.size() == 2 && (args[0] == "disable" || args[0] == "enable")) {
        return setEnabled(args[1], args[0] == "enable");
    }
    std::fprintf(stderr, "usage: kelvara-fake-devcon find|status PATTERN | disable|enable @ID\n");
    return 2;
}
