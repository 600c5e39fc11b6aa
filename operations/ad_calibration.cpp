#include "operations/ad_calibration.h"

#include <array>

#include "common/leading_number.h"
#include "operations/operation_warnings.h"
#include "operations/parameter_read.h"
#include "operations/parameter_registers.h"
#include "operations/register_value.h"
#include "operations/value_command.h"

namespace {

constexpr const char* kPassword = "qvx";

std::array<double*, kCalibrationRegisters.size()> coefficientsOf(ModuleState& m) {
    return {&m.dAdGain, &m.dAdOffset};
}

} // namespace

bool isCalibrationPassword(const std::string& typed) { return typed == kPassword; }

void AD_Calibration_Click(Panel& p) {
    if (isCalibrationPassword(p.boxes.inputBox("Password?", kAppTitle))) {
        p.w.showFrame("Frame6");
    }
}

namespace {

void readCalibration(Panel& p, UnreadBoxes unread) {
    if (p.m.i_comPort == 0) {
        return;
    }
    const auto read =
        readRegisters(p, kCalibrationRegisters, "A/D Calibration EEPROM READ", unread);
    if (!read) {
        return;
    }
    const auto coefficients = coefficientsOf(p.m);
    for (std::size_t i = 0; i < kCalibrationRegisters.size(); ++i) {
        if (!(*read)[i]) {
            continue;
        }
        // Taken from the box as shown, so with at most four decimals. A value above 9 from
        // the controller is not used.
        const double value = leadingNumber(p.w.text(kCalibrationRegisters[i].box));
        *coefficients[i] = value > 9 ? 0 : value;
    }
}

} // namespace

void Command8_Click(Panel& p) { readCalibration(p, UnreadBoxes::Keep); }

void readCalibrationAtStartUp(Panel& p) { readCalibration(p, UnreadBoxes::Empty); }

void Command7_Click(Panel& p) {
    if (p.m.i_comPort == 0) {
        return;
    }
    UnsentValues unsent(p, "A/D Calibration EEPROM WRITE");
    const auto coefficients = coefficientsOf(p.m);
    for (std::size_t i = 0; i < kCalibrationRegisters.size(); ++i) {
        const ParameterRegister& reg = kCalibrationRegisters[i];
        const std::string text = p.w.text(reg.box);
        const bool moreFollow = i + 1 < kCalibrationRegisters.size();
        switch (sendValueCommand(p, unsent, registerLabel(reg), reg.writePrefix,
                                 boxRegisterValue(p.m, reg, text), reg.signedValue, moreFollow)) {
        case ValueSend::Completed:
            // Only a coefficient that the controller has taken is put in force.
            *coefficients[i] = leadingNumber(text);
            break;
        case ValueSend::Failed:
        case ValueSend::Skipped:
            break;
        case ValueSend::Stopped:
            return;
        }
    }
}

void Command2_Click(Panel& p) {
    if (p.m.i_comPort == 0) {
        return;
    }
    UnsentValues unsent(p, "debug Command2");
    if (p.link.Rs232cCommand("F3.8") == CommandOutcome::Refused) {
        unsent.refused("F3.8", false);
    }
}
