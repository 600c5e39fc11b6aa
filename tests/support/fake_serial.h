#pragma once

// A scripted serial world for the link's tests: one window module's serial side whose
// millisecond counter, event pump, port and device console are the test's. The pump jumps the
// clock to the next scheduled event or to the end of the pass; the port's far end is what the
// test schedules; the device console writes the test's listings.

#include <cstdint>
#include <functional>
#include <map>
#include <optional>
#include <ostream>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "serial/clock.h"
#include "serial/serial_context.h"

struct Shown {
    std::string text;
    int flags;
    bool operator==(const Shown&) const = default;
    // How a failing expectation names it.
    friend void PrintTo(const Shown& s, std::ostream* out) {
        *out << s.text << " (" << s.flags << ")";
    }
};

class RecordingBoxes : public MessageBoxes {
public:
    int messageBox(const std::string& text, int flags, const std::string&) override {
        shown.push_back({text, flags});
        return mb::kIdOk;
    }
    std::string inputBox(const std::string&, const std::string&) override { return answer; }
    std::vector<Shown> shown;
    std::string answer;
};

class RecordingTrace : public Trace {
public:
    void event(std::string_view text) override { events.emplace_back(text); }
    bool holds(std::string_view part) const {
        for (const auto& e : events) {
            if (e.find(part) != std::string::npos) {
                return true;
            }
        }
        return false;
    }
    std::vector<std::string> events;
};

using Pieces = std::vector<std::pair<uint32_t, std::string>>;

struct SerialRig : MillisecondCounter, EventPump, SerialControl, ProcessRunner {
    SerialRig();
    ~SerialRig() override;

    uint32_t timeGetTime() override { return now; }

    // Runs what at the counter reading t, or ms after now.
    void at(uint32_t t, std::function<void()> what) { events_.emplace(t, std::move(what)); }
    void after(uint32_t ms, std::function<void()> what) { at(now + ms, std::move(what)); }
    void processEvents(int64_t maxWaitMs) override;

    void setCommPort(int16_t com) override { port = com; }
    void setSettings(const std::string& s) override { settings = s; }
    bool portOpen() override { return open_; }
    void setPortOpen(bool open) override;
    int32_t inBufferCount() override { return static_cast<int32_t>(openRx().size()); }
    void setInBufferCount(int32_t) override;
    void output(const std::string& text) override;
    std::string input() override { return std::exchange(openRx(), {}); }

    // The device console: each run kept as its command line, "find USB*". A run that cannot
    // be started writes nothing.
    std::optional<int> run(const std::string& program, const std::vector<std::string>& args,
                           const std::string& stdoutFile) override;

    // COM<com> present and open, as after start-up.
    void openPort(int16_t com);
    // The adapter pulled: every use of the open port fails as the device gone, and reopening
    // finds no port. Plugged in again, the port opens.
    void unplug();
    void replug() { present.insert(port); }
    // Writes never complete: each one fails when its time-out (kWriteTimeoutMs) has passed.
    // With stuckCancel the cancel of such a write never completes either, and the close that
    // follows lets the handle go and says so.
    void hangWrites(bool stuckCancel);
    static constexpr uint32_t kWriteTimeoutMs = 1000;
    // The far end answers every line with these pieces, each after its delay.
    void replyInPieces(const Pieces& pieces);

    uint32_t now = 0;
    int passes = 0, opens = 0;
    std::set<int16_t> present;
    std::optional<SerialError> openFailure, writeFailure, purgeFailure;
    std::function<void(const std::string& text)> onWrite = [](const std::string&) {};
    std::vector<std::string> sent;
    std::vector<uint32_t> sendTimes;
    std::string rx, discarded, settings;
    int16_t port = 0;

    std::vector<std::string> runs;
    // The console's exit status by verb (0 when not given); nothing: it could not be started.
    std::map<std::string, std::optional<int>> consoleExits;
    std::string findListing;
    // Listing for the n-th status run (the last one repeats).
    std::vector<std::string> statusListings;
    std::function<void(const std::string& run)> onRun = [](const std::string&) {};

    RecordingBoxes boxes;
    Clock clock{*this};
    ModuleState m;
    std::string workFolder;
    SerialContext c{m, *this, clock, *this, boxes, *this, "kelvara-devcon", workFolder};

private:
    std::string& openRx();
    std::multimap<uint32_t, std::function<void()>> events_;
    bool open_ = false;
    bool handleGone_ = false, writesHang_ = false, cancelStuck_ = false, writeStuck_ = false;
    std::size_t statusRuns_ = 0;
};
