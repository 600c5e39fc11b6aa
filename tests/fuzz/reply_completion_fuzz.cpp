#include "serial/reply_completion.h"
#include "tests/fuzz/fuzz_check.h"
#include "tests/fuzz/pieces.h"

#include <algorithm>
#include <cstdint>

namespace {

// The reply's start found position by position: the first ";" that stands at or after an
// occurrence of the letter ends the reply, the occurrence nearest before it begins it.
std::optional<std::size_t> replyStartByScan(const std::string& received, const std::string& cmd) {
    std::optional<std::size_t> lastLetter;
    for (std::size_t i = 0; i < received.size(); ++i) {
        if (cmd.empty()) {
            if (received[i] == ';') {
                return 0;
            }
            continue;
        }
        if (received[i] == cmd.front()) {
            lastLetter = i;
        }
        if (received[i] == ';' && lastLetter) {
            return lastLetter;
        }
    }
    return std::nullopt;
}

} // namespace

// Input: a byte giving the command's length (0 to 3), the command, then the received bytes in
// pieces. Every piece is appended to sRecvBuf and completion tested, as the transaction does.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view input(reinterpret_cast<const char*>(data), size);
    if (input.empty()) {
        return 0;
    }
    const std::size_t cmdLength =
        std::min<std::size_t>(static_cast<unsigned char>(input.front()) % 4, input.size() - 1);
    const std::string cmd(input.substr(1, cmdLength));
    std::string sRecvBuf;
    std::optional<std::size_t> completedAt;
    for (const auto piece : pieces(input.substr(1 + cmdLength))) {
        sRecvBuf += piece;
        const auto start = completedReplyStart(sRecvBuf, cmd);
        require(start == replyStartByScan(sRecvBuf, cmd),
                "the reply begins at the letter nearest before the first ';' after a letter");
        if (completedAt) {
            require(start == completedAt, "a complete reply stays complete at the same start");
            continue;
        }
        if (!start) {
            continue;
        }
        completedAt = start;
        // The transaction keeps sRecvBuf from the reply's start on: the command's letter, up
        // to and with the reply's ";" no later letter.
        const std::string reply = sRecvBuf.substr(*start, sRecvBuf.find(';', *start) + 1 - *start);
        require(cmd.empty() || (reply.front() == cmd.front() &&
                                reply.find(cmd.front(), 1) == std::string::npos),
                "the reply begins with the command's letter and holds no later one");
    }
    return 0;
}
