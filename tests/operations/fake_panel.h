#pragma once

#include <deque>
#include <functional>
#include <map>
#include <ostream>
#include <string>
#include <utility>
#include <vector>

#include "operations/panel.h"
#include "tests/support/by_name.h"

using enum CommandOutcome;
using Strings = std::vector<std::string>;
using Texts = ByName<BoxName, std::string>;
using Marks = ByName<MenuName, bool>;
using Click = std::function<void(Panel&)>;

// One scripted transaction: the reply, how the call ends, and what runs while it waits.
struct Exchange {
    std::string reply;
    CommandOutcome outcome = Complete;
    std::function<void()> during = [] {};
};

// Link, window and message boxes of a panel with a port open. Like the real link, a call
// while another transaction is open is refused without sending and leaves sRecvBuf alone.
struct FakePanel : CommandLink, Window, MessageBoxes {
    ModuleState m;
    Panel p{m, *this, *this, *this};
    // Exchanges per command, used in turn; an unscripted command is answered with its letter
    // and a 0.
    std::map<std::string, std::deque<Exchange>> script;
    std::function<void()> duringWait = [] {}, whileBoxOpen = [] {};
    Strings sent, refused; // sent includes the waits ("wait 50")
    Texts texts;
    Strings frames, prompts, answers, shown;
    Marks checked;
    bool timer = false;
    int timerEnables = 0;

    FakePanel() { m.i_comPort = 3; }
    void answer(const std::string& cmd, Exchange e) { script[cmd].push_back(std::move(e)); }

    CommandOutcome Rs232cCommand(const std::string& cmd) override {
        Exchange e{cmd.substr(0, 1) + "0;"};
        if (auto it = script.find(cmd); it != script.end() && !it->second.empty()) {
            e = std::move(it->second.front());
            it->second.pop_front();
        }
        // A scripted refusal stands for a transaction opened elsewhere.
        if (m.bCommBusy != 0 || e.outcome == Refused) {
            refused.push_back(cmd);
            return Refused;
        }
        sent.push_back(cmd);
        m.bCommBusy = 1;
        m.sRecvBuf.clear();
        e.during();
        m.sRecvBuf = e.reply;
        m.bCommBusy = 0;
        return e.outcome;
    }
    bool waitmSec(int32_t mS) override {
        sent.push_back("wait " + std::to_string(mS));
        duringWait();
        return !m.bUnloading;
    }

    std::string text(BoxName box) override { return texts[box]; }
    void setText(BoxName box, const std::string& text) override { texts[box] = text; }
    void showFrame(FrameName frame) override { frames.push_back(frame); }
    bool timerEnabled() override { return timer; }
    void setTimerEnabled(bool on) override {
        timerEnables += on ? 1 : 0;
        timer = on;
    }
    void setChecked(MenuName entry, bool on) override { checked[entry] = on; }

    int messageBox(const std::string& text, int, const std::string&) override {
        shown.push_back(text);
        std::exchange(whileBoxOpen, [] {})();
        return mb::kIdOk;
    }
    std::string inputBox(const std::string& prompt, const std::string&) override {
        prompts.push_back(prompt);
        return prompts.size() <= answers.size() ? answers[prompts.size() - 1] : "";
    }
};
