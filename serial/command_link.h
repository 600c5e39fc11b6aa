#pragma once

#include <cstdint>
#include <string>

#include "serial/command_outcome.h"

// What the panel operations use of the serial link.
class CommandLink {
public:
    virtual ~CommandLink() = default;
    // Sends cmd + CR LF and collects the reply into sRecvBuf.
    virtual CommandOutcome Rs232cCommand(const std::string& cmd) = 0;
    // Waits more than mS milliseconds while serving window events. False when the window
    // was unloaded during the wait.
    virtual bool waitmSec(int32_t mS) = 0;
};
