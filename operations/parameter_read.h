#pragma once

#include <optional>
#include <span>
#include <string>
#include <vector>

#include "operations/panel.h"
#include "operations/parameter_registers.h"

// "EEPROM READ" of the parameter frame: registers 0 to 11 into their boxes.
void Command1_Click(Panel& p);

// What a read does with the boxes of registers it could not read.
enum class UnreadBoxes {
    Keep,  // they keep their earlier text, which was read before
    Empty, // they held design texts that no controller gave: emptied
};

// Reads the registers in their order into their boxes, for the read named operation. Only a
// completed transaction whose reply holds a number sets a box: otherwise no zero appears that
// a later write would store. When registers were left unread, one warning names them.
// Gives per register whether it was read; nothing when the window is closing.
std::optional<std::vector<bool>> readRegisters(Panel& p,
                                               std::span<const ParameterRegister> registers,
                                               const std::string& operation,
                                               UnreadBoxes unread = UnreadBoxes::Keep);
