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

void warnNeverRead(Panel& p, const std::string& operation, const std::vector<std::string>& boxes) {
    p.m.pendingWarnings.push_back(
        operation + ": the calibration could not be read from the controller (" +
        joinedLabels(boxes) + "). These boxes are empty and the monitor is not corrected by them.");
}
