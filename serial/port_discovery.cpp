#include "serial/port_discovery.h"

#include "serial/failure_text.h"
#include "serial/ignoring_failure.h"
#include "serial/trace_event.h"

namespace {

constexpr int16_t kFirstPort = 1;
constexpr int16_t kLastPort = 128;
constexpr double kProbeTimeoutMs = 1000;

bool probeAnswered(SerialContext& c) {
    const double start = c.clock.timeGetTime_EX();
    c.m.sRecvBuf.clear();
    ignoringFailure([&] { c.MSComm5.output("E\r\n"); });
    double now = start;
    for (;;) {
        c.pump.processEvents(static_cast<int64_t>(start + kProbeTimeoutMs - now) + 1);
        now = c.clock.timeGetTime_EX();
        if (now > start + kProbeTimeoutMs) {
            return false;
        }
        int32_t waiting = 0;
        ignoringFailure([&] { waiting = c.MSComm5.inBufferCount(); });
        if (waiting == 0) {
            continue;
        }
        ignoringFailure([&] { c.m.sRecvBuf += c.MSComm5.input(); });
        if (c.m.sRecvBuf.find(';') != std::string::npos) {
            return true;
        }
    }
}

} // namespace

bool Rs232cProbe(SerialContext& c, int16_t n) {
    ignoringFailure([&] { c.MSComm5.setCommPort(n); });
    ignoringFailure([&] { c.MSComm5.setSettings(kLineSettings); });
    ignoringFailure([&] { c.MSComm5.setPortOpen(true); });
    bool open = false;
    ignoringFailure([&] { open = c.MSComm5.portOpen(); });
    const bool answered = open && probeAnswered(c);
    if (open) {
        traceEvent(c, "probe COM", n, answered ? " answered \"" : " not answered: \"", c.m.sRecvBuf,
                   "\"");
    }
    ignoringFailure([&] { c.MSComm5.setPortOpen(false); });
    return answered;
}

int16_t Rs232cFind(SerialContext& c) {
    for (int16_t n = kFirstPort; n <= kLastPort; ++n) {
        if (Rs232cProbe(c, n)) {
            return n;
        }
    }
    // Each probe closed its port already.
    return 0;
}

std::optional<SerialError> openSelected(SerialContext& c, int16_t pt, const std::string& step) {
    try {
        c.MSComm5.setPortOpen(true);
        c.MSComm5.setInBufferCount(0);
        c.m.sRecvBuf.clear();
        traceEvent(c, "COM", pt, " open (", step, ")");
        return std::nullopt;
    } catch (const SerialError& e) {
        traceEvent(c, "COM", pt, " ", step, " failed: ", e.cause());
        // Leave the control closed whatever state the failure left it in; the next open purges.
        Rs232cClose(c);
        return SerialError(e, failureText(pt, step, e));
    }
}

void selectPort(SerialContext& c, int16_t pt, const std::string& step) {
    atStep(pt, step, [&] {
        c.MSComm5.setCommPort(pt);
        c.MSComm5.setSettings(kLineSettings);
    });
}

bool Rs232cSetInit(SerialContext& c, int16_t pt, const std::string& step) {
    selectPort(c, pt, step);
    const auto failure = openSelected(c, pt, step);
    if (failure && failure->number() != kErrPortNotExist) {
        c.boxes.messageBox(failure->what(), mb::kIconWarning | mb::kSystemModal, kAppTitle);
    }
    return failure.has_value();
}

void Rs232cOpen(SerialContext& c) {
    bool failed = true;
    try {
        failed = Rs232cSetInit(c, c.m.i_comPort);
    } catch (const SerialError& e) {
        c.boxes.messageBox(e.what(), mb::kIconWarning | mb::kSystemModal, kAppTitle);
    }
    if (failed) {
        c.boxes.messageBox("not found a device\r\n\r\n", mb::kOkCancel, kAppTitle);
    }
}

void Rs232cClose(SerialContext& c) {
    c.m.lateReplies.reset();
    try {
        if (c.MSComm5.portOpen()) {
            c.MSComm5.setPortOpen(false);
        }
    } catch (const SerialError& e) {
        // The control counts as closed all the same (a handle whose I/O never ended is let go).
        traceEvent(c, "COM", c.m.i_comPort, " closing the port: ", e.cause(),
                   " (its handle is let go)");
    }
}
