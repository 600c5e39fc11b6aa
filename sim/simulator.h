#pragma once

#include "sim/sim_options.h"

// Runs the simulator until a stop signal or the control line "quit"; returns the exit status.
int runSimulator(const SimOptions& options);
