#pragma once

#include <functional>
#include <optional>
#include <ostream>
#include <string>

#include "serial/message_boxes.h"

// Asks for a password on the terminal without echoing it; nothing when no terminal is there.
using PasswordPrompt = std::function<std::optional<std::string>(const std::string& prompt)>;

// The message and input boxes of a command line: a box is a line on stderr in the system's
// own words (its CR line breaks as blanks); nothing is asked unless a terminal is there.
class ConsoleBoxes : public MessageBoxes {
public:
    ConsoleBoxes(std::ostream& err, PasswordPrompt askPassword)
        : err_(err), askPassword_(std::move(askPassword)) {}

    // Answers OK: a command line has no one to cancel.
    int messageBox(const std::string& text, int flags, const std::string& title) override;
    // The password typed on the terminal; the empty text without one.
    std::string inputBox(const std::string& prompt, const std::string& title) override;

    // Whether the last input box found a terminal to ask on.
    bool terminalAnswered() const { return terminalAnswered_; }

private:
    std::ostream& err_;
    PasswordPrompt askPassword_;
    bool terminalAnswered_ = false;
};
