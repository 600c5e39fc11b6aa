#pragma once

#include "session/session.h"

// The tests' one way behind the window's controls: to set short time-outs, to read what a
// transaction received, to drive the link directly.
struct SessionAccess {
    static SerialContext& serial(Session& s) { return s.serial_; }
    static ModuleState& state(Session& s) { return s.m_; }
};
