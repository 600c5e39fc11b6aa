#pragma once

#include <cstdlib>
#include <filesystem>
#include <random>
#include <string>

#include "serial/serial_context.h"
#include "tests/support/fake_serial.h"

// One window module's serial side over fakes, with a private work folder.
struct SerialRig {
    SerialRig() = default;
    ~SerialRig() { std::filesystem::remove_all(workFolder); }
    SerialRig(const SerialRig&) = delete;
    SerialRig& operator=(const SerialRig&) = delete;

    // The start-up defaults.
    void defaults() {
        m.iUsbRetryCount = 1;
        m.iUsbRecoveryTime = 3000;
        m.iComRetryCount = 2;
        m.iComRecoveryTime = 3000;
    }

    // The far end answers every line with reply after delayMs.
    void answerWith(const std::string& reply, uint32_t delayMs = 5) {
        port.onWrite = [this, reply, delayMs](int16_t, const std::string&) {
            pump.after(delayMs, [this, reply] { port.receive(reply); });
        };
    }

    static std::string makeTempFolder() {
#ifdef _WIN32
        // MinGW's C library has no mkdtemp.
        std::random_device random;
        for (;;) {
            const auto dir = std::filesystem::temp_directory_path() /
                             ("kelvara-test-" + std::to_string(random()));
            if (std::filesystem::create_directory(dir)) {
                return dir.string();
            }
        }
#else
        char dir[] = "/tmp/kelvara-test-XXXXXX";
        return mkdtemp(dir);
#endif
    }

    FakeCounter counter;
    FakePump pump{counter};
    FakePort port{counter};
    Clock clock{counter};
    RecordingBoxes boxes;
    FakeConsole console{counter};
    ModuleState m;
    std::string workFolder = makeTempFolder();
    SerialContext c{m, port, clock, pump, boxes, console, "kelvara-devcon", workFolder};
};
