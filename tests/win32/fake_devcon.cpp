// A stand-in for the device console in the tests: the devices come from "devcon.devices"
// beside it (one "<instance id>|<name>" a line), the ids it disabled are kept in
// "devcon.state", and every run appends its arguments to "devcon.log". The find listing is
// written late, so that a caller that does not wait reads nothing.

#include <windows.h>

#include <algorithm>
#include <fstream>
#include <iostream>
#include <set>
#include <string>
#include <vector>

#include "platform/win32/work_folder.h"

namespace {

struct Device {
    std::string id;
    std::string name;
};

const std::string kFolder = win32::applicationFolder() + "\\";

std::vector<Device> devices() {
    std::vector<Device> found;
    std::ifstream in(kFolder + "devcon.devices");
    std::string line;
    while (std::getline(in, line)) {
        const auto bar = line.find('|');
        if (bar != std::string::npos) {
            found.push_back({line.substr(0, bar), line.substr(bar + 1)});
        }
    }
    return found;
}

std::set<std::string> disabledIds() {
    std::set<std::string> ids;
    std::ifstream in(kFolder + "devcon.state");
    std::string id;
    while (std::getline(in, id)) {
        ids.insert(id);
    }
    return ids;
}

void saveDisabled(const std::set<std::string>& ids) {
    std::ofstream out(kFolder + "devcon.state", std::ios::trunc);
    for (const auto& id : ids) {
        out << id << "\n";
    }
}

} // namespace

int main(int argc, char** argv) {
    const std::vector<std::string> args(argv + 1, argv + argc);
    {
        std::ofstream log(kFolder + "devcon.log", std::ios::app);
        for (std::size_t i = 0; i < args.size(); ++i) {
            log << (i == 0 ? "" : " ") << args[i];
        }
        log << "\n";
    }
    if (args.empty()) {
        return 1;
    }
    const std::string& verb = args[0];
    auto disabled = disabledIds();
    if (verb == "find") {
        Sleep(300);
        for (const auto& d : devices()) {
            std::cout << d.id << ": " << d.name << "\n";
        }
        return 0;
    }
    if (verb == "status") {
        for (const auto& d : devices()) {
            std::cout << d.id << "\n    Name: " << d.name << "\n"
                      << (disabled.count(d.id) ? "    Device is disabled.\n"
                                               : "    Driver is running.\n");
        }
        return 0;
    }
    if ((verb == "disable" || verb == "enable") && args.size() == 2 && args[1][0] == '@') {
        const std::string id = args[1].substr(1);
        if (verb == "disable") {
            disabled.insert(id);
        } else {
            disabled.erase(id);
        }
        saveDisabled(disabled);
        return 0;
    }
    return 1;
}
