#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "operations/parameter_registers.h"
#include "serial/command_link.h"
#include "serial/module_state.h"

// The registers of a board as a parameter file holds them: read, compared, and put back.

// A read of every register given: their stored values in order, or where it stopped.
struct BoardRead {
    std::vector<int32_t> stored;
    CommandOutcome outcome = CommandOutcome::Complete; // of the transaction that ended the read
    std::string problem; // empty when every register was read and fits a file
};

BoardRead readBoard(CommandLink& link, const ModuleState& m,
                    std::span<const ParameterRegister> registers);

// What a restore did to one register.
enum class RestoreFate {
    Same,       // the board already held the file's value: not written
    Verified,   // written, and read back as the file's value
    Differs,    // written, but read back as another value (readBack)
    Unverified, // written, but the read-back had no reply
    NotWritten, // not written: the restore stopped before it, or at it
};

struct RestoredRegister {
    const ParameterRegister* reg;
    int32_t board;  // what the board held before
    int32_t wanted; // the file's value
    RestoreFate fate;
    std::optional<double> readBack;
};

struct Restore {
    std::vector<RestoredRegister> registers;
    // How the write that stopped the restore ended; Complete when every write went out.
    CommandOutcome stoppedBy = CommandOutcome::Complete;
};

// Writes the registers whose board value differs from wanted, in their order, with the
// window's write commands, then reads each written one back. A write that does not complete
// stops the restore: it and every later register count as not written. dryRun writes nothing.
Restore restoreBoard(CommandLink& link, const ModuleState& m,
                     std::span<const ParameterRegister> registers, std::span<const int32_t> board,
                     std::span<const int32_t> wanted, bool dryRun);
