#pragma once

#include <QTest>
#include <stdexcept>

#include "app/Form1.h"
#include "platform/tone_player.h"
#include "serial/message_boxes.h"
#include "serial/process_runner.h"

// The real window, never loaded: no port is scanned, so its outside facilities stay idle.
struct Form1Rig : MessageBoxes, TonePlayer, ProcessRunner {
    int messageBox(const std::string&, int, const std::string&) override { return mb::kIdOk; }
    std::string inputBox(const std::string&, const std::string&) override { return {}; }
    void Beep(uint32_t, uint32_t) override {}
    std::optional<int> run(const std::string&, const std::vector<std::string>&,
                           const std::string&) override {
        return std::nullopt;
    }

    Form1 form{Form1Seams{*this, *this, *this, "", "", "", /*linksOnly=*/true}};

    template <typename Control> Control* child(const char* name) {
        if (auto* control = form.findChild<Control*>(name)) {
            return control;
        }
        throw std::invalid_argument(std::string("no control ") + name);
    }

    // Focus only moves in an active window, also under the offscreen platform.
    bool showActive() {
        form.show();
        form.activateWindow();
        return QTest::qWaitForWindowActive(&form);
    }
};
