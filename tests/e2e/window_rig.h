#pragma once

#include <QAction>
#include <QPushButton>
#include <QTest>
#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include "app/Form1.h"
#include "platform/linux/port_link_folder.h"
#include "platform/qt/qt_process_runner.h"
#include "sim/sim_control.h"
#include "sim/sim_process.h"
#include "tests/support/fake_serial.h"
#include "tests/support/session_access.h"

struct SilentTones : TonePlayer {
    void Beep(uint32_t, uint32_t) override {}
};

// Form1 with recording boxes, silent tones, the fake device console, and COM names restricted
// to the port-link folder.
struct WindowRig {
    WindowRig() {
        portlinks::ensureTrustedFolder(portlinks::workFolder());
        std::remove((portlinks::workFolder() + "/fake-devcon.log").c_str());
        form = std::make_unique<Form1>(
            Form1Seams{boxes, tones, console, SimProcess::besideExecutable("kelvara-fake-devcon"),
                       portlinks::portLinkFolder(), portlinks::workFolder(), /*linksOnly=*/true});
    }

    void click(ButtonName button) {
        QTest::mouseClick(form->findChild<QPushButton*>(QString::fromUtf8(button.designerName())),
                          Qt::LeftButton);
    }
    void choose(MenuName entry) {
        form->findChild<QAction*>(QString::fromUtf8(entry.designerName()))->trigger();
    }

    std::string text(BoxName box) { return form->text(box); }
    Session& session() { return form->session(); }
    ModuleState& state() { return SessionAccess::state(session()); }
    SerialContext& serial() { return SessionAccess::serial(session()); }

    RecordingBoxes boxes;
    SilentTones tones;
    QtProcessRunner console;
    std::unique_ptr<Form1> form;
};

// kelvara-sim on COM<com> and the window started against it, with short time-outs.
struct SimulatedWindow : WindowRig {
    explicit SimulatedWindow(int com, std::vector<std::string> simArgs = {},
                             int32_t timeoutMs = 400) {
        simArgs.insert(simArgs.end(), {"--port", std::to_string(com)});
        ready = sim.start(simArgs) && session().Form_Load();
        state().iComRecoveryTime = timeoutMs;
        state().iUsbRecoveryTime = 100;
    }
    SimProcess sim;
    bool ready = false;
};
