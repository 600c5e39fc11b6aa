#include "sim/control_server.h"

#include <algorithm>
#include <cerrno>
#include <cstring>

#include <fcntl.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

namespace {

constexpr std::size_t kMaxClients = 16;
constexpr std::size_t kMaxLine = 256;

} // namespace

ControlServer::~ControlServer() {
    for (const auto& client : clients_) {
        close(client.fd);
    }
    if (listener_ >= 0) {
        close(listener_);
        unlink(path_.c_str());
    }
}

bool ControlServer::open(const std::string& path, std::string& error) {
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    if (path.size() >= sizeof address.sun_path) {
        error = "the control socket path is too long: " + path;
        return false;
    }
    std::memcpy(address.sun_path, path.c_str(), path.size() + 1);
    listener_ = socket(AF_UNIX, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0);
    if (listener_ < 0 ||
        bind(listener_, reinterpret_cast<const sockaddr*>(&address), sizeof address) != 0) {
        error = "cannot create " + path + ": " + std::strerror(errno);
        if (listener_ >= 0) {
            close(listener_);
        }
        listener_ = -1;
        return false;
    }
    path_ = path;
    if (chmod(path.c_str(), 0600) != 0 || listen(listener_, static_cast<int>(kMaxClients)) != 0) {
        error = "cannot listen on " + path + ": " + std::strerror(errno);
        return false;
    }
    return true;
}

void ControlServer::addPollFds(std::vector<pollfd>& fds) const {
    fds.push_back({listener_, POLLIN, 0});
    for (const auto& client : clients_) {
        fds.push_back({client.fd, POLLIN, 0});
    }
}

void ControlServer::serve(const std::vector<pollfd>& fds, const Handler& handler) {
    for (const auto& p : fds) {
        if (p.revents == 0) {
            continue;
        }
        if (p.fd == listener_) {
            accept();
            continue;
        }
        const auto client = std::find_if(clients_.begin(), clients_.end(),
                                         [&](const Client& c) { return c.fd == p.fd; });
        if (client != clients_.end() && !read(*client, handler)) {
            close(client->fd);
            clients_.erase(client);
        }
    }
}

void ControlServer::accept() {
    const int fd = ::accept4(listener_, nullptr, nullptr, SOCK_NONBLOCK | SOCK_CLOEXEC);
    if (fd < 0) {
        return;
    }
    if (clients_.size() >= kMaxClients) {
        close(fd);
        return;
    }
    clients_.push_back({fd, {}});
}

bool ControlServer::read(Client& client, const Handler& handler) {
    char buffer[kMaxLine];
    const ssize_t n = ::read(client.fd, buffer, sizeof buffer);
    if (n < 0) {
        return errno == EAGAIN || errno == EINTR;
    }
    client.line.append(buffer, static_cast<std::size_t>(n));
    const auto newline = client.line.find('\n');
    if (newline == std::string::npos && n > 0 && client.line.size() <= kMaxLine) {
        return true;
    }
    if (newline == std::string::npos && client.line.empty()) {
        return false;
    }
    std::string answer = client.line.size() > kMaxLine && newline == std::string::npos
                             ? "error: control line too long"
                             : handler(client.line.substr(0, newline));
    answer += '\n';
    // One short answer to a fresh socket: it fits the send buffer at once.
    send(client.fd, answer.data(), answer.size(), MSG_NOSIGNAL);
    return false;
}
