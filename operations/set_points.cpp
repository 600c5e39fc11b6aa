#include "operations/set_points.h"

#include <algorithm>
#include <cmath>
#include <string>

#include "common/leading_number.h"
#include "common/number_text.h"
#include "operations/value_command.h"

namespace {

struct SetPoint {
    BoxName box;
    const char* label; // how a warning names the box
    const char* letter;
};

constexpr SetPoint kKv{"Text7", "KV出力値 (Text7)", "V"};
constexpr SetPoint kMa{"Text8", "mA出力値 (Text8)", "I"};

// step +1 moves while the value lies below the bound, -1 while it lies above it; a step ends
// at the bound, and a step down never below 0, where a set-point has no meaning.
void step(Panel& p, const SetPoint& setPoint, BoxName boundBox, int step, const char* operation) {
    if (p.m.i_comPort == 0) {
        return;
    }
    UnsentValues unsent(p, operation);
    const std::string before = p.w.text(setPoint.box);
    const double value = leadingNumber(before);
    if (!std::isfinite(value)) {
        unsent.outOfRange(setPoint.label);
        return;
    }
    const double bound = leadingNumber(p.w.text(boundBox));
    const double target =
        step > 0 ? std::min(value + 1, bound) : std::max(value - 1, std::max(bound, 0.0));
    if (!(step > 0 ? target > value : target < value)) {
        return;
    }
    const std::string shown = boxNumberText(target);
    const double sent = leadingNumber(shown);
    if (!sendableValue(sent, false)) {
        unsent.outOfRange(setPoint.label);
        return;
    }
    p.w.setText(setPoint.box, shown);
    // Not sent, so the controller keeps the old set-point: the box shows it again. A failed
    // send keeps the step, since the controller may have taken it.
    if (p.link.Rs232cCommand(setPoint.letter + plainNumberText(sent)) == CommandOutcome::Refused) {
        p.w.setText(setPoint.box, before);
    }
}

} // namespace

void updateSetPoints(Panel& p, UnsentValues& unsent) {
    if (sendValueCommand(p, unsent, kKv.label, kKv.letter, boxNumber(p.w.text(kKv.box)), false,
                         true) == ValueSend::Stopped) {
        return;
    }
    sendValueCommand(p, unsent, kMa.label, kMa.letter, boxNumber(p.w.text(kMa.box)), false, false);
}

void Command4_Click(Panel& p) {
    if (p.m.i_comPort == 0) {
        return;
    }
    UnsentValues unsent(p, "UPDATE");
    updateSetPoints(p, unsent);
}

void KV_UP_Click(Panel& p) { step(p, kKv, "Text3", +1, "UP"); }

void KV_DN_Click(Panel& p) { step(p, kKv, "Text5", -1, "DWN"); }

void mA_UP_Click(Panel& p) { step(p, kMa, "Text4", +1, "UP"); }

void mA_DN_Click(Panel& p) { step(p, kMa, "Text6", -1, "DWN"); }
