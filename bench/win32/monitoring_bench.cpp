// Interval monitoring of the window for 30 s at wire pacing, against kelvara-sim on COM3 (run
// by bench.sh). Each tick is timed from Timer1's expiry reaching the message loop to its
// procedure's return; an expiry that comes while a tick runs is a skipped one.
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <vector>

#include "app/win32/form1_window.h"

#include "app/win32/form1_layout.h"
#include "bench/win32/process_cpu.h"
#include "tests/support/session_access.h"

#include <psapi.h>

namespace {

using Steady = std::chrono::steady_clock;

constexpr auto kRun = std::chrono::seconds(30);
// Request and reply bytes of one tick ("E", "A1", three "S1"), 86.8 us each, and the 50 ms wait.
constexpr double kFloorMs = 50 + (3 + 27 + 4 + 3 + 3 * (4 + 16)) * 10.0 / 115.2;

Form1Window* form = nullptr;
int skipped = 0;

LRESULT CALLBACK countSkipped(int code, WPARAM wParam, LPARAM lParam) {
    const auto* msg = reinterpret_cast<const MSG*>(lParam);
    if (code == HC_ACTION && wParam == PM_REMOVE && msg->message == WM_TIMER &&
        SessionAccess::state(form->session()).bTickRunning) {
        ++skipped;
    }
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

double residentMiB() {
    PROCESS_MEMORY_COUNTERS counters{};
    GetProcessMemoryInfo(GetCurrentProcess(), &counters, sizeof counters);
    return static_cast<double>(counters.WorkingSetSize) / (1024.0 * 1024.0);
}

} // namespace

int wmain() {
    Form1Window window(GetModuleHandleW(nullptr));
    form = &window;
    if (!window.session().Form_Load()) {
        std::puts("no controller");
        return 1;
    }
    window.show(SW_SHOWNORMAL);
    SetWindowsHookExW(WH_GETMESSAGE, countSkipped, nullptr, GetCurrentThreadId());
    std::vector<double> ticks;
    double rssAfter1s = 0;
    const auto start = Steady::now();
    const double cpuStart = processCpuMs();
    SendMessageW(window.handle(), WM_COMMAND, form1::kMenu[0].id, 0);
    MSG msg;
    while (Steady::now() - start < kRun && GetMessageW(&msg, nullptr, 0, 0) > 0) {
        if (rssAfter1s == 0 && Steady::now() - start > std::chrono::seconds(1)) {
            rssAfter1s = residentMiB();
        }
        const bool tick = msg.message == WM_TIMER && msg.hwnd == window.handle();
        const auto t0 = Steady::now();
        if (!IsDialogMessageW(window.handle(), &msg)) {
            TranslateMessage(&msg);
            DispatchMessageW(&msg);
        }
        if (tick) {
            ticks.push_back(std::chrono::duration<double, std::milli>(Steady::now() - t0).count());
        }
    }
    const double wallMs = std::chrono::duration<double, std::milli>(Steady::now() - start).count();
    const double cpu = processCpuMs() - cpuStart;
    double sum = 0;
    for (const double t : ticks) {
        sum += t;
    }
    std::sort(ticks.begin(), ticks.end());
    const double mean = ticks.empty() ? 0 : sum / static_cast<double>(ticks.size());
    std::printf("ticks %zu in %.2f s = %.2f ticks/s, skipped %d\n", ticks.size(), wallMs / 1000,
                1000.0 * static_cast<double>(ticks.size()) / wallMs, skipped);
    std::printf("tick mean %.2f ms, p99 %.2f ms, floor %.2f ms, over floor %.2f ms\n", mean,
                ticks.empty() ? 0 : ticks[ticks.size() * 99 / 100], kFloorMs, mean - kFloorMs);
    std::printf("cpu %.1f ms of %.0f ms = %.2f %% of a core\n", cpu, wallMs, 100 * cpu / wallMs);
    std::printf("resident %.2f MiB after 1 s, %.2f MiB after 30 s\n", rssAfter1s, residentMiB());
    return 0;
}
