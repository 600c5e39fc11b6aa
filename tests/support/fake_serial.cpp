#include "tests/support/fake_serial.h"

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <random>

#include "serial/port_discovery.h"

// The start-up defaults, in a fresh work folder of the rig's own.
SerialRig::SerialRig()
    : workFolder((std::filesystem::temp_directory_path() /
                  ("kelvara-test-" + std::to_string(std::random_device()())))
                     .string()) {
    std::filesystem::create_directory(workFolder);
    m.iUsbRetryCount = 1;
    m.iUsbRecoveryTime = 3000;
    m.iComRetryCount = 2;
    m.iComRecoveryTime = 3000;
}

SerialRig::~SerialRig() { std::filesystem::remove_all(workFolder); }

void SerialRig::processEvents(int64_t maxWaitMs) {
    ++passes;
    const uint64_t until = now + static_cast<uint64_t>(std::max<int64_t>(maxWaitMs, 0));
    if (!events_.empty() && events_.begin()->first <= until) {
        auto first = events_.begin();
        now = std::max(now, first->first);
        auto what = std::move(first->second);
        events_.erase(first);
        what();
        return;
    }
    now = static_cast<uint32_t>(until);
}

void SerialRig::setPortOpen(bool open) {
    if (open && openFailure) {
        throw *openFailure;
    }
    if (open && !present.contains(port)) {
        throw SerialError(kErrPortNotExist, "Port number does not exist");
    }
    opens += open ? 1 : 0;
    open_ = open;
    handleGone_ = false;
    if (!open && std::exchange(writeStuck_, false)) {
        throw SerialError(121, "The semaphore timeout period has expired.");
    }
}

std::string& SerialRig::openRx() {
    if (!open_) {
        throw SerialError(8018, "The operation is valid only if the port is open");
    }
    if (handleGone_) {
        throw SerialError(1167, "The device is not connected.", SerialFailure::DeviceGone);
    }
    return rx;
}

void SerialRig::unplug() {
    handleGone_ = open_;
    present.erase(port);
}

void SerialRig::hangWrites(bool stuckCancel) {
    writesHang_ = true;
    cancelStuck_ = stuckCancel;
}

void SerialRig::setInBufferCount(int32_t) {
    if (purgeFailure) {
        throw *purgeFailure;
    }
    discarded += std::exchange(openRx(), {});
}

void SerialRig::output(const std::string& text) {
    openRx();
    if (writeFailure) {
        throw *std::exchange(writeFailure, std::nullopt);
    }
    if (writesHang_) {
        now += kWriteTimeoutMs;
        writeStuck_ = cancelStuck_;
        throw SerialError(121, "The semaphore timeout period has expired.");
    }
    sent.push_back(text);
    sendTimes.push_back(now);
    onWrite(text);
}

std::optional<int> SerialRig::run(const std::string&, const std::vector<std::string>& args,
                                  const std::string& stdoutFile) {
    std::string line;
    for (const auto& a : args) {
        line += (line.empty() ? "" : " ") + a;
    }
    runs.push_back(line);
    onRun(line);
    const auto exit = consoleExits.find(args[0]);
    if (exit != consoleExits.end() && !exit->second) {
        return std::nullopt;
    }
    std::ofstream out(stdoutFile, std::ios::binary | std::ios::trunc);
    if (args[0] == "find") {
        out << findListing;
    } else if (args[0] == "status" && !statusListings.empty()) {
        out << statusListings[std::min(statusRuns_++, statusListings.size() - 1)];
    }
    return exit == consoleExits.end() ? 0 : *exit->second;
}

void SerialRig::openPort(int16_t com) {
    m.i_comPort = com;
    present = {com};
    Rs232cSetInit(c, com);
}

void SerialRig::replyInPieces(const Pieces& pieces) {
    onWrite = [this, pieces](const std::string&) {
        for (const auto& piece : pieces) {
            after(piece.first, [this, bytes = piece.second] { rx += bytes; });
        }
    };
}
