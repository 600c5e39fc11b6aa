// Rs232cCommand over the Win32 layers under Wine against kelvara-sim: "E" round trips on a
// port, and the CPU spent while a silent port holds a transaction for its 3000 ms time-out.
//   kelvara_win32_bench ROUND_TRIP_PORT COUNT [SILENT_PORT]

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "bench/win32/process_cpu.h"
#include "platform/win32/work_folder.h"
#include "serial/port_discovery.h"
#include "serial/transaction.h"
#include "tests/win32/win32_rig.h"

namespace {

double nowUs() {
    LARGE_INTEGER count;
    LARGE_INTEGER frequency;
    QueryPerformanceCounter(&count);
    QueryPerformanceFrequency(&frequency);
    return static_cast<double>(count.QuadPart) * 1e6 / static_cast<double>(frequency.QuadPart);
}

double percentile(std::vector<double> values, double p) {
    std::sort(values.begin(), values.end());
    const auto at = static_cast<std::size_t>(p / 100.0 * static_cast<double>(values.size() - 1));
    return values[at];
}

} // namespace

int main(int argc, char** argv) {
    if (argc < 3) {
        std::fprintf(stderr, "usage: %s ROUND_TRIP_PORT COUNT [SILENT_PORT]\n", argv[0]);
        return 2;
    }
    const auto port = static_cast<int16_t>(std::stoi(argv[1]));
    const int count = std::stoi(argv[2]);
    Win32Rig rig(win32::applicationFolder(), "no-device-console");
    if (Rs232cSetInit(rig.c, port)) {
        std::fprintf(stderr, "COM%d does not open\n", port);
        return 1;
    }
    rig.m.i_comPort = port;
    std::vector<double> roundTrips;
    const double cpu0 = processCpuMs();
    const double wall0 = nowUs();
    for (int i = 0; i < count; ++i) {
        const double start = nowUs();
        if (Rs232cCommand(rig.c, "E") != CommandOutcome::Complete) {
            std::fprintf(stderr, "no complete reply\n");
            return 1;
        }
        roundTrips.push_back(nowUs() - start);
    }
    const double cpuPct = 100.0 * (processCpuMs() - cpu0) / ((nowUs() - wall0) / 1000.0);
    std::printf("COM%d \"E\" x%d: p50 %.0f us, p99 %.0f us, CPU %.1f %%\n", port, count,
                percentile(roundTrips, 50), percentile(roundTrips, 99), cpuPct);
    Rs232cClose(rig.c);

    if (argc > 3) {
        const auto silent = static_cast<int16_t>(std::stoi(argv[3]));
        if (Rs232cSetInit(rig.c, silent)) {
            return 1;
        }
        rig.m.i_comPort = silent;
        rig.m.iComRetryCount = 0;
        rig.m.iUsbRetryCount = 0;
        const double c0 = processCpuMs();
        const double w0 = nowUs();
        Rs232cCommand(rig.c, "E");
        const double wallMs = (nowUs() - w0) / 1000.0;
        const double cpu = processCpuMs() - c0;
        std::printf("COM%d time-out: %.0f ms wall, %.2f ms CPU = %.3f %%\n", silent, wallMs, cpu,
                    100.0 * cpu / wallMs);
    }
    return 0;
}
