#pragma once

#include <cstdint>
#include <optional>
#include <ostream>
#include <span>
#include <string>
#include <vector>

#include "cli/cli_options.h"
#include "operations/parameter_registers.h"
#include "serial/command_link.h"
#include "serial/module_state.h"

// "params save|diff|restore" on an open link: what they print on out (results) and err
// (problems, one line each), and the exit status.
struct ParamsContext {
    ModuleState& m;
    CommandLink& link;
    std::ostream& out;
    std::ostream& err;
    std::vector<ParameterRegister> registers; // the twelve, with the calibration's two or not
};

// The registers a params command takes.
std::vector<ParameterRegister> paramsRegisters(bool calibration);

// Reads the board and writes FILE whole, or leaves it as it was.
CliExit paramsSave(ParamsContext& c, const std::string& path,
                   const std::vector<std::string>& comments);
// The values of FILE for c.registers, read before anything is sent; nothing when it cannot be
// read or is not exactly right (every problem told on err, by its line).
std::optional<std::vector<int32_t>> readParamsFile(ParamsContext& c, const std::string& path);

// The board against the values of the file at path.
CliExit paramsDiff(ParamsContext& c, const std::string& path, const std::vector<int32_t>& file);
CliExit paramsRestore(ParamsContext& c, const std::string& path, const std::vector<int32_t>& file,
                      bool dryRun);
