#pragma once

#include <cstdlib>
#include <filesystem>
#include <random>
#include <string>
#include <utility>

#include "serial/port_discovery.h"
#include "serial/serial_context.h"
#include "tests/support/fake_serial.h"

using Pieces = std::vector<std::pair<uint32_t, std::string>>;

// One window module's serial side over fakes with the start-up defaults, a private work folder.
struct SerialRig {
    SerialRig() {
        m.iUsbRetryCount = 1;
        m.iUsbRecoveryTime = 3000;
        m.iComRetryCount = 2;
        m.iComRecoveryTime = 3000;
    }
    ~SerialRig() { std::filesystem::remove_all(workFolder); }
    SerialRig(const SerialRig&) = delete;
    SerialRig& operator=(const SerialRig&) = delete;

    // COM<com> present and open, as after start-up.
    void openPort(int16_t com) {
        m.i_comPort = com;
        port.present = {com};
        Rs232cSetInit(c, com);
    }

    // The far end answers every line with these pieces, each after its delay.
    void replyInPieces(const Pieces& pieces) {
        port.onWrite = [this, pieces](int16_t, const std::string&) {
            for (const auto& [delay, bytes] : pieces) {
                pump.after(delay, [this, bytes] { port.receive(bytes); });
            }
        };
    }

    std::vector<std::string> shownTexts() const {
        std::vector<std::string> texts;
        for (const auto& s : boxes.shown) {
            texts.push_back(s.text);
        }
        return texts;
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
    FakeConsole console;
    ModuleState m;
    std::string workFolder = makeTempFolder();
    SerialContext c{m, port, clock, pump, boxes, console, "kelvara-devcon", workFolder};
};
