#pragma once

#include "sim/sim_state.h"

#include <functional>
#include <optional>
#include <string_view>
#include <vector>

// What the options and the control channel set, in one table: "--late 300" at the start and
// the control line "late 300" later run the same setting with the same range checks.
struct Setting {
    using Words = std::vector<std::string_view>;

    std::string_view name;   // the control line's first word
    std::string_view option; // its command-line option; empty for control lines only
    // The argument an option given without a value stands for ("--silent": "on").
    std::string_view implied;
    std::size_t arguments;
    std::string_view usage;
    // False when an argument is not valid; words[0] is the name.
    std::function<bool(SimState&, const Words&)> apply;
};

const std::vector<Setting>& simSettings();

// A whole number from min to max and nothing else; nullopt otherwise.
std::optional<long> parseInteger(std::string_view text, long min, long max);
