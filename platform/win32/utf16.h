#pragma once

#include <string>
#include <string_view>

namespace win32 {

// UTF-8 texts of the core to and from the UTF-16 of the wide Windows calls. An invalid
// sequence becomes U+FFFD rather than being dropped.
std::wstring toUtf16(std::string_view text);
std::string toUtf8(std::wstring_view text);

} // namespace win32
