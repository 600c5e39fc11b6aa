#pragma once

#include <cstdint>
#include <functional>

#include "serial/event_pump.h"

// The waits of a command line: the platform's pump, with each pass short enough that Ctrl+C
// (interrupted()) is seen at once; then onInterrupt runs, once, and ends every wait the way
// closing the window does.
class InterruptiblePump : public EventPump {
public:
    InterruptiblePump(EventPump& inner, std::function<bool()> interrupted)
        : inner_(inner), interrupted_(std::move(interrupted)) {}

    void processEvents(int64_t maxWaitMs) override;

    std::function<void()> onInterrupt = [] {};

private:
    EventPump& inner_;
    std::function<bool()> interrupted_;
    bool fired_ = false;
};
