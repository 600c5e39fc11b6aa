#include "platform/linux/terminal.h"

#include <csignal>
#include <iostream>

#include <termios.h>
#include <unistd.h>

namespace {

volatile std::sig_atomic_t gInterrupted = 0;

extern "C" void onInterrupt(int) { gInterrupted = 1; }

} // namespace

namespace terminal {

std::optional<std::string> askHidden(const std::string& prompt) {
    termios before{};
    if (isatty(STDIN_FILENO) == 0 || tcgetattr(STDIN_FILENO, &before) != 0) {
        return std::nullopt;
    }
    std::cerr << prompt << ' ' << std::flush;
    termios hidden = before;
    hidden.c_lflag &= ~static_cast<tcflag_t>(ECHO);
    tcsetattr(STDIN_FILENO, TCSAFLUSH, &hidden);
    std::string answer;
    const bool read = static_cast<bool>(std::getline(std::cin, answer));
    tcsetattr(STDIN_FILENO, TCSAFLUSH, &before);
    std::cerr << '\n';
    if (!read) {
        return std::nullopt;
    }
    return answer;
}

void catchInterrupt() {
    struct sigaction action {};
    action.sa_handler = onInterrupt;
    sigemptyset(&action.sa_mask);
    sigaction(SIGINT, &action, nullptr);
    sigaction(SIGTERM, &action, nullptr);
}

bool interrupted() { return gInterrupted != 0; }

} // namespace terminal
