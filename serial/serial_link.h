#pragma once

#include "serial/command_link.h"
#include "serial/serial_context.h"
#include "serial/transaction.h"
#include "serial/wait.h"

// The panel operations' view of the serial link.
class SerialLink : public CommandLink {
public:
    explicit SerialLink(SerialContext& c) : c_(c) {}
    CommandOutcome Rs232cCommand(const std::string& cmd) override {
        return ::Rs232cCommand(c_, cmd);
    }
    bool waitmSec(int32_t mS) override { return ::waitmSec(c_, mS); }

private:
    SerialContext& c_;
};
