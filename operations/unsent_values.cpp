#include "operations/unsent_values.h"

UnsentValues::~UnsentValues() {
    if (p_.m.bUnloading || (boxes_.empty() && refused_.empty())) {
        return;
    }
    std::string text = operation_ + ":";
    if (!boxes_.empty()) {
        text += " not sent: ";
        for (std::size_t i = 0; i < boxes_.size(); ++i) {
            text += (i == 0 ? "" : "; ") + boxes_[i];
        }
        text += ".";
    }
    p_.m.pendingWarnings.push_back(text + refused_);
}

void UnsentValues::noNumber(const std::string& box) {
    boxes_.push_back(box + ", which holds no number (use \".\" as the decimal point)");
}

void UnsentValues::outOfRange(const std::string& box) {
    boxes_.push_back(box + ", whose value is out of range");
}

void UnsentValues::refused(const std::string& cmd, bool moreFollow) {
    refused_ = " " + cmd + " was not sent because the link was busy with another command";
    if (moreFollow) {
        refused_ += "; the commands after it were not sent either";
    }
    refused_ += ".";
}
