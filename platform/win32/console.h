#pragma once

#include <optional>
#include <string>

// The console of kelvara-cli.exe.
namespace console {

// Asks prompt on stderr and reads a line from the console with the echo off; nothing when
// stdin is no console.
std::optional<std::string> askHidden(const std::string& prompt);

// From now on Ctrl+C, Ctrl+Break and closing the console only set the flag interrupted() reads.
void catchInterrupt();
bool interrupted();

} // namespace console
