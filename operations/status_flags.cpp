#include "operations/status_flags.h"

#include "common/leading_number.h"
#include "operations/status_flag_boxes.h"

void raiseEveryFlag(Panel& p) {
    for (const auto& flag : kStatusFlagBoxes) {
        p.w.setText(flag.box, "1");
    }
}

bool Command6_Click(Panel& p) {
    if (p.m.i_comPort == 0) {
        return false;
    }
    const CommandOutcome outcome = p.link.Rs232cCommand("E");
    // A refused read finds another command's reply in the buffer: the boxes keep the last
    // read. A failed one raises every flag, which fails safe; whatever the buffer still holds
    // (the last reply, when the port was lost before the send) is not shown as live.
    if (outcome == CommandOutcome::Refused || outcome == CommandOutcome::Closing) {
        return false;
    }
    const bool failed = outcome == CommandOutcome::Failed;
    std::size_t position = 2;
    for (const auto& flag : kStatusFlagBoxes) {
        const bool raised = failed || leadingNumber(p.m.sRecvBuf, position) == 0;
        p.w.setText(flag.box, raised ? "1" : "0");
        position += 2;
    }
    return !failed;
}
