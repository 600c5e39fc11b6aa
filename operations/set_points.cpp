#include "operations/set_points.h"

#include <cmath>
#include <string>

#include "common/leading_number.h"
#include "common/number_text.h"
#include "operations/operation_warnings.h"
#include "operations/value_command.h"

namespace {

struct SetPoint {
    BoxName box;
    const char* label; // how a warning names the box
    const char* letter;
};

constexpr SetPoint kKv{"Text7", "KV出力値 (Text7)", "V"};
constexpr SetPoint kMa{"Text8", "mA出力値 (Text8)", "I"};

// step +1 moves while the value lies below the bound, -1 while it lies above it.
void step(Panel& p, const SetPoint& setPoint, BoxName boundBox, int step, const char* operation) {
    if (p.m.i_comPort == 0) {
        return;
    }
    const std::string before = p.w.text(setPoint.box);
    const double value = leadingNumber(before);
    const double bound = leadingNumber(p.w.text(boundBox));
    if (!(step > 0 ? value < bound : value > bound)) {
        return;
    }
    if (!std::isfinite(value)) {
        warnOutOfRange(p, operation, setPoint.label);
        return;
    }
    p.w.setText(setPoint.box, boxNumberText(value + step));
    const std::string cmd =
        setPoint.letter + plainNumberText(leadingNumber(p.w.text(setPoint.box)));
    // Not sent, so the controller keeps the old set-point: the box shows it again. A failed
    // send keeps the step, since the controller may have taken it.
    if (p.link.Rs232cCommand(cmd) == CommandOutcome::Refused) {
        p.w.setText(setPoint.box, before);
    }
}

} // namespace

void Command4_Click(Panel& p) {
    if (p.m.i_comPort == 0) {
        return;
    }
    if (sendValueCommand(p, "UPDATE", kKv.label, kKv.letter, boxNumber(p.w.text(kKv.box)), true) ==
        ValueSend::Stopped) {
        return;
    }
    sendValueCommand(p, "UPDATE", kMa.label, kMa.letter, boxNumber(p.w.text(kMa.box)), false);
}

void KV_UP_Click(Panel& p) { step(p, kKv, "Text3", +1, "UP"); }

void KV_DN_Click(Panel& p) { step(p, kKv, "Text5", -1, "DWN"); }

void mA_UP_Click(Panel& p) { step(p, kMa, "Text4", +1, "UP"); }

void mA_DN_Click(Panel& p) { step(p, kMa, "Text6", -1, "DWN"); }
