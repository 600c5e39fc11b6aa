#pragma once

#include <chrono>
#include <string>
#include <string_view>
#include <vector>

// The program's end of the simulated line: the pty slave opened with plain POSIX calls, raw.
class PtyClient {
public:
    using Duration = std::chrono::milliseconds;
    static constexpr Duration replyLimit{3000};
    // Quiet on the line that ends one piece of a reply (paced bytes come 0.09 ms apart).
    static constexpr Duration pieceQuiet{3};

    PtyClient() = default;
    PtyClient(const PtyClient&) = delete;
    PtyClient& operator=(const PtyClient&) = delete;
    ~PtyClient();

    bool open(const std::string& path);
    void close();
    bool send(std::string_view bytes);

    // Sends the command with CR LF and returns the bytes up to and with the first ";" (or what
    // came before the limit).
    std::string command(std::string_view line);

    // The bytes up to and with the first ";", one entry per piece.
    std::vector<std::string> readPieces(Duration limit = replyLimit);
    // Everything that arrives within the window.
    std::string readFor(Duration window);

private:
    int fd_ = -1;
};
