#pragma once

#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include <poll.h>

// The listening end of the control channel: a unix stream socket that takes one line per
// connection, hands it to the handler and sends the handler's answer back.
class ControlServer {
public:
    using Handler = std::function<std::string(std::string_view line)>;

    ControlServer() = default;
    ControlServer(const ControlServer&) = delete;
    ControlServer& operator=(const ControlServer&) = delete;
    ~ControlServer();

    bool open(const std::string& path, std::string& error);

    void addPollFds(std::vector<pollfd>& fds) const;
    // Accepts and serves what the poll found ready.
    void serve(const std::vector<pollfd>& fds, const Handler& handler);

private:
    struct Client {
        int fd;
        std::string line;
    };

    void accept();
    // False once the client is done with.
    bool read(Client& client, const Handler& handler);

    int listener_ = -1;
    std::string path_;
    std::vector<Client> clients_;
};
