#include "platform/win32/system_error.h"

#include <windows.h>

#include "platform/win32/utf16.h"

namespace win32 {

std::string systemDescription(unsigned long code) {
    wchar_t* buffer = nullptr;
    const DWORD length = FormatMessageW(
        FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
        nullptr, code, 0, reinterpret_cast<wchar_t*>(&buffer), 0, nullptr);
    std::wstring text(buffer, length);
    LocalFree(buffer);
    while (!text.empty() && (text.back() == L'\r' || text.back() == L'\n' || text.back() == L' ')) {
        text.pop_back();
    }
    if (code == ERROR_SUCCESS || text.empty()) {
        return "system error " + std::to_string(code);
    }
    return toUtf8(text);
}

} // namespace win32
