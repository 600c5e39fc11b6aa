#include "operations/parameter_write.h"

#include "common/leading_number.h"
#include "operations/operation_warnings.h"
#include "operations/parameter_registers.h"
#include "operations/set_points.h"
#include "operations/value_command.h"

void Command3_Click(Panel& p) {
    if (p.m.i_comPort == 0) {
        return;
    }
    for (const ParameterRegister& reg : kParameterRegisters) {
        // Not rounded: a fraction finer than the register's unit goes out as it is. A box out
        // of range is skipped alone; the other registers do not depend on it.
        auto value = boxNumber(p.w.text(reg.box));
        if (value) {
            *value *= reg.scale;
        }
        if (sendValueCommand(p, "EEPROM WRITE", registerLabel(reg), reg.writePrefix, value, true) ==
            ValueSend::Stopped) {
            return;
        }
    }
    Command4_Click(p);
}
