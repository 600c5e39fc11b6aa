#include "serial/reply_completion.h"

std::optional<std::size_t> completedReplyStart(const std::string& received,
                                               const std::string& cmd) {
    if (cmd.empty()) {
        if (received.find(';') == std::string::npos) {
            return std::nullopt;
        }
        return 0;
    }
    const char letter = cmd.front();
    const auto first = received.find(letter);
    if (first == std::string::npos) {
        return std::nullopt;
    }
    const auto end = received.find(';', first);
    if (end == std::string::npos) {
        return std::nullopt;
    }
    return received.rfind(letter, end);
}
