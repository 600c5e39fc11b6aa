#include "operations/operation_warnings.h"

namespace {

std::string joinedLabels(const std::vector<std::string>& boxes) {
    std::string text;
    for (const auto& box : boxes) {
        text += (text.empty() ? "" : ", ") + box;
    }
    return text;
}

} // namespace

std::string registerLabel(const ParameterRegister& reg) {
    return std::string(reg.name) + " (" + std::string(reg.box) + ")";
}

void warnNotRead(Panel& p, const std::string& operation, const std::vector<std::string>& boxes) {
    p.m.pendingWarnings.push_back(
        operation + ": not read from the controller, so these boxes keep their earlier text: " +
        joinedLabels(boxes) + ".");
}

void warnNotSent(Panel& p, const std::string& operation, const std::string& cmd, bool moreFollow) {
    std::string text =
        operation + ": " + cmd + " was not sent because the link was busy with another command";
    if (moreFollow) {
        text += "; the commands after it were not sent either";
    }
    p.m.pendingWarnings.push_back(text + ".");
}

void warnNeverRead(Panel& p, const std::string& operation, const std::vector<std::string>& boxes) {
    p.m.pendingWarnings.push_back(
        operation + ": the calibration could not be read from the controller (" +
        joinedLabels(boxes) + "). These boxes are empty and the monitor is not corrected by them.");
}

void warnNoNumber(Panel& p, const std::string& operation, const std::string& box) {
    p.m.pendingWarnings.push_back(
        operation + ": " + box +
        " was not sent because it holds no number (use \".\" as the decimal point).");
}

void warnOutOfRange(Panel& p, const std::string& operation, const std::string& box) {
    p.m.pendingWarnings.push_back(operation + ": " + box +
                                  " was not sent because its number is out of range.");
}
