// The floor of interval monitoring under Wine: a minimal Win32 program that does only what a
// tick must, for 30 s against kelvara-sim on COM3 (run by bench.sh beside monitoring_bench).
// Every 100 ms: "E", "A1", a 50 ms wait, three "S1", each answered up to its ";". Bytes are
// awaited with a one-byte overlapped read re-armed after each piece, the rest of a piece taken
// with ClearCommError and one read, every wait in MsgWaitForMultipleObjects.
#include <windows.h>

#include <chrono>
#include <cstdio>
#include <string>

#include "bench/win32/process_cpu.h"

namespace {

using Steady = std::chrono::steady_clock;

constexpr auto kRun = std::chrono::seconds(30);
constexpr auto kInterval = std::chrono::milliseconds(100);

struct Line {
    HANDLE port;
    HANDLE arrived = CreateEventW(nullptr, FALSE, FALSE, nullptr);
    HANDLE done = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    OVERLAPPED pending{};
    char byte = 0;
    bool armed = false;
};

void pumpUntil(HANDLE event, DWORD timeoutMs) {
    MsgWaitForMultipleObjects(event == nullptr ? 0 : 1, &event, FALSE, timeoutMs, QS_ALLINPUT);
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
        DispatchMessageW(&msg);
    }
}

// Everything that has arrived, the read left armed for the next byte.
std::string collect(Line& l) {
    std::string got;
    for (;;) {
        DWORD count = 0;
        if (l.armed) {
            if (!GetOverlappedResult(l.port, &l.pending, &count, FALSE)) {
                return got;
            }
            got.append(&l.byte, count);
            l.armed = false;
        }
        DWORD errors = 0;
        COMSTAT status{};
        ClearCommError(l.port, &errors, &status);
        if (status.cbInQue > 0) {
            std::string rest(status.cbInQue, '\0');
            OVERLAPPED read{};
            read.hEvent = l.done;
            if (!ReadFile(l.port, rest.data(), status.cbInQue, &count, &read)) {
                GetOverlappedResult(l.port, &read, &count, TRUE);
            }
            got.append(rest.data(), count);
        }
        l.pending = OVERLAPPED{};
        l.pending.hEvent = l.arrived;
        if (!ReadFile(l.port, &l.byte, 1, &count, &l.pending)) {
            l.armed = true;
            return got;
        }
        got.append(&l.byte, count);
    }
}

bool exchange(Line& l, const char* cmd) {
    const std::string out = std::string(cmd) + "\r\n";
    OVERLAPPED write{};
    write.hEvent = l.done;
    DWORD count = 0;
    if (!WriteFile(l.port, out.data(), static_cast<DWORD>(out.size()), &count, &write)) {
        GetOverlappedResult(l.port, &write, &count, TRUE);
    }
    std::string reply;
    const auto end = Steady::now() + std::chrono::seconds(3);
    while (reply.find(';') == std::string::npos) {
        if (Steady::now() > end) {
            return false;
        }
        pumpUntil(l.arrived, 3000);
        reply += collect(l);
    }
    return true;
}

} // namespace

int main() {
    Line l{CreateFileW(L"\\\\.\\COM3", GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING,
                       FILE_FLAG_OVERLAPPED, nullptr)};
    DCB dcb{};
    dcb.DCBlength = sizeof dcb;
    GetCommState(l.port, &dcb);
    dcb.BaudRate = CBR_115200;
    dcb.ByteSize = 8;
    dcb.Parity = NOPARITY;
    dcb.StopBits = ONESTOPBIT;
    COMMTIMEOUTS timeouts{};
    if (l.port == INVALID_HANDLE_VALUE || !SetCommState(l.port, &dcb) ||
        !SetCommTimeouts(l.port, &timeouts)) {
        std::puts("no controller");
        return 1;
    }
    collect(l);
    int ticks = 0;
    int failed = 0;
    const auto start = Steady::now();
    const double cpuStart = processCpuMs();
    for (auto next = start + kInterval; next < start + kRun; next += kInterval) {
        while (Steady::now() < next) {
            const auto left = std::chrono::ceil<std::chrono::milliseconds>(next - Steady::now());
            pumpUntil(nullptr, static_cast<DWORD>(left.count()));
        }
        bool ok = exchange(l, "E") && exchange(l, "A1");
        const auto waitEnd = Steady::now() + std::chrono::milliseconds(50);
        while (Steady::now() < waitEnd) {
            const auto left = std::chrono::ceil<std::chrono::milliseconds>(waitEnd - Steady::now());
            pumpUntil(l.arrived, static_cast<DWORD>(left.count()));
        }
        for (int sample = 0; sample < 3; ++sample) {
            ok = ok && exchange(l, "S1");
        }
        ++ticks;
        failed += ok ? 0 : 1;
    }
    const double wallMs = std::chrono::duration<double, std::milli>(Steady::now() - start).count();
    const double cpu = processCpuMs() - cpuStart;
    std::printf("floor: ticks %d (failed %d) in %.2f s\n", ticks, failed, wallMs / 1000);
    std::printf("floor: cpu %.1f ms of %.0f ms = %.2f %% of a core\n", cpu, wallMs,
                100 * cpu / wallMs);
    CloseHandle(l.port);
    return 0;
}
