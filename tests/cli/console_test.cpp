#include <gtest/gtest.h>

#include <sstream>

#include "cli/console_boxes.h"
#include "cli/interruptible_pump.h"

TEST(ConsoleBoxes, ABoxIsOneLineAndNothingIsAskedWithoutATerminal) {
    struct Case {
        std::optional<std::string> typed;
        std::string answer;
        bool answered;
    };
    const Case cases[] = {{"qvx", "qvx", true}, {std::nullopt, "", false}};
    for (const Case& c : cases) {
        std::ostringstream err;
        std::vector<std::string> prompts;
        ConsoleBoxes boxes(err, [&](const std::string& prompt) {
            prompts.push_back(prompt);
            return c.typed;
        });
        EXPECT_EQ(boxes.messageBox("The abnormality by the noise occurred.\r\rPlease reboot.",
                                   mb::kIconError, kAppTitle),
                  mb::kIdOk);
        EXPECT_EQ(err.str(),
                  "kelvara-cli: The abnormality by the noise occurred. Please reboot.\n");
        EXPECT_EQ(boxes.inputBox("Password?", kAppTitle), c.answer);
        EXPECT_EQ(boxes.terminalAnswered(), c.answered);
        EXPECT_EQ(prompts, std::vector<std::string>{"Password?"});
    }
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
