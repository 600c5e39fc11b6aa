#pragma once

#include <optional>
#include <span>
#include <string>
#include <vector>

#include "operations/panel.h"
#include "operations/parameter_registers.h"

// "EEPROM READ" of the parameter frame: registers 0 to 11 into their boxes.
void Command1_Click(Panel& p);

// Reads the registers in their order into their boxes, for the read named operation. Only a
// completed transaction sets a box: a failed one keeps the earlier text, so no zero appears
// that a later write would store. When registers were left unread, one warning names them.
// Gives per register whether it was read; nothing when the window is closing.
std::optional<std::vector<bool>>
readRegisters(Panel& p, std::span<const ParameterRegister> registers, const std::string& operation);
