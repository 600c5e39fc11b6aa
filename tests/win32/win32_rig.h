#pragma once

#include <string>
#include <vector>

#include "platform/win32/win32_counter.h"
#include "platform/win32/win32_event_pump.h"
#include "platform/win32/win32_process_runner.h"
#include "platform/win32/win32_serial_control.h"
#include "serial/serial_context.h"

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

// Message boxes that record what the program would show and answer OK.
class RecordingBoxes : public MessageBoxes {
public:
    int messageBox(const std::string& text, int, const std::string&) override {
        shown.push_back(text);
        return mb::kIdOk;
    }
    std::string inputBox(const std::string&, const std::string&) override { return {}; }

    std::vector<std::string> shown;
};

// The window module's serial side over the real Win32 layers.
struct Win32Rig {
    explicit Win32Rig(std::string folder, std::string consoleProgram = "devcon")
        : console(folder),
          c{m, port, clock, pump, boxes, console, std::move(consoleProgram), std::move(folder)} {
        pump.watch(port.receiveEvent());
        m.iUsbRetryCount = 1;
        m.iUsbRecoveryTime = 3000;
        m.iComRetryCount = 2;
        m.iComRecoveryTime = 3000;
    }

    Win32MillisecondCounter counter;
    Clock clock{counter};
    Win32EventPump pump;
    Win32SerialControl port;
    RecordingBoxes boxes;
    Win32ProcessRunner console;
    ModuleState m;
    SerialContext c;
};
