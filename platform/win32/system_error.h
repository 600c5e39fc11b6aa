#pragma once

#include <string>

namespace win32 {

// The system's own description of a Win32 error code, in UTF-8, without the line end.
// Never empty: a code the system has no text for is named by its number.
std::string systemDescription(unsigned long code);

} // namespace win32
