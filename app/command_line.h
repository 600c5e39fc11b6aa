#pragma once

#include <cstdint>
#include <optional>
#include <string>

// What the command line asks of the program.
struct CommandLine {
    // Set when the command line has been answered (--help, --version, a bad option): the
    // program ends with this status before any window opens.
    std::optional<int> exitStatus;
    // Diagnostics: the trace of every transaction, the monitoring record, the chosen port
    // (0: the scan).
    std::string tracePath;
    std::string recordPath;
    int16_t port = 0;
};

// Reads main's arguments; prints the help, the version or the error. Needs no application
// object, so that --help and --version work without a display.
CommandLine parseCommandLine(int argc, char* argv[]);
