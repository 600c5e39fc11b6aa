#include "operations/register_value.h"

#include <cmath>

#include "common/leading_number.h"

RegisterRead readRegister(CommandLink& link, const ModuleState& m, const ParameterRegister& reg) {
    const CommandOutcome outcome = link.Rs232cCommand(reg.readCommand);
    if (outcome != CommandOutcome::Complete) {
        return {outcome, std::nullopt};
    }
    // The value follows the echoed "R"; a reply without one was not read.
    const auto field = leadingNumberField(m.sRecvBuf, 2);
    if (!field || !std::isfinite(*field)) {
        return {outcome, std::nullopt};
    }
    return {outcome, field};
}

std::optional<double> boxRegisterValue(const ModuleState& m, const ParameterRegister& reg,
                                       const std::string& text) {
    if (const auto shown = m.shownRegisters.find(reg.box);
        shown != m.shownRegisters.end() && shown->second.text == text) {
        return shown->second.stored;
    }
    // Not rounded: a fraction finer than the register's unit goes out as it is.
    const auto number = boxNumber(text);
    if (!number) {
        return std::nullopt;
    }
    return *number * reg.scale;
}
