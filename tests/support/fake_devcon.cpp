// The device console as tests see it: kelvara-fake-devcon on Linux, devcon.exe beside the
// Windows tests. Its adapters are simulated USB serial adapters, all matching any pattern: on
// Linux one for every running simulator, where disable and enable reach the simulator over its
// control channel; on Windows one for each of COM1, COM3, COM12 and COM13. Disabled adapters are
// kept in fake-devcon.state and every run is appended to fake-devcon.log, all in the work folder
// (on Windows the tool's own folder). The find listing comes late: a caller that does not wait for
// the tool reads nothing.
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

std::string adapterId(int com) { return "USB\\VID_1A86&PID_7523\\SIM" + std::to_string(com); }

#ifdef _WIN32
const std::string kFolder = win32::applicationFolder();

std::vector<int> adapters() { return {1, 3, 12, 13}; }

std::string stateKey(int com) { return adapterId(com); }

bool switchAdapter(int, const std::string&) { return true; }
#else
const std::string kFolder = portlinks::workFolder();

std::vector<int> adapters() { return simfiles::liveSimulators(); }

// With the simulator's pid: one started anew on the same port comes up enabled.
std::string stateKey(int com) {
    return adapterId(com) + " " + std::to_string(simfiles::readPid(simfiles::pidFilePath(com)));
}

bool switchAdapter(int com, const std::string& verb) {
    std::string answer;
    if (!simControl(com, verb, answer)) {
        std::fprintf(stderr, "kelvara-fake-devcon: COM%d: %s\n", com, answer.c_str());
        return false;
    }
    return true;
}
#endif

} // namespace

int main(int argc, char** argv) {
    const std::vector<std::string> args(argv + 1, argv + argc);
#ifndef _WIN32
    if (!portlinks::ensureTrustedFolder(kFolder)) {
        std::fprintf(stderr, "kelvara-fake-devcon: unsafe work folder %s\n", kFolder.c_str());
        return 1;
    }
#endif
    std::ofstream log(kFolder + "/fake-devcon.log", std::ios::app);
    for (const auto& arg : args) {
        log << (&arg == &args.front() ? "" : " ") << arg;
    }
    log << std::endl;
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
        const auto found = adapters();
        for (const int com : found) {
            std::printf("%s%s Simulated USB serial adapter (COM%d)\n", adapterId(com).c_str(),
                        verb == "find" ? ":" : "\n    Name:", com);
            if (verb == "status") {
                std::puts(disabled.count(stateKey(com)) != 0 ? "    Device is disabled."
                                                             : "    Driver is running.");
            }
        }
        std::printf("%zu matching device(s) found.\n", found.size());
        return 0;
    }
    for (const int com : adapters()) {
        if ("@" + adapterId(com) == args[1]) {
            if (!switchAdapter(com, verb)) {
                return 1;
            }
            verb == "enable" ? (void)disabled.erase(stateKey(com))
                             : (void)disabled.insert(stateKey(com));
            std::ofstream out(kFolder + "/fake-devcon.state", std::ios::trunc);
            for (const auto& k : disabled) {
                out << k << '\n';
            }
            std::puts((adapterId(com) + (verb == "enable" ? ": Enabled\n1 device(s) enabled."
                                                          : ": Disabled\n1 device(s) disabled."))
                          .c_str());
            return 0;
        }
    }
    std::fprintf(stderr, "kelvara-fake-devcon: no device %s\n", args[1].c_str());
    return 1;
}
