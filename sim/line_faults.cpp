#include "sim/line_faults.h"

#include <algorithm>

namespace {

// Letters, digits and separators, but never the ";" that would end a reply.
std::string garbageText(std::mt19937& random) {
    static constexpr std::string_view kAlphabet =
        "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789 ,.#*";
    std::uniform_int_distribution<std::size_t> length(6, 24);
    std::uniform_int_distribution<std::size_t> pick(0, kAlphabet.size() - 1);
    std::string text(length(random), ' ');
    for (char& c : text) {
        c = kAlphabet[pick(random)];
    }
    return text;
}

} // namespace

bool LineFaults::admits(std::string_view command) {
    if (silent || silentUntilEnable || disabled) {
        return false;
    }
    if (ignoreNext > 0) {
        --ignoreNext;
        return false;
    }
    if (probeOnly && command != "E") {
        return false;
    }
    if (answersLeft) {
        if (*answersLeft == 0) {
            return false;
        }
        --*answersLeft;
    }
    return true;
}

void LineFaults::endSilences() {
    silent = false;
    answersLeft.reset();
    ignoreNext = 0;
    silentUntilEnable = false;
}

std::vector<ReplyPiece> shapeReply(const LineFaults& faults, std::string reply,
                                   std::mt19937& random) {
    if (faults.garbage) {
        reply = garbageText(random);
    }
    std::vector<ReplyPiece> out;
    if (faults.staleSemicolon) {
        out.push_back({";", faults.late});
    }
    const std::size_t count =
        std::clamp<std::size_t>(static_cast<std::size_t>(std::max(faults.pieces, 1)), 1,
                                std::max<std::size_t>(reply.size(), 1));
    std::size_t start = 0;
    for (std::size_t i = 0; i < count; ++i) {
        const std::size_t end = reply.size() * (i + 1) / count;
        const auto delay = out.empty() ? faults.late : LineFaults::kPieceGap;
        out.push_back({reply.substr(start, end - start), delay});
        start = end;
    }
    return out;
}
