#include "sim/reply_queue.h"

#include <algorithm>
#include <cerrno>
#include <ctime>

#include <unistd.h>

namespace {

// steady_clock is CLOCK_MONOTONIC: sleep to an absolute deadline so the pacing does not drift.
void sleepUntil(ReplyQueue::Clock::time_point deadline) {
    const auto ns =
        std::chrono::duration_cast<std::chrono::nanoseconds>(deadline.time_since_epoch());
    timespec at{};
    at.tv_sec = static_cast<time_t>(ns.count() / 1000000000);
    at.tv_nsec = static_cast<long>(ns.count() % 1000000000);
    while (clock_nanosleep(CLOCK_MONOTONIC, TIMER_ABSTIME, &at, nullptr) == EINTR) {
    }
}

} // namespace

void ReplyQueue::push(std::vector<ReplyPiece> pieces, Clock::time_point arrival) {
    std::size_t size = 0;
    for (const auto& piece : pieces) {
        size += piece.bytes.size();
    }
    if (backlog_ + size > kMaxBacklog) {
        return;
    }
    backlog_ += size;
    bool first = true;
    for (auto& piece : pieces) {
        pending_.push_back({std::move(piece.bytes), arrival + piece.delay, piece.delay, first});
        first = false;
    }
}

std::optional<ReplyQueue::Clock::time_point> ReplyQueue::nextDue() const {
    if (pending_.empty()) {
        return std::nullopt;
    }
    return dueOf(pending_.front());
}

void ReplyQueue::sendDue(Clock::time_point now, bool pacing) {
    while (!pending_.empty() && dueOf(pending_.front()) <= now) {
        const Pending piece = std::move(pending_.front());
        pending_.pop_front();
        backlog_ -= piece.bytes.size();
        if (pacing) {
            sendPaced(piece.bytes);
        } else {
            sendAtOnce(piece.bytes);
        }
        now = Clock::now();
    }
}

void ReplyQueue::clear() {
    pending_.clear();
    backlog_ = 0;
}

ReplyQueue::Clock::time_point ReplyQueue::dueOf(const Pending& pending) const {
    return pending.startsReply ? pending.due : wireFree_ + pending.gap;
}

void ReplyQueue::sendPaced(const std::string& bytes) {
    wireFree_ = std::max(wireFree_, Clock::now());
    for (const char c : bytes) {
        sleepUntil(wireFree_);
        // A byte the far end cannot take is lost.
        [[maybe_unused]] const ssize_t n = write(fd_, &c, 1);
        wireFree_ += kByteTime;
    }
}

void ReplyQueue::sendAtOnce(const std::string& bytes) {
    std::size_t sent = 0;
    while (sent < bytes.size()) {
        const ssize_t n = write(fd_, bytes.data() + sent, bytes.size() - sent);
        if (n <= 0 && errno != EINTR) {
            break;
        }
        if (n > 0) {
            sent += static_cast<std::size_t>(n);
        }
    }
    wireFree_ = Clock::now();
}
