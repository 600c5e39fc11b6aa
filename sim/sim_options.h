#pragma once

#include "sim/sim_state.h"

#include <optional>
#include <string>
#include <variant>
#include <vector>

struct SimOptions {
    int port = 3;
    // The settings as control lines, checked, in the order given: "--late 300" is "late 300".
    std::vector<std::string> settings;
    std::optional<std::string> controlLine; // send it to the running simulator instead
    bool help = false;
};

// The options after the program name; an error text for the usage line otherwise.
std::variant<SimOptions, std::string> parseSimOptions(const std::vector<std::string>& args);

// Puts the options' settings into a fresh simulator state.
void configure(SimState& state, const SimOptions& options);

std::string helpText();
