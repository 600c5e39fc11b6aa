#include "serial/transaction.h"

#include <algorithm>
#include <utility>
#include <vector>

#include "common/scoped_flag.h"
#include "serial/failure_text.h"
#include "serial/port_discovery.h"
#include "serial/reply_completion.h"
#include "serial/trace_event.h"
#include "serial/usb_recovery.h"

namespace {

enum class WaitEnd { Complete, TimedOut, Closing };

// Replies to the other sends of a resent command may still be on their way when one of
// them has answered; this long past the latest they could come, they are given up.
constexpr double kLateReplyMarginMs = 500;

// The sends of the current recovery cycle: the port was (re)opened before the first.
using SendTimes = std::vector<double>;

WaitEnd waitReply(SerialContext& c, const std::string& cmd, double start) {
    const double timeout = c.m.iComRecoveryTime;
    const int16_t port = c.m.i_comPort;
    const std::string step = "reading the reply to " + cmd;
    // The first pass does not sleep: bytes that came in the pass that timed out the previous
    // attempt are already waiting and raise no new event.
    int64_t passWait = 0;
    int pieces = 0;
    for (;;) {
        c.pump.processEvents(passWait);
        if (c.m.bUnloading) {
            return WaitEnd::Closing;
        }
        const double now = c.clock.timeGetTime_EX();
        if (now > start + timeout) {
            if (pieces == 0) {
                traceEvent(c, "COM", port, " time-out of ", cmd, " after ", c.m.iComRecoveryTime,
                           " ms, nothing received");
            } else {
                traceEvent(c, "COM", port, " time-out of ", cmd, " after ", c.m.iComRecoveryTime,
                           " ms, received \"", c.m.sRecvBuf, "\" (pieces: ", pieces, ")");
            }
            return WaitEnd::TimedOut;
        }
        passWait = static_cast<int64_t>(start + timeout - now) + 1;
        if (atStep(port, step, [&] { return c.MSComm5.inBufferCount(); }) == 0) {
            continue;
        }
        const std::string piece = atStep(port, step, [&] { return c.MSComm5.input(); });
        c.m.sRecvBuf += piece;
        ++pieces;
        if (const auto begin = completedReplyStart(c.m.sRecvBuf, cmd)) {
            traceEvent(c, "COM", port, " received \"", c.m.sRecvBuf, "\" (pieces: ", pieces, ")");
            if (*begin > 0) {
                traceEvent(c, "COM", port, " dropped \"",
                           std::string_view(c.m.sRecvBuf).substr(0, *begin),
                           "\" ahead of the reply to ", cmd);
            }
            // What came before the reply is stale: a stray ";", the tail of an earlier reply.
            c.m.sRecvBuf.erase(0, *begin);
            return WaitEnd::Complete;
        }
        if (piece.find(';') != std::string::npos) {
            traceEvent(c, "COM", port, " \";\" that ends no reply to ", cmd, ": waiting afresh");
            // A ";" that ends no reply to this command: wait afresh for the reply.
            start = c.clock.timeGetTime_EX();
        }
    }
}

// After a reply to a resent command: the controller may still answer the other sends. Were
// they left on the line, each would complete the next command and shift every later value
// of a read by one. They are owed until as many replies as sends have come or the latest
// could have come (the last send plus the latency this reply showed); the next command takes
// them off the line first, so this one completes at once.
void oweLateReplies(SerialContext& c, const std::string& cmd, const SendTimes& sends) {
    const double answeredAt = c.clock.timeGetTime_EX();
    const auto replies =
        static_cast<std::size_t>(std::count(c.m.sRecvBuf.begin(), c.m.sRecvBuf.end(), ';'));
    if (replies >= sends.size()) {
        return;
    }
    c.m.lateReplies =
        LateReplies{cmd, sends.back() + (answeredAt - sends.front()) + kLateReplyMarginMs,
                    sends.size() - replies};
}

// Waits out what is left of the late replies owed to an earlier command, dropping them.
WaitEnd dropLateReplies(SerialContext& c) {
    if (!c.m.lateReplies) {
        return WaitEnd::Complete;
    }
    const LateReplies late = *std::exchange(c.m.lateReplies, std::nullopt);
    const std::string step = "reading late replies to " + late.cmd;
    std::size_t owed = late.owed;
    while (owed > 0) {
        const double now = c.clock.timeGetTime_EX();
        if (now > late.deadline) {
            break;
        }
        c.pump.processEvents(static_cast<int64_t>(late.deadline - now) + 1);
        if (c.m.bUnloading) {
            return WaitEnd::Closing;
        }
        if (atStep(c.m.i_comPort, step, [&] { return c.MSComm5.inBufferCount(); }) == 0) {
            continue;
        }
        const std::string text = atStep(c.m.i_comPort, step, [&] { return c.MSComm5.input(); });
        traceEvent(c, "COM", c.m.i_comPort, " late reply to ", late.cmd, " dropped \"", text, "\"");
        owed -= std::min(owed, static_cast<std::size_t>(std::count(text.begin(), text.end(), ';')));
    }
    return WaitEnd::Complete;
}

std::string deviceName(const ModuleState& m) { return "COM" + std::to_string(m.i_comPort); }

// A port whose reopening failed is lost: from then on each command only tries to reopen it,
// quietly, so that an unplugged adapter is reported once and the link comes back by itself.
void markLost(SerialContext& c) {
    c.m.bPortLost = true;
    traceEvent(c, "COM", c.m.i_comPort, " lost: each command tries to reopen it");
}

// Reopens the port without a box; the trace tells how it went.
bool reopened(SerialContext& c) {
    const std::string step = "reopening the port";
    try {
        selectPort(c, c.m.i_comPort, step);
    } catch (const SerialError& e) {
        traceEvent(c, e.what());
        return false;
    }
    return !openSelected(c, c.m.i_comPort, step);
}

CommandOutcome errorPath(SerialContext& c, const SerialError& e) {
    if (e.deviceGone()) {
        traceEvent(c, "serial failure: ", e.what(), " (", e.cause(), ")");
    } else {
        traceEvent(c, "serial failure: ", e.what());
    }
    c.boxes.messageBox(e.what(), mb::kIconWarning | mb::kSystemModal, kAppTitle);
    c.m.iUsbErr = 1;
    Rs232cClose(c);
    UsbDeviceRecover(c, deviceName(c.m));
    if (c.m.bUnloading) {
        return CommandOutcome::Closing;
    }
    // The failure above was told already: the reopening adds no box of its own.
    if (!reopened(c)) {
        markLost(c);
    }
    return CommandOutcome::Failed;
}

CommandOutcome transact(SerialContext& c, const std::string& cmd) {
    int16_t resends = 0;
    int16_t cycles = 0;
    SendTimes sends;
    if (dropLateReplies(c) == WaitEnd::Closing) {
        return CommandOutcome::Closing;
    }
    // A reply that came late for an earlier command must not answer this one.
    atStep(c.m.i_comPort, "discarding stale input", [&] { c.MSComm5.setInBufferCount(0); });
    for (;;) {
        const double start = c.clock.timeGetTime_EX();
        c.m.sRecvBuf.clear();
        if (resends == 0) {
            traceEvent(c, "COM", c.m.i_comPort, " send \"", cmd, "\r\n\"");
        } else {
            traceEvent(c, "COM", c.m.i_comPort, " resend ", resends, " of ", c.m.iComRetryCount,
                       " \"", cmd, "\r\n\"");
        }
        atStep(c.m.i_comPort, "sending " + cmd, [&] { c.MSComm5.output(cmd + "\r\n"); });
        sends.push_back(start);
        switch (waitReply(c, cmd, start)) {
        case WaitEnd::Complete:
            oweLateReplies(c, cmd, sends);
            return CommandOutcome::Complete;
        case WaitEnd::Closing:
            return CommandOutcome::Closing;
        case WaitEnd::TimedOut:
            break;
        }
        if (resends < c.m.iComRetryCount) {
            ++resends;
            continue;
        }
        if (cycles < c.m.iUsbRetryCount) {
            traceEvent(c, "COM", c.m.i_comPort, " no reply to ", cmd,
                       ": closing the port to reset the adapter");
            c.m.iUsbErr = 1;
            Rs232cClose(c);
            UsbDeviceRecover(c, deviceName(c.m));
            if (c.m.bUnloading) {
                return CommandOutcome::Closing;
            }
            if (Rs232cSetInit(c, c.m.i_comPort, "reopening the port")) {
                markLost(c);
                return CommandOutcome::Failed;
            }
            sends.clear();
            resends = 0;
            ++cycles;
            continue;
        }
        c.boxes.messageBox(kNoiseMessage, mb::kIconError | mb::kSystemModal, kAppTitle);
        c.m.iUsbErr = 1;
        return CommandOutcome::Failed;
    }
}

CommandOutcome untracedCommand(SerialContext& c, const std::string& cmd) {
    if (c.m.bUnloading) {
        return CommandOutcome::Closing;
    }
    if (c.m.bCommBusy != 0) {
        return CommandOutcome::Refused;
    }
    const ScopedFlag busy(c.m.bCommBusy);
    c.m.iUsbErr = 0;
    if (c.m.bPortLost) {
        // One quiet try instead of the whole road: the loss was told when it happened.
        if (!reopened(c)) {
            c.m.iUsbErr = 1;
            return CommandOutcome::Failed;
        }
        c.m.bPortLost = false;
        traceEvent(c, "COM", c.m.i_comPort, " is back: the link works again");
    }
    try {
        return transact(c, cmd);
    } catch (const SerialError& e) {
        if (c.m.bUnloading) {
            return CommandOutcome::Closing;
        }
        return errorPath(c, e);
    }
}

const char* outcomeName(CommandOutcome outcome) {
    switch (outcome) {
    case CommandOutcome::Complete:
        return "complete";
    case CommandOutcome::Refused:
        return "refused: another transaction is open";
    case CommandOutcome::Failed:
        return "failed";
    case CommandOutcome::Closing:
        return "closing";
    }
    return "";
}

} // namespace

CommandOutcome Rs232cCommand(SerialContext& c, const std::string& cmd) {
    const CommandOutcome outcome = untracedCommand(c, cmd);
    traceEvent(c, cmd, " ", outcomeName(outcome));
    return outcome;
}
