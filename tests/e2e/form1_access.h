#pragma once

#include "app/form1_session.h"

// The tests' one way behind the window's controls: to set short time-outs, to read what a
// transaction received, to drive the link directly.
struct Form1Access {
    static SerialContext& serial(Form1& form) { return form.session_->serial; }
    static ModuleState& state(Form1& form) { return form.session_->m; }
};
