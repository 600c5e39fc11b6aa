#pragma once

#include <string>

// Sends one line to the control channel of the simulator running as COM<comNumber> and waits
// for its answer. True when the simulator answered "ok".
bool simControl(int comNumber, const std::string& line);

// The same, handing back the simulator's answer (or why there was none).
bool simControl(int comNumber, const std::string& line, std::string& answer);
