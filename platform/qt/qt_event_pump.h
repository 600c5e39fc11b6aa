#pragma once

#include <QTimer>

#include "serial/event_pump.h"

// One pass of a wait: runs pending events, or sleeps in the event loop until a byte, an
// input event, a timer or the pass's deadline arrives. A precise single-shot timer bounds the
// sleep (a coarse one may fire up to 5 % early).
class QtEventPump : public EventPump {
public:
    QtEventPump();
    void processEvents(int64_t maxWaitMs) override;

private:
    QTimer deadline_;
};
