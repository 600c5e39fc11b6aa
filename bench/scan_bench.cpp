// The start-up port scan: nothing present, and the controller behind two silent ports.

#include <benchmark/benchmark.h>

#include "bench/process_meter.h"
#include "serial/port_discovery.h"
#include "tests/e2e/window_rig.h"

namespace {

// The probe line "E" CR LF and the 27-byte status reply.
constexpr int kProbeBytes = 3 + 27;

struct ScanTotals {
    double wallMs = 0;
    double cpuMs = 0;
};

// Times each iteration's scan, which must find the controller on COM<expected>.
ScanTotals timeScans(benchmark::State& state, WindowRig& w, int16_t expected) {
    ScanTotals totals;
    for (auto _ : state) {
        const ProcessMeter meter;
        const int16_t found = Rs232cFind(w.serial());
        const double wall = meter.wallMs();
        totals.wallMs += wall;
        totals.cpuMs += meter.cpuMs();
        state.SetIterationTime(wall / 1000.0);
        if (found != expected) {
            state.SkipWithError("the controller was not found");
            break;
        }
    }
    return totals;
}

void BM_ScanNothingPresent(benchmark::State& state) {
    WindowRig w;
    int16_t found = 0;
    for (auto _ : state) {
        found = Rs232cFind(w.serial());
    }
    if (found != 0) {
        state.SkipWithError("a port answered");
    }
}
BENCHMARK(BM_ScanNothingPresent)->Unit(benchmark::kMillisecond);

void BM_ScanPastTwoSilentPorts(benchmark::State& state) {
    SimProcess controller;
    if (!controller.start({"--port", "3"})) {
        state.SkipWithError("simulator did not start");
        return;
    }
    WindowRig w;
    // Alone on COM3 the scan costs two missing ports, one opening and one probe round trip.
    std::vector<double> aloneMs;
    for (int i = 0; i < 50; ++i) {
        const ProcessMeter meter;
        if (Rs232cFind(w.serial()) != 3) {
            state.SkipWithError("COM3 alone was not found");
            return;
        }
        aloneMs.push_back(meter.wallMs());
    }
    SimProcess silent1;
    SimProcess silent2;
    if (!silent1.start({"--port", "1", "--silent"}) ||
        !silent2.start({"--port", "2", "--silent"})) {
        state.SkipWithError("silent simulators did not start");
        return;
    }
    const ScanTotals totals = timeScans(state, w, 3);
    const double probeMs = percentile(aloneMs, 50);
    const double meanMs = totals.wallMs / static_cast<double>(state.iterations());
    state.counters["alone_p50_ms"] = probeMs;
    state.counters["probe_wire_ms"] = wireMs(kProbeBytes);
    state.counters["budget_ms"] = 2 * 1000.0 + probeMs;
    state.counters["over_budget_ms"] = meanMs - (2 * 1000.0 + probeMs);
    state.counters["cpu_pct"] = 100.0 * totals.cpuMs / totals.wallMs;
}
BENCHMARK(BM_ScanPastTwoSilentPorts)->Iterations(3)->UseManualTime()->Unit(benchmark::kMillisecond);

// CPU spent while a silent port holds the scan for its 1000 ms probe time-out.
void BM_SilentProbeCpu(benchmark::State& state) {
    SimProcess silent;
    SimProcess controller;
    if (!silent.start({"--port", "1", "--silent"}) || !controller.start({"--port", "2"})) {
        state.SkipWithError("simulators did not start");
        return;
    }
    WindowRig w;
    const ScanTotals totals = timeScans(state, w, 2);
    state.counters["cpu_ms"] = totals.cpuMs / static_cast<double>(state.iterations());
    state.counters["cpu_pct"] = 100.0 * totals.cpuMs / totals.wallMs;
}
BENCHMARK(BM_SilentProbeCpu)->Iterations(3)->UseManualTime()->Unit(benchmark::kMillisecond);

} // namespace
