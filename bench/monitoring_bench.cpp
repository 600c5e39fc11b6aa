// Interval monitoring at wire speed: tick rate and duration, CPU and resident memory, without
// and with the trace and the record.

#include <QAction>
#include <QEvent>
#include <QEventLoop>
#include <QTimer>
#include <algorithm>
#include <benchmark/benchmark.h>
#include <chrono>
#include <fstream>
#include <iterator>

#include "bench/process_meter.h"
#include "common/local_timestamp.h"
#include "operations/monitoring_record.h"
#include "serial/trace_file.h"
#include "serial/wait.h"
#include "tests/e2e/window_rig.h"

namespace {

// Request and reply bytes of one tick: "E" 3 + 27, "A1" 4 + 3, three times "S1" 4 + 16.
constexpr int kTickBytes = 3 + 27 + 4 + 3 + 3 * (4 + 16);
// The simulator sends the first byte of each of the five replies at once.
constexpr int kTickPacedBytes = 26 + 2 + 3 * 15;
constexpr double kMonitorWaitMs = 50;

// Times each tick from Timer1's expiry to the end of its reads. The event filter sees the
// expiry before the window's procedure runs; the timeout slot, connected after the window's,
// runs once the procedure returned. Expiries that come while a tick runs are skipped ones.
class TickClock : public QObject {
public:
    explicit TickClock(Form1& form) : form_(form) {
        auto* timer = form.findChild<QTimer*>("Timer1");
        timer->installEventFilter(this);
        connect(timer, &QTimer::timeout, this, [this] { expiryServed(); });
    }

    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() == QEvent::Timer && !SessionAccess::state(form_.session()).bTickRunning) {
            start_ = std::chrono::steady_clock::now();
        }
        return false;
    }

    std::vector<double> tickMs;
    int skipped = 0;

private:
    void expiryServed() {
        if (SessionAccess::state(form_.session()).bTickRunning) {
            ++skipped;
            return;
        }
        tickMs.push_back(
            std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start_)
                .count());
    }

    Form1& form_;
    std::chrono::steady_clock::time_point start_;
};

// The monitor read's 50 ms wait alone: the clock counts whole milliseconds and the wait ends
// at the first reading beyond 50.
void BM_MonitorWait(benchmark::State& state) {
    WindowRig w;
    for (auto _ : state) {
        const ProcessMeter meter;
        waitmSec(w.serial(), static_cast<int32_t>(kMonitorWaitMs));
        state.SetIterationTime(meter.wallMs() / 1000.0);
    }
}
BENCHMARK(BM_MonitorWait)->Iterations(100)->UseManualTime()->Unit(benchmark::kMillisecond);

std::string diagnosticPath(const char* name) {
    std::string path = portlinks::workFolder() + "/" + name;
    std::remove(path.c_str());
    return path;
}

std::size_t lineCount(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return static_cast<std::size_t>(
        std::count(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>(), '\n'));
}

// One trace line as a tick writes it: the local timestamp, the escaping, the write and flush.
void BM_TraceLine(benchmark::State& state) {
    portlinks::ensureTrustedFolder(portlinks::workFolder());
    TraceFile trace(diagnosticPath("bench-trace.log"), localTimestamp, nullptr);
    for (auto _ : state) {
        trace.event("COM3 received \"S0512,0512,0512;\" (pieces: 16)");
    }
}
BENCHMARK(BM_TraceLine)->Unit(benchmark::kMicrosecond);

// One record row as a tick appends it: the timestamp, the sixteen boxes read from the window,
// the quoting, the write and flush.
void BM_RecordRow(benchmark::State& state) {
    WindowRig w;
    LineFile record(diagnosticPath("bench-record.csv"), nullptr);
    for (auto _ : state) {
        record.append(monitoringRecordRow(*w.form, localTimestamp(), {true, true}));
    }
}
BENCHMARK(BM_RecordRow)->Unit(benchmark::kMicrosecond);

// Argument 1: with --trace and --record, side by side with the plain run.
void BM_IntervalMonitoring(benchmark::State& state) {
    const bool diagnostics = state.range(0) != 0;
    SimProcess sim;
    WindowRig w;
    const std::string tracePath = diagnosticPath("bench-trace.log");
    const std::string recordPath = diagnosticPath("bench-record.csv");
    if (diagnostics) {
        w.session().traceTo(tracePath);
        w.session().recordTo(recordPath);
    }
    if (!sim.start({"--port", "3"}) || !w.session().Form_Load()) {
        state.SkipWithError("no controller");
        return;
    }
    w.form->show();
    TickClock ticks(*w.form);
    double wallMs = 0;
    double cpuMs = 0;
    double rssAfter1s = 0;
    double rssAfter30s = 0;
    for (auto _ : state) {
        QEventLoop loop;
        QTimer::singleShot(1000, Qt::PreciseTimer, &loop, [&] { rssAfter1s = residentKiB(); });
        QTimer::singleShot(30000, Qt::PreciseTimer, &loop, &QEventLoop::quit);
        const ProcessMeter meter;
        w.choose("IntervalStart");
        loop.exec();
        w.choose("IntervalStop");
        wallMs = meter.wallMs();
        cpuMs = meter.cpuMs();
        rssAfter30s = residentKiB();
        state.SetIterationTime(wallMs / 1000.0);
    }
    if (!w.boxes.shown.empty()) {
        state.SkipWithError("a message was shown");
    }
    double sum = 0;
    for (const double t : ticks.tickMs) {
        sum += t;
    }
    const double meanMs = ticks.tickMs.empty() ? 0 : sum / static_cast<double>(ticks.tickMs.size());
    const double floorMs = kMonitorWaitMs + wireMs(kTickBytes);
    state.counters["ticks"] = static_cast<double>(ticks.tickMs.size());
    state.counters["skipped"] = ticks.skipped;
    state.counters["ticks_per_s"] = 1000.0 * static_cast<double>(ticks.tickMs.size()) / wallMs;
    state.counters["tick_mean_ms"] = meanMs;
    state.counters["tick_p99_ms"] = percentile(ticks.tickMs, 99);
    state.counters["floor_ms"] = floorMs;
    state.counters["over_floor_ms"] = meanMs - floorMs;
    state.counters["sim_floor_ms"] = kMonitorWaitMs + wireMs(kTickPacedBytes);
    state.counters["cpu_pct"] = 100.0 * cpuMs / wallMs;
    state.counters["cpu_us_per_tick"] = 1000.0 * cpuMs / static_cast<double>(ticks.tickMs.size());
    state.counters["rss_1s_MiB"] = rssAfter1s / 1024.0;
    state.counters["rss_30s_MiB"] = rssAfter30s / 1024.0;
    if (diagnostics) {
        state.counters["trace_lines_per_s"] =
            1000.0 * static_cast<double>(lineCount(tracePath)) / wallMs;
        state.counters["record_rows"] = static_cast<double>(lineCount(recordPath)) - 1;
    }
}
BENCHMARK(BM_IntervalMonitoring)
    ->ArgName("diagnostics")
    ->Arg(0)
    ->Arg(1)
    ->Iterations(1)
    ->UseManualTime()
    ->Unit(benchmark::kSecond);

} // namespace
