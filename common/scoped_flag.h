#pragma once

// A flag raised for as long as a scope lasts and lowered on every way out of it: the link's
// busy flag during a transaction, the running tick's during a tick.
template <typename Flag> class ScopedFlag {
public:
    explicit ScopedFlag(Flag& flag) : flag_(flag) { flag_ = 1; }
    ~ScopedFlag() { flag_ = 0; }
    ScopedFlag(const ScopedFlag&) = delete;
    ScopedFlag& operator=(const ScopedFlag&) = delete;

private:
    Flag& flag_;
};
