#pragma once

#include "serial/message_boxes.h"
#include "serial/trace.h"

// The message boxes, with every box and prompt shown also written to the trace, when there
// is one. The typed answer is not traced: it may be the calibration password.
class TracedMessageBoxes : public MessageBoxes {
public:
    explicit TracedMessageBoxes(MessageBoxes& shown) : shown_(shown) {}

    void setTrace(Trace* trace) { trace_ = trace; }

    int messageBox(const std::string& text, int flags, const std::string& title) override;
    std::string inputBox(const std::string& prompt, const std::string& title) override;

private:
    MessageBoxes& shown_;
    Trace* trace_ = nullptr;
};
