#pragma once

#include <memory>
#include <string>
#include <vector>

#include "app/Form1.h"
#include "platform/linux/port_link_folder.h"
#include "platform/qt/qt_process_runner.h"
#include "platform/tone_player.h"
#include "serial/message_boxes.h"
#include "sim/sim_process.h"

// Message boxes that only remember what they were asked to show.
class RecordedBoxes : public MessageBoxes {
public:
    int messageBox(const std::string& text, int, const std::string&) override {
        shown.push_back(text);
        return mb::IDOK;
    }
    std::string inputBox(const std::string&, const std::string&) override { return {}; }
    std::vector<std::string> shown;
};

class SilentTones : public TonePlayer {
public:
    void Beep(uint32_t, uint32_t) override {}
};

// Form1 as the program builds it, with COM names restricted to the port-link folder.
struct BenchWindow {
    BenchWindow() {
        portlinks::ensureTrustedFolder(portlinks::portLinkFolder());
        form = std::make_unique<Form1>(Form1Seams{
            boxes, tones, console, SimProcess::besideExecutable("kelvara-fake-devcon"),
            portlinks::portLinkFolder(), portlinks::workFolder(), ComNameTable::Scope::LinksOnly});
    }

    RecordedBoxes boxes;
    SilentTones tones;
    QtProcessRunner console;
    std::unique_ptr<Form1> form;
};
