#include "serial/transaction.h"

#include "serial/ignoring_failure.h"
#include "serial/port_discovery.h"
#include "serial/usb_recovery.h"

namespace {

enum class WaitEnd { Complete, TimedOut, Closing };

// Clears the busy flag on every way out of the transaction.
struct BusyFlag {
    explicit BusyFlag(int16_t& flag) : flag_(flag) { flag_ = 1; }
    ~BusyFlag() { flag_ = 0; }
    BusyFlag(const BusyFlag&) = delete;
    BusyFlag& operator=(const BusyFlag&) = delete;

private:
    int16_t& flag_;
};

bool replyComplete(const std::string& buf, const std::string& cmd) {
    if (buf.find(';') == std::string::npos) {
        return false;
    }
    return cmd.empty() || buf.find(cmd.front()) != std::string::npos;
}

WaitEnd waitReply(SerialContext& c, const std::string& cmd, double start) {
    const double timeout = c.m.iComRecoveryTime;
    // The first pass does not sleep: bytes that came in the pass that timed out the previous
    // attempt are already waiting and raise no new event.
    int64_t passWait = 0;
    for (;;) {
        c.pump.processEvents(passWait);
        if (c.m.bUnloading) {
            return WaitEnd::Closing;
        }
        const double now = c.clock.timeGetTime_EX();
        if (now > start + timeout) {
            return WaitEnd::TimedOut;
        }
        passWait = static_cast<int64_t>(start + timeout - now) + 1;
        if (c.MSComm5.inBufferCount() == 0) {
            continue;
        }
        c.m.sRecvBuf += c.MSComm5.input();
        if (c.m.sRecvBuf.find(';') == std::string::npos) {
            continue;
        }
        if (replyComplete(c.m.sRecvBuf, cmd)) {
            return WaitEnd::Complete;
        }
        // A ";" without the command's letter is the tail of a stale reply: wait afresh.
        start = c.clock.timeGetTime_EX();
        passWait = static_cast<int64_t>(timeout) + 1;
    }
}

std::string deviceName(const ModuleState& m) { return "COM" + std::to_string(m.i_comPort); }

CommandOutcome errorPath(SerialContext& c, const SerialError& e) {
    c.boxes.messageBox(e.what(), mb::ICONWARNING | mb::SYSTEMMODAL, kAppTitle);
    c.m.iUsbErr = 1;
    ignoringFailure([&] {
        if (c.MSComm5.portOpen()) {
            c.MSComm5.setPortOpen(false);
        }
    });
    UsbDeviceRecover(c, deviceName(c.m));
    if (c.m.bUnloading) {
        return CommandOutcome::Closing;
    }
    ignoringFailure([&] { Rs232cSetInit(c, c.m.i_comPort); });
    return CommandOutcome::Failed;
}

CommandOutcome transact(SerialContext& c, const std::string& cmd) {
    int16_t resends = 0;
    int16_t cycles = 0;
    // A reply that came late for an earlier command must not answer this one.
    c.MSComm5.setInBufferCount(0);
    for (;;) {
        const double start = c.clock.timeGetTime_EX();
        c.m.sRecvBuf.clear();
        c.MSComm5.output(cmd + "\r\n");
        switch (waitReply(c, cmd, start)) {
        case WaitEnd::Complete:
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
            c.m.iUsbErr = 1;
            if (c.MSComm5.portOpen()) {
                c.MSComm5.setPortOpen(false);
            }
            UsbDeviceRecover(c, deviceName(c.m));
            if (c.m.bUnloading) {
                return CommandOutcome::Closing;
            }
            if (Rs232cSetInit(c, c.m.i_comPort)) {
                return CommandOutcome::Failed;
            }
            resends = 0;
            ++cycles;
            continue;
        }
        c.boxes.messageBox(kNoiseMessage, mb::ICONERROR | mb::SYSTEMMODAL, kAppTitle);
        c.m.iUsbErr = 1;
        return CommandOutcome::Failed;
    }
}

} // namespace

CommandOutcome Rs232cCommand(SerialContext& c, const std::string& cmd) {
    if (c.m.bUnloading) {
        return CommandOutcome::Closing;
    }
    if (c.m.bCommBusy != 0) {
        return CommandOutcome::Refused;
    }
    BusyFlag busy(c.m.bCommBusy);
    c.m.iUsbErr = 0;
    try {
        return transact(c, cmd);
    } catch (const SerialError& e) {
        if (c.m.bUnloading) {
            return CommandOutcome::Closing;
        }
        return errorPath(c, e);
    }
}
