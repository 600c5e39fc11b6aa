#include "serial/failure_text.h"

std::string failureText(int16_t port, const std::string& step, const std::string& description) {
    return "COM" + std::to_string(port) + ": " + step + ": " + description;
}
