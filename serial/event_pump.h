#pragma once

#include <cstdint>

// "Process pending window events" from inside a wait. One call is one pass of a wait loop:
// it runs what is pending and, when nothing is, sleeps until an event (a received byte, an
// input event, a timer) arrives or maxWaitMs milliseconds have passed.
class EventPump {
public:
    virtual ~EventPump() = default;
    virtual void processEvents(int64_t maxWaitMs) = 0;
};
