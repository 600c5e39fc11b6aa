#pragma once

#include <string>
#include <vector>

#include "operations/panel.h"
#include "operations/parameter_registers.h"

// Warnings of the panel operations. They are queued, not shown: a modal box inside another
// transaction's wait would make that transaction time out. showPendingWarnings shows them
// once the link is idle.

// "KV_MAX (Text3)": how a warning names a register's box.
std::string registerLabel(const ParameterRegister& reg);

// A read that left these boxes with their earlier text.
void warnNotRead(Panel& p, const std::string& operation, const std::vector<std::string>& boxes);

// A write that stopped at cmd because the link was busy; moreFollow: commands were still to
// come after it, and none of them was sent either.
void warnNotSent(Panel& p, const std::string& operation, const std::string& cmd, bool moreFollow);

// A start-up read that could not read these boxes, whose design texts were emptied.
void warnNeverRead(Panel& p, const std::string& operation, const std::vector<std::string>& boxes);

// A box that holds no number, or one with a decimal comma: not sent.
void warnNoNumber(Panel& p, const std::string& operation, const std::string& box);

// A box whose number, scaled for its command, lies beyond the range of numbers: not sent.
void warnOutOfRange(Panel& p, const std::string& operation, const std::string& box);
