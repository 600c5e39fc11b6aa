#include "sim/sim_control.h"

#include "sim/sim_files.h"

#include <cerrno>
#include <cstring>

#include <sys/socket.h>
#include <sys/time.h>
#include <sys/un.h>
#include <unistd.h>

namespace {

constexpr int kAnswerTimeoutSeconds = 5;

class Socket {
public:
    Socket() : fd_(socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0)) {}
    Socket(const Socket&) = delete;
    Socket& operator=(const Socket&) = delete;
    ~Socket() {
        if (fd_ >= 0) {
            close(fd_);
        }
    }
    int fd() const { return fd_; }

private:
    int fd_;
};

bool sendAll(int fd, const std::string& text) {
    std::size_t sent = 0;
    while (sent < text.size()) {
        const ssize_t n = send(fd, text.data() + sent, text.size() - sent, MSG_NOSIGNAL);
        if (n < 0 && errno != EINTR) {
            return false;
        }
        if (n > 0) {
            sent += static_cast<std::size_t>(n);
        }
    }
    return true;
}

} // namespace

bool simControl(int comNumber, const std::string& line) {
    std::string answer;
    return simControl(comNumber, line, answer);
}

bool simControl(int comNumber, const std::string& line, std::string& answer) {
    const std::string path = simfiles::controlPath(comNumber);
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    if (path.size() >= sizeof address.sun_path || line.find('\n') != std::string::npos) {
        answer = "not a usable control line or socket path";
        return false;
    }
    std::memcpy(address.sun_path, path.c_str(), path.size() + 1);
    Socket socket;
    const timeval timeout{kAnswerTimeoutSeconds, 0};
    if (socket.fd() < 0 ||
        setsockopt(socket.fd(), SOL_SOCKET, SO_RCVTIMEO, &timeout, sizeof timeout) != 0 ||
        connect(socket.fd(), reinterpret_cast<const sockaddr*>(&address), sizeof address) != 0 ||
        !sendAll(socket.fd(), line + "\n")) {
        answer = "no simulator at " + path + ": " + std::strerror(errno);
        return false;
    }
    answer.clear();
    char buffer[256];
    ssize_t n = 0;
    while ((n = recv(socket.fd(), buffer, sizeof buffer, 0)) > 0 || (n < 0 && errno == EINTR)) {
        if (n > 0) {
            answer.append(buffer, static_cast<std::size_t>(n));
        }
    }
    if (!answer.empty() && answer.back() == '\n') {
        answer.pop_back();
    }
    if (n < 0 && answer.empty()) {
        answer = "no answer from " + path;
    }
    return answer == "ok";
}
