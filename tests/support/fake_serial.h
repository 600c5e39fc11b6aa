#pragma once

// A scripted serial world for the link's tests: a settable millisecond counter, an event
// pump that jumps the clock to the next scheduled event or to the end of the pass, a port
// whose received bytes and failures the test decides, and a recording message box.

#include <cstdint>
#include <functional>
#include <map>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "serial/clock.h"
#include "serial/event_pump.h"
#include "serial/message_boxes.h"
#include "serial/millisecond_counter.h"
#include "serial/process_runner.h"
#include "serial/serial_control.h"

class FakeCounter : public MillisecondCounter {
public:
    uint32_t timeGetTime() override { return now; }
    uint32_t now = 0;
};

class FakePump : public EventPump {
public:
    explicit FakePump(FakeCounter& counter) : counter_(counter) {}

    // Runs what at the counter reading t; t is relative to nothing, an absolute reading.
    void at(uint32_t t, std::function<void()> what) { events_.emplace(t, std::move(what)); }
    void after(uint32_t ms, std::function<void()> what) { at(counter_.now + ms, std::move(what)); }

    void processEvents(int64_t maxWaitMs) override {
        ++passes;
        const uint64_t until =
            counter_.now + static_cast<uint64_t>(std::max<int64_t>(maxWaitMs, 0));
        if (!events_.empty() && events_.begin()->first <= until) {
            auto first = events_.begin();
            counter_.now = std::max(counter_.now, first->first);
            auto what = std::move(first->second);
            events_.erase(first);
            what();
            return;
        }
        counter_.now = static_cast<uint32_t>(until);
    }

    int passes = 0;

private:
    FakeCounter& counter_;
    std::multimap<uint32_t, std::function<void()>> events_;
};

struct Sent {
    uint32_t at;
    std::string text;
};

class FakePort : public SerialControl {
public:
    explicit FakePort(FakeCounter& counter) : counter_(counter) {}

    void setCommPort(int16_t port) override { port_ = port; }
    void setSettings(const std::string& s) override { settings = s; }
    void setInputLen(int16_t len) override { inputLen = len; }
    bool portOpen() override { return open_; }
    void setPortOpen(bool open) override {
        if (!open) {
            open_ = false;
            return;
        }
        if (openFailure) {
            throw *openFailure;
        }
        if (!present.count(port_)) {
            throw SerialError(kErrPortNotExist, "Port number does not exist");
        }
        open_ = true;
        ++opens;
        openedPorts.push_back(port_);
    }
    int32_t inBufferCount() override {
        failIfClosed();
        return static_cast<int32_t>(rx.size());
    }
    void setInBufferCount(int32_t) override {
        failIfClosed();
        discarded += rx;
        rx.clear();
    }
    void output(const std::string& text) override {
        failIfClosed();
        if (writeFailure) {
            auto failure = *writeFailure;
            writeFailure.reset();
            throw failure;
        }
        sent.push_back({counter_.now, text});
        if (onWrite) {
            onWrite(port_, text);
        }
    }
    std::string input() override {
        failIfClosed();
        std::string all;
        all.swap(rx);
        return all;
    }

    // Bytes arriving from the far end.
    void receive(const std::string& bytes) { rx += bytes; }
    std::vector<std::string> sentTexts() const {
        std::vector<std::string> texts;
        for (const auto& s : sent) {
            texts.push_back(s.text);
        }
        return texts;
    }
    std::vector<uint32_t> sendTimes() const {
        std::vector<uint32_t> times;
        for (const auto& s : sent) {
            times.push_back(s.at);
        }
        return times;
    }

    std::set<int16_t> present;
    std::optional<SerialError> openFailure;
    std::optional<SerialError> writeFailure;
    std::function<void(int16_t port, const std::string& text)> onWrite;
    std::vector<Sent> sent;
    std::vector<int16_t> openedPorts;
    std::string rx;
    std::string discarded;
    std::string settings;
    int16_t inputLen = -1;
    int opens = 0;

private:
    void failIfClosed() const {
        if (!open_) {
            throw SerialError(8018, "The operation is valid only if the port is open");
        }
    }
    FakeCounter& counter_;
    int16_t port_ = 0;
    bool open_ = false;
};

struct Shown {
    std::string text;
    int flags;
    std::string title;
};

class RecordingBoxes : public MessageBoxes {
public:
    int messageBox(const std::string& text, int flags, const std::string& title) override {
        shown.push_back({text, flags, title});
        return mb::kIdOk;
    }
    std::string inputBox(const std::string&, const std::string&) override { return answer; }
    std::vector<Shown> shown;
    std::string answer;
};

// The device console: per verb a listing written to the redirect file. Each run is kept as
// its command line, "find USB*".
class FakeConsole : public ProcessRunner {
public:
    std::optional<int> run(const std::string& program, const std::vector<std::string>& args,
                           const std::string& stdoutFile) override;

    std::vector<std::string> runs;
    std::string findListing;
    // Listing for the n-th status run (the last one repeats).
    std::vector<std::string> statusListings;
    bool startable = true;
    std::function<void(const std::string& run)> onRun;

private:
    std::size_t statusRuns_ = 0;
};
