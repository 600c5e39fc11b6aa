#include "serial/traced_message_boxes.h"

int TracedMessageBoxes::messageBox(const std::string& text, int flags, const std::string& title) {
    if (trace_ != nullptr) {
        trace_->event("message box \"" + text + "\"");
    }
    return shown_.messageBox(text, flags, title);
}

std::string TracedMessageBoxes::inputBox(const std::string& prompt, const std::string& title) {
    if (trace_ != nullptr) {
        trace_->event("input box \"" + prompt + "\"");
    }
    return shown_.inputBox(prompt, title);
}
