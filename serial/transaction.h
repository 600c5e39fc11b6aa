#pragma once

#include <string>

#include "serial/command_outcome.h"
#include "serial/serial_context.h"

inline constexpr const char* kNoiseMessage =
    "The abnormality by the noise occurred.\r\rPlease reboot.";

// Sends cmd + CR LF and collects the reply into sRecvBuf: resends on time-out, then closes
// the port, resets the USB adapter and reopens the port, and only then gives up with a
// message. A call while another transaction is open returns Refused without sending.
CommandOutcome Rs232cCommand(SerialContext& c, const std::string& cmd);
