// The device console as tests see it: kelvara-fake-devcon on Linux, devcon.exe beside the
// Windows tests. It prints what devcon.exe prints: find lists each instance id left-justified in
// 60 columns before ": " and the description, status the id, "    Name: ..." and the state line,
// both closing with "N matching device(s) found."; disable and enable "<id>: Disabled" and
// "1 device(s) disabled.", or "No devices were disabled, ..." with exit status 2 for an id it
// does not have or when the file fake-devcon.denied stands in the work folder (a technician
// without administrator rights). Every line ends with CR LF. Its adapters are simulated USB
// serial adapters, all matching any pattern, behind a root hub that carries no port: on Linux
// one for every running simulator, where disable and enable reach the simulator over its control
// channel; on Windows one for each of COM1, COM3, COM12 and COM13. Disabled adapters are kept in
// fake-devcon.state and every run is appended to fake-devcon.log, all in the work folder (on
// Windows the tool's own folder). The find listing comes late: a caller that does not wait for
// the tool reads nothing.
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <set>
#include <string>
#include <thread>
#include <vector>

#ifdef _WIN32
#include <fcntl.h>
#include <io.h>

#include "platform/win32/work_folder.h"
#else
#include "platform/linux/port_link_folder.h"
#include "sim/sim_control.h"
#include "sim/sim_files.h"
#endif

namespace {

std::string adapterId(int com) { return "USB\\VID_1A86&PID_7523\\SIM" + std::to_string(com); }

const char* const kRootHub = "USB\\ROOT_HUB30\\4&1A2B3C4D&0&0";

// One line of the listing, ended as devcon.exe ends it.
void line(const std::string& text) { std::printf("%s\r\n", text.c_str()); }

std::string padded(const std::string& id) {
    char text[256];
    std::snprintf(text, sizeof text, "%-60s", id.c_str());
    return text;
}

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
#ifdef _WIN32
    // Line ends exactly as written: CR LF, not CR CR LF.
    _setmode(_fileno(stdout), _O_BINARY);
#else
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
        std::fprintf(stderr, "usage: devcon find|status PATTERN | disable|enable @ID\n");
        return 3;
    }
    std::set<std::string> disabled;
    std::string key;
    for (std::ifstream state(kFolder + "/fake-devcon.state"); std::getline(state, key);) {
        disabled.insert(key);
    }
    if (verb == "find" || verb == "status") {
        if (verb == "find") {
            std::this_thread::sleep_for(std::chrono::milliseconds(300));
            line(padded(kRootHub) + ": USB Root Hub (USB 3.0)");
        } else {
            line(kRootHub);
            line("    Name: USB Root Hub (USB 3.0)");
            line("    Driver is running.");
        }
        const auto found = adapters();
        for (const int com : found) {
            const std::string name = "USB-SERIAL CH340 (COM" + std::to_string(com) + ")";
            if (verb == "find") {
                line(padded(adapterId(com)) + ": " + name);
            } else {
                line(adapterId(com));
                line("    Name: " + name);
                line(disabled.count(stateKey(com)) != 0 ? "    Device is disabled."
                                                        : "    Driver is running.");
            }
        }
        line(std::to_string(found.size() + 1) + " matching device(s) found.");
        return 0;
    }
    const bool enable = verb == "enable";
    const bool denied = std::filesystem::exists(kFolder + "/fake-devcon.denied");
    for (const int com : adapters()) {
        if ("@" + adapterId(com) == args[1] && !denied) {
            if (!switchAdapter(com, verb)) {
                return 1;
            }
            enable ? (void)disabled.erase(stateKey(com)) : (void)disabled.insert(stateKey(com));
            std::ofstream out(kFolder + "/fake-devcon.state", std::ios::trunc);
            for (const auto& k : disabled) {
                out << k << '\n';
            }
            line(adapterId(com) + (enable ? ": Enabled" : ": Disabled"));
            line(enable ? "1 device(s) enabled." : "1 device(s) disabled.");
            return 0;
        }
    }
    line(enable ? "No devices were enabled, either because the devices were not found, or "
                  "because the devices could not be enabled."
                : "No devices were disabled, either because the devices were not found, or "
                  "because the devices could not be disabled.");
    return 2;
}
