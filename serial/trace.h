#pragma once

#include <string_view>

// Where the link's events go when the technician asked for a trace: what was sent, what
// came back, resends, the adapter reset, reopening, each transaction's outcome and the
// message boxes. It only observes; nothing the link does depends on it.
class Trace {
public:
    virtual ~Trace() = default;
    // One event; its text may hold any bytes, the trace keeps it on one line.
    virtual void event(std::string_view text) = 0;
};
