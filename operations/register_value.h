#pragma once

#include <optional>
#include <string>

#include "operations/parameter_registers.h"
#include "serial/command_link.h"
#include "serial/module_state.h"

// One register read: how the transaction ended and, when it completed with a number after
// the echoed letter, the value the controller stores.
struct RegisterRead {
    CommandOutcome outcome;
    std::optional<double> stored;
};

RegisterRead readRegister(CommandLink& link, const ModuleState& m, const ParameterRegister& reg);

// The stored value that a register's box holding text sends: the value a read showed there,
// unchanged, while the box still shows exactly what the read put there (the display pattern
// rounds, so scaling the text back would change the board); otherwise the box's number times
// the register's scale. Nothing when the box holds no number.
std::optional<double> boxRegisterValue(const ModuleState& m, const ParameterRegister& reg,
                                       const std::string& text);
