#include "cli/cli_run.h"

#include "cli/params_commands.h"
#include "common/local_timestamp.h"
#include "operations/ad_calibration.h"
#include "operations/interval_monitoring.h"
#include "operations/monitoring_record.h"
#include "operations/pending_warnings.h"
#include "operations/status_flag_boxes.h"
#include "operations/status_flags.h"
#include "serial/port_discovery.h"

namespace {

constexpr int kFirstPort = 1;
constexpr int kLastPort = 128;
constexpr int32_t kTickMs = 100;

CliExit scan(Session& session, CliIo& io) {
    int found = 0;
    for (int n = kFirstPort; n <= kLastPort && !session.panel().m.bUnloading; ++n) {
        if (Rs232cProbe(session.serial(), static_cast<int16_t>(n))) {
            io.out << "COM" << n << "\n";
            ++found;
        }
    }
    if (found == 0) {
        io.boxes.messageBox("Device is not found.", mb::kOk, kAppTitle);
        return CliExit::NoController;
    }
    return CliExit::Done;
}

CliExit status(Panel& p, CliIo& io) {
    const bool read = Command6_Click(p);
    for (const CaptionedBox& flag : kStatusFlagBoxes) {
        io.out << flag.caption << " " << p.w.text(flag.box) << "\n";
    }
    return read ? CliExit::Done : CliExit::NoController;
}

// One row per tick, a tick every 100 ms as the window's timer gives them.
CliExit monitor(Panel& p, Clock& clock, CliIo& io, int count) {
    io.out << monitoringRecordHeader() << std::flush;
    for (int row = 0; count == 0 || row < count; ++row) {
        const double start = clock.timeGetTime_EX();
        const auto reads = Timer1_Timer(p);
        if (p.m.bUnloading || !reads) {
            break;
        }
        io.out << monitoringRecordRow(p.w, localTimestamp(), *reads) << std::flush;
        if (!reads->flags) {
            return CliExit::NoController;
        }
        const double left = kTickMs - (clock.timeGetTime_EX() - start);
        if (left > 0) {
            p.link.waitmSec(static_cast<int32_t>(left));
        }
    }
    return CliExit::Done;
}

// The calibration belongs to one board: only after the password, asked on a terminal.
bool calibrationAllowed(CliIo& io) {
    const std::string typed = io.boxes.inputBox("Password?", kAppTitle);
    if (!io.boxes.terminalAnswered()) {
        io.err
            << "kelvara-cli: --calibration asks the password on a terminal, and there is none.\n";
        return false;
    }
    if (!isCalibrationPassword(typed)) {
        io.err << "kelvara-cli: wrong password: nothing was read or written.\n";
        return false;
    }
    return true;
}

} // namespace

CliExit runCli(const CliOptions& o, Session& session, CliIo& io) {
    if (o.calibration && !calibrationAllowed(io)) {
        return CliExit::BadUsage;
    }
    if (!o.tracePath.empty()) {
        session.traceTo(o.tracePath);
    }
    if (o.command == CliCommand::Scan) {
        return scan(session, io);
    }
    Panel& p = session.panel();
    ParamsContext params{p.m, p.link, io.out, io.err, paramsRegisters(o.calibration)};
    // A file that is not exactly right is refused before anything goes out, the probe included.
    std::vector<int32_t> file;
    if (o.command == CliCommand::Diff || o.command == CliCommand::Restore) {
        auto values = readParamsFile(params, o.file);
        if (!values) {
            return CliExit::FileRefused;
        }
        file = std::move(*values);
    }
    if (o.port != 0) {
        session.choosePort(o.port);
    }
    if (!session.openForCommandLine(o.command == CliCommand::Monitor)) {
        return CliExit::NoController;
    }
    const std::string saved = "saved " + localTimestamp() + " from COM" +
                              std::to_string(p.m.i_comPort) + " by kelvara-cli " + io.version;
    CliExit exit = CliExit::Done;
    switch (o.command) {
    case CliCommand::Status:
        exit = status(p, io);
        break;
    case CliCommand::Monitor:
        exit = monitor(p, session.serial().clock, io, o.count);
        break;
    case CliCommand::Save:
        exit = paramsSave(params, o.file, {saved});
        break;
    case CliCommand::Diff:
        exit = paramsDiff(params, o.file, file);
        break;
    case CliCommand::Restore:
        exit = paramsRestore(params, o.file, file, o.dryRun);
        break;
    case CliCommand::Help:
    case CliCommand::Version:
    case CliCommand::Scan:
        break;
    }
    // What the operations held back for an idle link, the rights warning among them.
    showPendingWarnings(p);
    session.Form_Unload();
    if (io.interrupted()) {
        io.err << "kelvara-cli: interrupted\n";
    }
    return exit;
}
