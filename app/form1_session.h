#pragma once

#include "app/Form1.h"
#include "common/local_timestamp.h"
#include "operations/field_diagnostics.h"
#include "operations/lifecycle.h"
#include "operations/panel.h"
#include "platform/linux/com_name_table.h"
#include "platform/linux/steady_counter.h"
#include "platform/qt/qt_event_pump.h"
#include "platform/qt/qt_serial_control.h"
#include "serial/clock.h"
#include "serial/module_state.h"
#include "serial/serial_context.h"
#include "serial/serial_link.h"
#include "serial/traced_message_boxes.h"

// Everything the window owns behind its controls for the whole run: the module state, the
// serial control and the facilities the procedures work through.
struct Form1Session {
    Form1Session(Form1Seams s, Window& window)
        : seams(std::move(s)), MSComm5(ComNameTable(seams.portLinkFolder,
                                                    seams.linksOnly ? ComNameTable::Scope::LinksOnly
                                                                    : ComNameTable::Scope::Full)),
          serial{m,
                 MSComm5,
                 clock,
                 pump,
                 messages,
                 seams.console,
                 seams.consoleProgram,
                 seams.workFolder},
          panel{m, link, window, messages} {}

    Form1Seams seams;
    TracedMessageBoxes messages{seams.boxes};
    ModuleState m;
    SteadyMillisecondCounter counter;
    Clock clock{counter};
    QtEventPump pump;
    QtSerialControl MSComm5;
    SerialContext serial;
    SerialLink link{serial};
    Panel panel;
    PortChoice portChoice = PortChoice::Scan;
    FieldDiagnostics diagnostics{serial, messages, localTimestamp};
};
