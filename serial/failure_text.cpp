#include "serial/failure_text.h"

std::string failureText(int16_t port, const std::string& step, const SerialError& failure) {
    return "COM" + std::to_string(port) + ": " + step + ": " +
           (failure.deviceGone() ? std::string(kLostLinkText) : failure.cause());
}
