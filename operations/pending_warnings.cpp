#include "operations/pending_warnings.h"

#include <string>
#include <utility>

void showPendingWarnings(Panel& p) {
    if (p.m.bCommBusy != 0) {
        return;
    }
    // Taken off the queue before it is shown: an event run while the box is open may queue
    // further warnings, or show them itself.
    while (!p.m.pendingWarnings.empty() && !p.m.bUnloading) {
        const std::string text = std::move(p.m.pendingWarnings.front());
        p.m.pendingWarnings.erase(p.m.pendingWarnings.begin());
        p.boxes.messageBox(text, mb::kIconWarning | mb::kSystemModal, kAppTitle);
    }
}
