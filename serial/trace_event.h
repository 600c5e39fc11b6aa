#pragma once

#include <concepts>
#include <string>
#include <string_view>

#include "serial/serial_context.h"

namespace trace_detail {

inline void appendPart(std::string& text, std::string_view part) { text += part; }

template <std::integral Number> void appendPart(std::string& text, Number number) {
    text += std::to_string(number);
}

} // namespace trace_detail

// Sends the parts, joined, to the trace. Without a trace it costs a pointer test: the text
// is not even put together.
template <typename... Parts> void traceEvent(SerialContext& c, const Parts&... parts) {
    if (c.trace == nullptr) {
        return;
    }
    std::string text;
    (trace_detail::appendPart(text, parts), ...);
    c.trace->event(text);
}
