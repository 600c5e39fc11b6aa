#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "operations/parameter_registers.h"

// The parameter file: the values the controller stores, one "NAME = VALUE" line per register
// under the format line, so that what is saved goes back exactly.
inline constexpr std::string_view kParameterFileFormat = "kelvara-parameters 1";

// A line of a file that is not exactly right: its number (1-based; for a register the file
// lacks, the line after its last) and what is wrong with it.
struct FileProblem {
    int line;
    std::string what;
    bool operator==(const FileProblem&) const = default;
};

// A file read for the registers given: their stored values in that order, or, when anything
// is wrong, none and every problem found.
struct ParameterFileRead {
    std::vector<int32_t> stored;
    std::vector<FileProblem> problems;
};

// UTF-8 text, with or without a byte-order mark, LF or CR LF line ends; blank lines and lines
// that begin with "#" are comments. Every register given exactly once, no other.
ParameterFileRead readParameterFile(std::string_view text,
                                    std::span<const ParameterRegister> registers);

// The text of a file: the format line, the comments given (each as a "# " line), then per
// register a comment with the value in the window's units and its "NAME = VALUE" line.
std::string writeParameterFile(std::span<const ParameterRegister> registers,
                               std::span<const int32_t> stored,
                               const std::vector<std::string>& comments);

// What a register read from the controller is in a file: a whole number in its range, or
// nothing (a fraction, a value out of range), which a file cannot hold.
std::optional<int32_t> fileValue(const ParameterRegister& reg, double stored);
