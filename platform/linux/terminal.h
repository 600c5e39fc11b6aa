#pragma once

#include <optional>
#include <string>

// The terminal of a command-line program on Linux.
namespace terminal {

// Asks prompt on stderr and reads a line from stdin with the echo off; nothing when stdin is
// no terminal.
std::optional<std::string> askHidden(const std::string& prompt);

// From now on SIGINT (Ctrl+C) and SIGTERM only set the flag that interrupted() reads.
void catchInterrupt();
bool interrupted();

} // namespace terminal
