#pragma once

#include "operations/window.h"
#include "serial/command_link.h"
#include "serial/message_boxes.h"
#include "serial/module_state.h"

// What every panel operation works with: the module state, the link, the window's controls
// and the message boxes.
struct Panel {
    ModuleState& m;
    CommandLink& link;
    Window& w;
    MessageBoxes& boxes;
};
