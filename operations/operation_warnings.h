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

// A start-up read that could not read these boxes, whose design texts were emptied.
void warnNeverRead(Panel& p, const std::string& operation, const std::vector<std::string>& boxes);
