#include "operations/operation_warnings.h"

std::string registerLabel(const ParameterRegister& reg) {
    return std::string(reg.name) + " (" + reg.box + ")";
}

void warnNotRead(Panel& p, const std::string& operation, const std::vector<std::string>& boxes) {
    std::string text =
        operation + ": not read from the controller, so these boxes keep their earlier text: ";
    for (std::size_t i = 0; i < boxes.size(); ++i)
        text += (i == 0 ? "" : ", ") + boxes[i];
    p.m.pendingWarnings.push_back(text + ".");
}

void warnNotSent(Panel& p, const std::string& operation, const std::string& cmd, bool moreFollow) {
    std::string text =
        operation + ": " + cmd + " was not sent because the link was busy with another command";
    if (moreFollow)
        text += "; the commands after it were not sent either";
    p.m.pendingWarnings.push_back(text + ".");
}

void warnOutOfRange(Panel& p, const std::string& operation, const std::string& box) {
    p.m.pendingWarnings.push_back(operation + ": " + box +
                                  " was not sent because its number is out of range.");
}
