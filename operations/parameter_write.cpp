#include "operations/parameter_write.h"

#include "operations/operation_warnings.h"
#include "operations/parameter_registers.h"
#include "operations/register_value.h"
#include "operations/set_points.h"
#include "operations/value_command.h"

void Command3_Click(Panel& p) {
    if (p.m.i_comPort == 0) {
        return;
    }
    UnsentValues unsent(p, "EEPROM WRITE");
    for (const ParameterRegister& reg : kParameterRegisters) {
        // A box not sent is skipped alone; the other registers do not depend on it.
        if (sendValueCommand(p, unsent, registerLabel(reg), reg.writePrefix,
                             boxRegisterValue(p.m, reg, p.w.text(reg.box)), reg.signedValue,
                             true) == ValueSend::Stopped) {
            return;
        }
    }
    updateSetPoints(p, unsent);
}
