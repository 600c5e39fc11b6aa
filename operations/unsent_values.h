#pragma once

#include <optional>
#include <string>
#include <vector>

#include "operations/panel.h"

// What one write operation did not send, told in one warning when the operation ends (queued,
// not shown: a modal box inside another transaction's wait would make it time out). Nothing
// is told when everything went out, or when the window is closing.
class UnsentValues {
public:
    UnsentValues(Panel& p, std::string operation) : p_(p), operation_(std::move(operation)) {}
    ~UnsentValues();
    UnsentValues(const UnsentValues&) = delete;
    UnsentValues& operator=(const UnsentValues&) = delete;

    // A box that holds no number, or one with a decimal comma.
    void noNumber(const std::string& box);
    // A box whose value no generator should get: not finite, too large or too small for the
    // plain number text, or negative where only a positive value has a meaning.
    void outOfRange(const std::string& box);
    // The link was busy: cmd and, when moreFollow, every command after it were not sent.
    void refused(const std::string& cmd, bool moreFollow);

private:
    Panel& p_;
    std::string operation_;
    std::vector<std::string> boxes_;
    std::string refused_;
};
