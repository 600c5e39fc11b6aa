#include "tests/support/fake_serial.h"

#include <fstream>

std::optional<int> FakeConsole::run(const std::string& program,
                                    const std::vector<std::string>& args,
                                    const std::string& stdoutFile) {
    lastProgram = program;
    if (!startable) {
        return std::nullopt;
    }
    runs.push_back({counter_.now, args});
    if (onRun) {
        onRun(args);
    }
    if (stdoutFile.empty()) {
        return 0;
    }
    std::ofstream out(stdoutFile, std::ios::binary | std::ios::trunc);
    if (!args.empty() && args[0] == "find") {
        out << findListing;
    } else if (!args.empty() && args[0] == "status" && !statusListings.empty()) {
        out << statusListings[std::min(statusRuns_++, statusListings.size() - 1)];
    }
    return 0;
}
