#include "tests/support/fake_serial.h"

#include <fstream>

std::optional<int> FakeConsole::run(const std::string&, const std::vector<std::string>& args,
                                    const std::string& stdoutFile) {
    if (!startable) {
        return std::nullopt;
    }
    std::string line;
    for (const auto& a : args) {
        line += (line.empty() ? "" : " ") + a;
    }
    runs.push_back(line);
    if (onRun) {
        onRun(line);
    }
    std::ofstream out(stdoutFile, std::ios::binary | std::ios::trunc);
    if (args[0] == "find") {
        out << findListing;
    } else if (args[0] == "status" && !statusListings.empty()) {
        out << statusListings[std::min(statusRuns_++, statusListings.size() - 1)];
    }
    return 0;
}
