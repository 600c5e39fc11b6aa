#pragma once

#include <string>

// The local time to the millisecond, "2026-12-07 13:05:12.345": the trace's and the
// monitoring record's timestamps.
std::string localTimestamp();
