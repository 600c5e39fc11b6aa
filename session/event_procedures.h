#pragma once

#include <string>

#include "operations/control_names.h"
#include "operations/panel.h"

// The event procedure a control or menu entry runs, with its name ("Command1_Click").
struct EventProcedure {
    std::string name;
    void (*run)(Panel&) = nullptr;
};

// No procedure (run empty) for a control the table misses, and for "End", which ends the
// session itself.
EventProcedure clickProcedure(ButtonName button);
EventProcedure menuProcedure(MenuName entry);
