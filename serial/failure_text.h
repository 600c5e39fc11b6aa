#pragma once

#include <cstdint>
#include <string>

#include "serial/serial_control.h"

// What the technician reads when the adapter is gone, instead of the driver's own words.
inline constexpr const char* kLostLinkText =
    "the link to the controller was lost: the USB adapter was unplugged or stopped answering. "
    "Reconnect it; Kelvara reconnects by itself.";

// A failure as the technician reads it: the port and the step that failed before the serial
// control's own description ("COM3: reopening the port: No such file or directory"), or before
// the lost link's words when the device is gone.
std::string failureText(int16_t port, const std::string& step, const SerialError& failure);

// Runs one use of the serial control; a failure is raised again with the port and the step.
template <typename Use> auto atStep(int16_t port, const std::string& step, Use use) {
    try {
        return use();
    } catch (const SerialError& e) {
        throw SerialError(e, failureText(port, step, e));
    }
}
