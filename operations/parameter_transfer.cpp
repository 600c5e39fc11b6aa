#include "operations/parameter_transfer.h"

#include "common/number_text.h"
#include "operations/parameter_file.h"
#include "operations/register_value.h"

BoardRead readBoard(CommandLink& link, const ModuleState& m,
                    std::span<const ParameterRegister> registers) {
    BoardRead board;
    for (const ParameterRegister& reg : registers) {
        const RegisterRead r = readRegister(link, m, reg);
        board.outcome = r.outcome;
        if (r.outcome != CommandOutcome::Complete) {
            board.problem = std::string(reg.name) + " could not be read";
            return board;
        }
        if (!r.stored) {
            board.problem = std::string(reg.name) + " could not be read: its reply holds no number";
            return board;
        }
        const auto value = fileValue(reg, *r.stored);
        if (!value) {
            board.problem = std::string(reg.name) + " holds " + plainNumberText(*r.stored) +
                            ", which is no whole number from " + std::to_string(reg.range.lowest) +
                            " to " + std::to_string(reg.range.highest);
            return board;
        }
        board.stored.push_back(*value);
    }
    return board;
}

Restore restoreBoard(CommandLink& link, const ModuleState& m,
                     std::span<const ParameterRegister> registers, std::span<const int32_t> board,
                     std::span<const int32_t> wanted, bool dryRun) {
    Restore restore;
    for (std::size_t i = 0; i < registers.size(); ++i) {
        const bool same = board[i] == wanted[i];
        restore.registers.push_back({&registers[i], board[i], wanted[i],
                                     same ? RestoreFate::Same : RestoreFate::NotWritten,
                                     std::nullopt});
    }
    if (dryRun) {
        return restore;
    }
    for (RestoredRegister& r : restore.registers) {
        if (r.fate == RestoreFate::Same) {
            continue;
        }
        const CommandOutcome outcome =
            link.Rs232cCommand(r.reg->writePrefix + plainNumberText(r.wanted));
        if (outcome != CommandOutcome::Complete) {
            restore.stoppedBy = outcome;
            return restore;
        }
        r.fate = RestoreFate::Unverified;
    }
    for (RestoredRegister& r : restore.registers) {
        if (r.fate != RestoreFate::Unverified) {
            continue;
        }
        const RegisterRead read = readRegister(link, m, *r.reg);
        if (read.outcome == CommandOutcome::Closing) {
            break;
        }
        r.readBack = read.stored;
        if (read.stored) {
            r.fate = *read.stored == r.wanted ? RestoreFate::Verified : RestoreFate::Differs;
        }
    }
    return restore;
}
