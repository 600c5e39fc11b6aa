#include "serial/reply_completion.h"
#include "tests/fuzz/fuzz_check.h"
#include "tests/fuzz/pieces.h"

#include <algorithm>
#include <cstdint>

namespace {

// The reply's start found position by position: the first ";" at or after an occurrence of the
// command's letter ends the reply, the occurrence nearest before it begins it. Without a
// command the first ";" completes what was received from its start.
std::optional<std::size_t> replyStartByScan(const std::string& received, const std::string& cmd) {
    std::optional<std::size_t> letter;
    for (std::size_t i = 0; i < received.size(); ++i) {
        if (cmd.empty() ? !letter : received[i] == cmd.front()) {
            letter = i;
        }
        if (received[i] == ';' && letter) {
            return letter;
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
    for (const auto piece : pieces(input.substr(1 + cmdLength))) {
        sRecvBuf += piece;
        require(completedReplyStart(sRecvBuf, cmd) == replyStartByScan(sRecvBuf, cmd),
                "the reply begins at the letter nearest before the first ';' after a letter");
    }
    return 0;
}
