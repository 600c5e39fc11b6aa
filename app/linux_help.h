#pragma once

#include <string_view>

// What kelvara --help prints on a Linux terminal: COM names as the port-link folder and the
// device table give them, wrapped for a terminal.
extern const std::string_view kLinuxHelp;
