#pragma once

#include <cstdint>
#include <string>

#include "serial/serial_control.h"

// A failure as the technician reads it: the port and the step that failed before the serial
// control's own description ("COM3: reopening the port: No such file or directory").
std::string failureText(int16_t port, const std::string& step, const std::string& description);

// Runs one use of the serial control; a failure is raised again with the port and the step.
template <typename Use> auto atStep(int16_t port, const std::string& step, Use use) {
    try {
        return use();
    } catch (const SerialError& e) {
        throw SerialError(e.number(), failureText(port, step, e.what()));
    }
}
