#include "platform/win32/console.h"

#include <windows.h>

#include <atomic>
#include <iostream>

#include "platform/win32/utf16.h"

namespace {

// Set on the console's own thread, read by the waits.
std::atomic<bool> gInterrupted{false};

BOOL WINAPI onControl(DWORD) {
    gInterrupted = true;
    return TRUE;
}

} // namespace

namespace console {

// SetConsoleMode without ENABLE_ECHO_INPUT hides what is typed; ReadConsoleW reads it as
// UTF-16 whatever the code page.
std::optional<std::string> askHidden(const std::string& prompt) {
    const HANDLE in = GetStdHandle(STD_INPUT_HANDLE);
    DWORD mode = 0;
    if (in == INVALID_HANDLE_VALUE || GetConsoleMode(in, &mode) == 0) {
        return std::nullopt;
    }
    std::cerr << prompt << ' ' << std::flush;
    SetConsoleMode(in, mode & ~static_cast<DWORD>(ENABLE_ECHO_INPUT));
    std::wstring line;
    wchar_t ch = 0;
    DWORD read = 0;
    while (ReadConsoleW(in, &ch, 1, &read, nullptr) != 0 && read == 1 && ch != L'\n') {
        if (ch != L'\r') {
            line += ch;
        }
    }
    SetConsoleMode(in, mode);
    std::cerr << '\n';
    return win32::toUtf8(line);
}

void catchInterrupt() { SetConsoleCtrlHandler(onControl, TRUE); }

bool interrupted() { return gInterrupted; }

} // namespace console
