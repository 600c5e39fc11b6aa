#pragma once

#include <windows.h>

// CPU time of this process so far, kernel and user, in milliseconds.
inline double processCpuMs() {
    FILETIME created;
    FILETIME exited;
    FILETIME kernel;
    FILETIME user;
    GetProcessTimes(GetCurrentProcess(), &created, &exited, &kernel, &user);
    const auto ms = [](FILETIME t) {
        return static_cast<double>(ULARGE_INTEGER{{t.dwLowDateTime, t.dwHighDateTime}}.QuadPart) /
               1e4;
    };
    return ms(kernel) + ms(user);
}
