#include <gtest/gtest.h>

#include <sstream>

#include "cli/console_boxes.h"
#include "cli/interruptible_pump.h"

// What the technician types at the terminal is the input box's answer. A box as one line, and
// no terminal at all, are proven by kelvara-cli's own runs.
TEST(ConsoleBoxes, TheTerminalsAnswerIsTheInputBoxs) {
    std::ostringstream err;
    std::vector<std::string> prompts;
    ConsoleBoxes boxes(err, [&](const std::string& prompt) {
        prompts.push_back(prompt);
        return std::optional<std::string>("qvx");
    });
    EXPECT_EQ(boxes.inputBox("Password?", kAppTitle), "qvx");
    EXPECT_TRUE(boxes.terminalAnswered());
    EXPECT_EQ(prompts, std::vector<std::string>{"Password?"});
}

namespace {

struct RecordingPump : EventPump {
    void processEvents(int64_t maxWaitMs) override { waits.push_back(maxWaitMs); }
    std::vector<int64_t> waits;
};

} // namespace

// A long wait is cut into passes short enough to see Ctrl+C, which ends the waits once.
TEST(InterruptiblePump, SeesAnInterruptWithinAPassAndActsOnce) {
    RecordingPump inner;
    bool interrupted = false;
    int unloads = 0;
    InterruptiblePump pump(inner, [&] { return interrupted; });
    pump.onInterrupt = [&] { ++unloads; };
    pump.processEvents(3001);
    pump.processEvents(20);
    interrupted = true;
    pump.processEvents(3001);
    pump.processEvents(3001);
    EXPECT_EQ(inner.waits, (std::vector<int64_t>{100, 20, 100, 100}));
    EXPECT_EQ(unloads, 1);
}
