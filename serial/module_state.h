#pragma once

#include <cstddef>
#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <vector>

// Replies still owed for the other sends of a resent command: taken off the line before the
// next command goes out, until as many have come as were sent or the latest could have come.
struct LateReplies {
    std::string cmd;
    double deadline = 0;  // clock reading after which none can come any more
    std::size_t owed = 0; // replies still to come
};

// What a read put in a box: the register's stored value and the text that showed it.
struct ShownRegister {
    double stored = 0;
    std::string text;
};

// The window module's variables: one instance, owned by Form1, lives for the whole run.
// Every number starts at 0 and every string empty.
struct ModuleState {
    int16_t i_comPort = 0;
    int16_t iUsbRetryCount = 0;
    int32_t iUsbRecoveryTime = 0;
    int16_t iComRetryCount = 0;
    int32_t iComRecoveryTime = 0;
    int16_t iUsbErr = 0;
    std::string sRecvBuf;
    int16_t bCommBusy = 0;
    double dAdGain = 0;
    double dAdOffset = 0;

    // Set by Form_Unload: every wait ends, nothing more is sent or shown.
    bool bUnloading = false;
    // A monitoring tick is under way: a timer expiry now is skipped, never nested.
    bool bTickRunning = false;
    // Warnings of operations that must not interrupt a transaction's wait; shown once the
    // link is idle again.
    std::vector<std::string> pendingWarnings;
    // Late replies to drop before the next command; none once the port was closed.
    std::optional<LateReplies> lateReplies;
    // By box: what the latest completed read of its register showed there.
    std::map<std::string, ShownRegister> shownRegisters;
};
