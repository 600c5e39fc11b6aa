#include "operations/parameter_read.h"

#include "common/leading_number.h"
#include "operations/operation_warnings.h"

std::optional<std::vector<bool>> readRegisters(Panel& p,
                                               std::span<const ParameterRegister> registers,
                                               const std::string& operation) {
    std::vector<bool> read(registers.size(), false);
    std::vector<std::string> kept;
    for (std::size_t i = 0; i < registers.size(); ++i) {
        const ParameterRegister& reg = registers[i];
        const CommandOutcome outcome = p.link.Rs232cCommand(reg.readCommand);
        if (outcome == CommandOutcome::Closing)
            return std::nullopt;
        if (outcome == CommandOutcome::Refused) {
            // Another transaction is open: the next registers would only be refused as well.
            for (const ParameterRegister& rest : registers.subspan(i))
                kept.push_back(registerLabel(rest));
            break;
        }
        if (outcome == CommandOutcome::Failed) {
            kept.push_back(registerLabel(reg));
            continue;
        }
        // The value follows the echoed "R".
        const double value = leadingNumber(p.m.sRecvBuf, 2) / reg.scale;
        p.w.setText(reg.box, formatDisplay(value, reg.pattern));
        read[i] = true;
    }
    if (!kept.empty())
        warnNotRead(p, operation, kept);
    return read;
}

void Command1_Click(Panel& p) {
    if (p.m.i_comPort == 0)
        return;
    readRegisters(p, kParameterRegisters, "EEPROM READ");
}
