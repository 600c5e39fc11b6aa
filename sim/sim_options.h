#pragma once

#include "sim/sim_state.h"

#include <array>
#include <optional>
#include <string>
#include <variant>
#include <vector>

struct SimOptions {
    int port = 3;
    int filamentCount = 512;
    std::array<std::optional<int>, 3> fixedCounts; // filament, kV, mA
    int noise = 1;
    std::array<bool, Controller::flagCount> flags{};
    bool pacing = true;
    bool outOfRange = false;
    LineFaults faults;
    std::optional<std::string> controlLine; // send it to the running simulator instead
    bool help = false;
};

// The options after the program name; an error text for the usage line otherwise.
std::variant<SimOptions, std::string> parseSimOptions(const std::vector<std::string>& args);

// Puts the options' settings into a fresh simulator state.
void configure(SimState& state, const SimOptions& options);

std::string helpText();
