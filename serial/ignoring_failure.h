#pragma once

#include "serial/serial_control.h"

// Runs one step of the serial control and goes on whatever it raised: for the paths built to
// tolerate failures (the scan, closing on the way out of an error).
template <typename Step> void ignoringFailure(Step step) {
    try {
        step();
    } catch (const SerialError&) {
    }
}
