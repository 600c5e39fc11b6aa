#pragma once

#include <optional>

// What the command line asks of the program.
struct CommandLine {
    // Set when the command line has been answered (--help, --version, a bad option): the
    // program ends with this status before any window opens.
    std::optional<int> exitStatus;
};

// Reads main's arguments; prints the help, the version or the error. Needs no application
// object, so that --help and --version work without a display.
CommandLine parseCommandLine(int argc, char* argv[]);
