#pragma once

#include "sim/sim_state.h"

#include <string>
#include <string_view>

// One line of the control channel, e.g. "counts 512 853 -" or "silent on", applied to the
// running simulator. Answers "ok", or "error: " and the reason.
std::string applyControl(SimState& state, std::string_view line);
