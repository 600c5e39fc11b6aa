#pragma once

#include <deque>
#include <functional>
#include <map>
#include <string>
#include <utility>
#include <vector>

#include "operations/panel.h"

using enum CommandOutcome;
using Commands = std::vector<std::string>;
using Texts = std::map<std::string, std::string>;

// One scripted transaction: what the controller answers, how the call ends, and what
// happens while it waits (a nested click or tick runs with the link busy).
struct Exchange {
    Exchange(std::string reply, CommandOutcome outcome = Complete,
             std::function<void()> during = {})
        : reply(std::move(reply)), outcome(outcome), during(std::move(during)) {}

    std::string reply;
    CommandOutcome outcome;
    std::function<void()> during;
};

// Behaves like the real link towards its callers: a call while another transaction is open
// is refused without sending and leaves sRecvBuf alone.
class FakeLink : public CommandLink {
public:
    explicit FakeLink(ModuleState& m) : m_(m) {}

    // Scripted exchanges per command, used in turn; an unscripted command is answered with
    // its letter and ";".
    std::map<std::string, std::deque<Exchange>> script;
    // Run while a wait lasts.
    std::function<void()> duringWait;
    // Everything that went out, waits included ("wait 50").
    Commands sent;
    Commands refused;

    void answer(const std::string& cmd, Exchange exchange) {
        script[cmd].push_back(std::move(exchange));
    }

    CommandOutcome Rs232cCommand(const std::string& cmd) override {
        // Nothing may be sent once the window is unloading.
        if (m_.bUnloading) {
            sent.push_back(cmd + " after unload");
            return Closing;
        }
        Exchange exchange{cmd.substr(0, 1) + ";"};
        if (auto it = script.find(cmd); it != script.end() && !it->second.empty()) {
            exchange = std::move(it->second.front());
            it->second.pop_front();
        }
        // A scripted refusal stands for a transaction opened elsewhere.
        if (m_.bCommBusy != 0 || exchange.outcome == Refused) {
            refused.push_back(cmd);
            return Refused;
        }
        sent.push_back(cmd);
        m_.bCommBusy = 1;
        m_.sRecvBuf.clear();
        if (exchange.during)
            exchange.during();
        m_.sRecvBuf = exchange.reply;
        m_.bCommBusy = 0;
        return exchange.outcome;
    }

    bool waitmSec(int32_t mS) override {
        sent.push_back("wait " + std::to_string(mS));
        if (duringWait)
            duringWait();
        return !m_.bUnloading;
    }

private:
    ModuleState& m_;
};

class FakeWindow : public Window {
public:
    Texts texts;
    std::vector<std::string> framesShown;
    std::map<std::string, bool> checked;
    bool timer = false;
    int timerEnables = 0;

    std::string text(const std::string& box) override { return texts[box]; }
    void setText(const std::string& box, const std::string& text) override { texts[box] = text; }
    void showFrame(const std::string& frame) override { framesShown.push_back(frame); }
    bool timerEnabled() override { return timer; }
    void setTimerEnabled(bool enabled) override {
        timerEnables += enabled ? 1 : 0;
        timer = enabled;
    }
    void setChecked(const std::string& menuEntry, bool on) override { checked[menuEntry] = on; }
};

class RecordingBoxes : public MessageBoxes {
public:
    struct Shown {
        std::string text;
        int flags;
        std::string title;
    };
    std::vector<Shown> shown;
    std::vector<std::string> prompts;
    std::deque<std::string> answers;
    // Run while a message box is open.
    std::function<void()> whileOpen;

    int messageBox(const std::string& text, int flags, const std::string& title) override {
        shown.push_back({text, flags, title});
        if (auto run = std::exchange(whileOpen, nullptr))
            run();
        return mb::IDOK;
    }
    std::string inputBox(const std::string& prompt, const std::string& title) override {
        prompts.push_back(prompt + "|" + title);
        std::string answer = answers.empty() ? "" : answers.front();
        if (!answers.empty())
            answers.pop_front();
        return answer;
    }
};

// A panel over the fakes with a port open.
struct FakePanel {
    ModuleState m;
    FakeLink link{m};
    FakeWindow w;
    RecordingBoxes boxes;
    Panel p{m, link, w, boxes};

    FakePanel() { m.i_comPort = 3; }
};
