#include "operations/parameter_read.h"

#include <cmath>

#include "common/leading_number.h"
#include "operations/operation_warnings.h"

std::optional<std::vector<bool>> readRegisters(Panel& p,
                                               std::span<const ParameterRegister> registers,
                                               const std::string& operation, UnreadBoxes unread) {
    std::vector<bool> read(registers.size(), false);
    std::vector<std::string> kept;
    for (std::size_t i = 0; i < registers.size(); ++i) {
        const ParameterRegister& reg = registers[i];
        const CommandOutcome outcome = p.link.Rs232cCommand(reg.readCommand);
        if (outcome == CommandOutcome::Closing) {
            return std::nullopt;
        }
        if (outcome == CommandOutcome::Refused) {
            // Another transaction is open: the next registers would only be refused as well.
            for (const ParameterRegister& rest : registers.subspan(i)) {
                kept.push_back(registerLabel(rest));
            }
            break;
        }
        if (outcome == CommandOutcome::Failed) {
            kept.push_back(registerLabel(reg));
            continue;
        }
        // The value follows the echoed "R"; a reply without one was not read either.
        const auto field = leadingNumberField(p.m.sRecvBuf, 2);
        if (!field || !std::isfinite(*field)) {
            kept.push_back(registerLabel(reg));
            continue;
        }
        p.w.setText(reg.box, formatDisplay(*field / reg.scale, reg.pattern));
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
