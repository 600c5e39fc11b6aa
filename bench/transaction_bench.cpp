// Rs232cCommand over the pseudo-terminal: round trips of "E" and the cost of a time-out.

#include <benchmark/benchmark.h>

#include "bench/process_meter.h"
#include "serial/transaction.h"
#include "sim/sim_control.h"
#include "tests/e2e/window_rig.h"

namespace {

// "E" CR LF, and "E0,0,0,0,0,0,0,0,0,0,0,0,0;".
constexpr int kRequestBytes = 3;
constexpr int kReplyBytes = 27;

// range(0): 1 = replies at wire speed, 0 = at once.
void BM_RoundTripE(benchmark::State& state) {
    const bool paced = state.range(0) == 1;
    std::vector<std::string> args = {"--port", "3"};
    if (!paced) {
        args.push_back("--no-pacing");
    }
    SimProcess sim;
    WindowRig w;
    if (!sim.start(args) || !w.session().Form_Load()) {
        state.SkipWithError("no controller");
        return;
    }
    std::vector<double> roundTripUs;
    for (auto _ : state) {
        const ProcessMeter meter;
        const CommandOutcome outcome = Rs232cCommand(w.serial(), "E");
        const double wall = meter.wallMs();
        state.SetIterationTime(wall / 1000.0);
        roundTripUs.push_back(wall * 1000.0);
        if (outcome != CommandOutcome::Complete) {
            state.SkipWithError("no complete reply");
            break;
        }
    }
    const double p50 = percentile(roundTripUs, 50);
    state.counters["p50_us"] = p50;
    state.counters["p99_us"] = percentile(roundTripUs, 99);
    if (paced) {
        state.counters["wire_us"] = wireMs(kRequestBytes + kReplyBytes) * 1000.0;
        // The simulator writes the first reply byte at once and each further one a byte time
        // later; the request crosses the pseudo-terminal unpaced.
        const double pacedUs = wireMs(kReplyBytes - 1) * 1000.0;
        state.counters["sim_paced_us"] = pacedUs;
        state.counters["overhead_p50_us"] = p50 - pacedUs;
    }
}
BENCHMARK(BM_RoundTripE)
    ->ArgName("paced")
    ->Arg(0)
    ->Iterations(2000)
    ->UseManualTime()
    ->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_RoundTripE)
    ->ArgName("paced")
    ->Arg(1)
    ->Iterations(500)
    ->UseManualTime()
    ->Unit(benchmark::kMicrosecond);

// CPU spent while a silent controller holds a transaction for its 3000 ms time-out.
void BM_TimeoutCpu(benchmark::State& state) {
    SimProcess sim;
    WindowRig w;
    if (!sim.start({"--port", "3"}) || !w.session().Form_Load() || !simControl(3, "silent on")) {
        state.SkipWithError("no controller");
        return;
    }
    auto& m = w.state();
    m.iComRetryCount = 0;
    m.iUsbRetryCount = 0;
    double wallMs = 0;
    double cpuMs = 0;
    for (auto _ : state) {
        w.boxes.shown.clear();
        const ProcessMeter meter;
        const CommandOutcome outcome = Rs232cCommand(w.serial(), "E");
        const double wall = meter.wallMs();
        wallMs += wall;
        cpuMs += meter.cpuMs();
        state.SetIterationTime(wall / 1000.0);
        if (outcome != CommandOutcome::Failed ||
            w.boxes.shown != std::vector<Shown>{{kNoiseMessage, 0x1010}}) {
            state.SkipWithError("the time-out did not end with the final message");
            break;
        }
    }
    state.counters["cpu_ms"] = cpuMs / static_cast<double>(state.iterations());
    state.counters["cpu_pct"] = 100.0 * cpuMs / wallMs;
}
BENCHMARK(BM_TimeoutCpu)->Iterations(2)->UseManualTime()->Unit(benchmark::kMillisecond);

} // namespace
