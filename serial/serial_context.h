#pragma once

#include <string>

#include "serial/clock.h"
#include "serial/device_tree.h"
#include "serial/event_pump.h"
#include "serial/message_boxes.h"
#include "serial/module_state.h"
#include "serial/process_runner.h"
#include "serial/serial_control.h"
#include "serial/trace.h"

// The window module's state and the outside facilities the serial procedures work through.
struct SerialContext {
    ModuleState& m;
    SerialControl& MSComm5;
    Clock& clock;
    EventPump& pump;
    MessageBoxes& boxes;
    ProcessRunner& console;
    std::string consoleProgram; // the device console tool
    std::string workFolder;     // where the tool's listing "dev.ref" is written
    Trace* trace = nullptr;     // the technician's trace, when one was asked for
    // The built-in adapter reset's view of the devices, where the system has one.
    DeviceTree* deviceTree = nullptr;
};
