#pragma once

#include <string>
#include <string_view>

// Bytes as one line of printable ASCII: printable ASCII stays, "\" becomes "\\", CR, LF and
// TAB become "\r", "\n" and "\t", every other byte (NUL, other control characters, bytes
// above 0x7E) becomes "\xHH".
std::string escapedText(std::string_view bytes);
