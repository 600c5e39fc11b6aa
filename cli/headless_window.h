#pragma once

#include <map>
#include <ostream>
#include <string>

#include "operations/control_names.h"
#include "session/session_window.h"

// The window of a command line: the boxes the operations fill, kept for the command to print;
// no timer, no dialogs to end, nothing to close.
class HeadlessWindow : public SessionWindow {
public:
    explicit HeadlessWindow(std::ostream& err) : err_(err) {}

    std::string text(BoxName box) override { return texts_[box]; }
    void setText(BoxName box, const std::string& text) override { texts_[box] = text; }
    void showFrame(FrameName) override {}
    bool timerEnabled() override { return false; }
    void setTimerEnabled(bool) override {}
    void setChecked(MenuName, bool) override {}
    void close() override {}
    void endDialogs() override {}
    void quit() override {}
    void logFault(const std::string& text) override {
        err_ << "kelvara-cli: fault: " << text << "\n";
    }

private:
    std::ostream& err_;
    std::map<BoxName, std::string> texts_;
};
