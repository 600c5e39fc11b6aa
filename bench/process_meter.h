#pragma once

#include <algorithm>
#include <chrono>
#include <cmath>
#include <ctime>
#include <fstream>
#include <string>
#include <vector>

// Wall time and this process's CPU time (all threads) since construction.
class ProcessMeter {
public:
    ProcessMeter() : wall0_(std::chrono::steady_clock::now()), cpu0_(cpuSeconds()) {}

    double wallMs() const {
        return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - wall0_)
            .count();
    }
    double cpuMs() const { return (cpuSeconds() - cpu0_) * 1000.0; }

private:
    static double cpuSeconds() {
        timespec t{};
        clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
        return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_nsec) * 1e-9;
    }

    std::chrono::steady_clock::time_point wall0_;
    double cpu0_;
};

// VmRSS of this process in KiB, 0 when unreadable.
inline double residentKiB() {
    std::ifstream status("/proc/self/status");
    std::string key;
    while (status >> key) {
        if (key == "VmRSS:") {
            double kib = 0;
            status >> kib;
            return kib;
        }
        status.ignore(1 << 16, '\n');
    }
    return 0;
}

// Nearest-rank percentile, p in (0, 100].
inline double percentile(std::vector<double> samples, double p) {
    if (samples.empty()) {
        return 0;
    }
    std::sort(samples.begin(), samples.end());
    const auto rank =
        static_cast<std::size_t>(std::ceil(p / 100.0 * static_cast<double>(samples.size())));
    return samples[std::clamp<std::size_t>(rank, 1, samples.size()) - 1];
}

// Time of n bytes on a 115200,N,8,1 line: 10 bits a byte.
inline double wireMs(int bytes) { return bytes * 10.0 / 115200.0 * 1000.0; }
