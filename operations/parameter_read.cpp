#include "operations/parameter_read.h"

#include "operations/operation_warnings.h"
#include "operations/register_value.h"

std::optional<std::vector<bool>> readRegisters(Panel& p,
                                               std::span<const ParameterRegister> registers,
                                               const std::string& operation, UnreadBoxes unread) {
    std::vector<bool> read(registers.size(), false);
    std::vector<std::string> kept;
    for (std::size_t i = 0; i < registers.size(); ++i) {
        const ParameterRegister& reg = registers[i];
        const RegisterRead r = readRegister(p.link, p.m, reg);
        if (r.outcome == CommandOutcome::Closing) {
            return std::nullopt;
        }
        if (r.outcome == CommandOutcome::Refused) {
            // Another transaction is open: the next registers would only be refused as well.
            for (const ParameterRegister& rest : registers.subspan(i)) {
                kept.push_back(registerLabel(rest));
            }
            break;
        }
        if (!r.stored) {
            kept.push_back(registerLabel(reg));
            continue;
        }
        const std::string shown = formatDisplay(*r.stored / reg.scale, reg.pattern);
        p.w.setText(reg.box, shown);
        p.m.shownRegisters[reg.box] = {*r.stored, shown};
        read[i] = true;
    }
    if (kept.empty()) {
        return read;
    }
    if (unread == UnreadBoxes::Keep) {
        warnNotRead(p, operation, kept);
        return read;
    }
    for (std::size_t i = 0; i < registers.size(); ++i) {
        if (!read[i]) {
            p.w.setText(registers[i].box, "");
            p.m.shownRegisters.erase(registers[i].box);
        }
    }
    warnNeverRead(p, operation, kept);
    return read;
}

void Command1_Click(Panel& p) {
    if (p.m.i_comPort == 0) {
        return;
    }
    readRegisters(p, kParameterRegisters, "EEPROM READ");
}
