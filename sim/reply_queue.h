#pragma once

#include "sim/line_faults.h"

#include <chrono>
#include <deque>
#include <optional>
#include <string>
#include <vector>

// Replies on their way out through the pseudo-terminal's master, in order. A piece waits for its
// time, then goes out byte by byte at the wire speed, or all at once without pacing. What the
// far end does not take is lost, as on a line without flow control.
class ReplyQueue {
public:
    using Clock = std::chrono::steady_clock;
    // 10 bits a byte at 115200 baud.
    static constexpr std::chrono::nanoseconds kByteTime{86806};
    static constexpr std::size_t kMaxBacklog = 65536;

    explicit ReplyQueue(int fd) : fd_(fd) {}

    // Queues a reply to a command that arrived at the given time; dropped when the backlog is full.
    void push(std::vector<ReplyPiece> pieces, Clock::time_point arrival);
    std::optional<Clock::time_point> nextDue() const;
    void sendDue(Clock::time_point now, bool pacing);
    void clear();

private:
    struct Pending {
        std::string bytes;
        Clock::time_point due; // for a reply's first piece; later pieces follow the one before
        std::chrono::milliseconds gap;
        bool startsReply;
    };

    Clock::time_point dueOf(const Pending& pending) const;
    void sendPaced(const std::string& bytes);
    void sendAtOnce(const std::string& bytes);

    int fd_;
    std::deque<Pending> pending_;
    std::size_t backlog_ = 0;
    Clock::time_point wireFree_{};
};
