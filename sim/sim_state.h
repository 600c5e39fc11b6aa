#pragma once

#include "sim/controller.h"
#include "sim/line_faults.h"

#include <random>

// Everything the options and the control channel can change while the simulator runs.
struct SimState {
    explicit SimState(std::mt19937::result_type seed) : random(seed), controller(random) {}
    SimState(const SimState&) = delete;
    SimState& operator=(const SimState&) = delete;

    std::mt19937 random;
    Controller controller;
    LineFaults faults;
    bool pacing = true;
    bool quit = false;
};
