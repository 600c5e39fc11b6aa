#pragma once

#include <string>

#include "platform/win32/win32_counter.h"
#include "platform/win32/win32_event_pump.h"
#include "platform/win32/win32_process_runner.h"
#include "platform/win32/win32_serial_control.h"
#include "serial/serial_context.h"
#include "tests/support/fake_serial.h"

// The window module's serial side over the real Win32 layers, with the window's reply time-out
// and no resends; the message boxes are recorded and answered OK.
struct Win32Rig {
    explicit Win32Rig(std::string folder, std::string consoleProgram)
        : console(folder),
          c{m, port, clock, pump, boxes, console, std::move(consoleProgram), std::move(folder)} {
        pump.watch(port.receiveEvent());
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
