#pragma once

#include <string_view>

// What kelvara.exe --help shows in its message box: COM ports as Windows names them and the
// adapter reset on Windows. One line per paragraph: the box wraps the text to its own width.
extern const std::string_view kWindowsHelp;
