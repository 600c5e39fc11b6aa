#include "session/lifecycle.h"

#include "operations/ad_calibration.h"
#include "operations/beeps.h"
#include "serial/port_discovery.h"

bool openController(SerialContext& c, PortChoice choice) {
    c.m.iUsbRetryCount = 1;
    c.m.iUsbRecoveryTime = 3000;
    c.m.iComRetryCount = 2;
    c.m.iComRecoveryTime = 3000;
    if (choice == PortChoice::Probe && !Rs232cProbe(c, c.m.i_comPort)) {
        c.m.i_comPort = 0;
    } else if (c.m.i_comPort == 0) {
        c.m.i_comPort = Rs232cFind(c);
    }
    if (c.m.i_comPort == 0) {
        c.boxes.messageBox("Device is not found.", mb::kOk, kAppTitle);
        return false;
    }
    Rs232cOpen(c);
    return true;
}

bool loadSession(SerialContext& c, Panel& p, TonePlayer& tones, PortChoice choice) {
    if (!openController(c, choice)) {
        return false;
    }
    BeepOK(tones);
    runEventProcedure(p, readCalibrationAtStartUp);
    return true;
}

bool unloadSession(SerialContext& c) {
    if (c.m.bUnloading) {
        return false;
    }
    c.m.bUnloading = true;
    Rs232cClose(c);
    return true;
}
