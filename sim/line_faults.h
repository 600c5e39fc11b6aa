#pragma once

#include <chrono>
#include <optional>
#include <random>
#include <string>
#include <string_view>
#include <vector>

// The faults the simulator can put on the line: silences of several kinds, late, split and
// garbled replies, and a stale ";" ahead of each reply.
struct LineFaults {
    static constexpr int kMaxPieces = 64;
    static constexpr std::chrono::milliseconds kPieceGap{10};

    bool silent = false;
    std::optional<long> answersLeft; // then silent
    long ignoreNext = 0;
    bool silentUntilEnable = false;
    bool disabled = false; // by the device console
    bool probeOnly = false;
    bool garbage = false;
    bool staleSemicolon = false;
    int pieces = 1;
    std::chrono::milliseconds late{0};

    // Whether the command reaches the controller at all; counts it against the silences.
    bool admits(std::string_view command);

    // Ends every kind of silence except the device console's disable.
    void endSilences();
};

struct ReplyPiece {
    std::string bytes;
    std::chrono::milliseconds delay; // after the previous piece has gone out
};

// The reply as it goes out on the line: garbled, split and led by a stale ";" as the faults say.
std::vector<ReplyPiece> shapeReply(const LineFaults& faults, std::string reply,
                                   std::mt19937& random);
