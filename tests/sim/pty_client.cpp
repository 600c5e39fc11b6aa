#include "tests/sim/pty_client.h"

#include <fcntl.h>
#include <poll.h>
#include <termios.h>
#include <unistd.h>

namespace {

using Clock = std::chrono::steady_clock;

int millisecondsLeft(Clock::time_point deadline) {
    const auto left = std::chrono::ceil<std::chrono::milliseconds>(deadline - Clock::now());
    return left.count() > 0 ? static_cast<int>(left.count()) : 0;
}

} // namespace

PtyClient::~PtyClient() { close(); }

bool PtyClient::open(const std::string& path) {
    close();
    fd_ = ::open(path.c_str(), O_RDWR | O_NOCTTY | O_CLOEXEC);
    termios settings{};
    if (fd_ < 0 || tcgetattr(fd_, &settings) != 0)
        return false;
    cfmakeraw(&settings);
    return tcsetattr(fd_, TCSANOW, &settings) == 0;
}

void PtyClient::close() {
    if (fd_ >= 0)
        ::close(fd_);
    fd_ = -1;
}

bool PtyClient::send(std::string_view bytes) {
    while (!bytes.empty()) {
        const ssize_t n = write(fd_, bytes.data(), bytes.size());
        if (n <= 0)
            return false;
        bytes.remove_prefix(static_cast<std::size_t>(n));
    }
    return true;
}

std::string PtyClient::command(std::string_view line) {
    if (!send(std::string(line) + "\r\n"))
        return "(send failed)";
    std::string reply;
    for (const auto& piece : readPieces())
        reply += piece;
    return reply;
}

std::vector<std::string> PtyClient::readPieces(Duration limit) {
    const auto deadline = Clock::now() + limit;
    std::vector<std::string> pieces;
    while (pieces.empty() || pieces.back().find(';') == std::string::npos) {
        pollfd p{fd_, POLLIN, 0};
        if (poll(&p, 1, millisecondsLeft(deadline)) <= 0)
            break;
        // Byte by byte, so nothing after the ";" is taken from the next reply.
        std::string piece;
        char c = 0;
        while (piece.find(';') == std::string::npos && read(fd_, &c, 1) == 1) {
            piece += c;
            pollfd next{fd_, POLLIN, 0};
            if (poll(&next, 1, static_cast<int>(pieceQuiet.count())) <= 0)
                break;
        }
        pieces.push_back(piece);
    }
    return pieces;
}

std::string PtyClient::readFor(Duration window) {
    const auto deadline = Clock::now() + window;
    std::string text;
    pollfd p{fd_, POLLIN, 0};
    while (poll(&p, 1, millisecondsLeft(deadline)) > 0) {
        char buffer[4096];
        const ssize_t n = read(fd_, buffer, sizeof buffer);
        if (n <= 0)
            break;
        text.append(buffer, static_cast<std::size_t>(n));
    }
    return text;
}
