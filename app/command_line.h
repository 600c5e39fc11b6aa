#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// What the command line asks of the program.
struct CommandLine {
    // Set when the command line has been answered (--help, --version, a bad option): the
    // program shows answer and ends with this status before any window opens.
    std::optional<int> exitStatus;
    std::string answer;
    // Diagnostics: the trace of every transaction, the monitoring record, the chosen port
    // (0: the scan). Paths in UTF-8.
    std::string tracePath;
    std::string recordPath;
    int16_t port = 0;
};

// Reads the program's arguments, the program name not among them; --help answers with
// helpText, each system's own. Shared by both windows, so it needs no application object:
// --help and --version work without a display.
CommandLine parseCommandLine(const std::vector<std::string>& arguments, std::string_view helpText);

// Before start-up: the diagnostics and the port the command line asks for, on either window.
template <typename Form> void applyCommandLine(const CommandLine& options, Form& form) {
    if (!options.tracePath.empty()) {
        form.traceTo(options.tracePath);
    }
    if (!options.recordPath.empty()) {
        form.recordTo(options.recordPath);
    }
    if (options.port != 0) {
        form.choosePort(options.port);
    }
}
