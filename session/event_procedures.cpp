#include "session/event_procedures.h"

#include <algorithm>

#include "operations/ad_calibration.h"
#include "operations/interval_monitoring.h"
#include "operations/output_monitor.h"
#include "operations/parameter_read.h"
#include "operations/parameter_write.h"
#include "operations/set_points.h"
#include "operations/status_flags.h"

namespace {

template <typename Name> struct Entry {
    Name control;
    void (*run)(Panel&);
};

constexpr Entry<ButtonName> kButtons[] = {
    {"Command1", Command1_Click},
    {"Command2", Command2_Click},
    {"Command3", Command3_Click},
    {"Command4", Command4_Click},
    // The reads tell whether they read; a click has no use for it.
    {"Command5", [](Panel& p) { Command5_Click(p); }},
    {"Command6", [](Panel& p) { Command6_Click(p); }},
    {"Command7", Command7_Click},
    {"Command8", Command8_Click},
    {"KV_UP", KV_UP_Click},
    {"KV_DN", KV_DN_Click},
    {"mA_UP", mA_UP_Click},
    {"mA_DN", mA_DN_Click},
};

constexpr Entry<MenuName> kMenuEntries[] = {
    {"IntervalStart", IntervalStart_Click},
    {"IntervalStop", IntervalStop_Click},
    {"AD_Calibration", AD_Calibration_Click},
};

template <typename Name, std::size_t N>
EventProcedure procedureOf(const Entry<Name> (&entries)[N], Name control) {
    const auto found = std::ranges::find(entries, control, &Entry<Name>::control);
    return {std::string(control.name()) + "_Click",
            found == std::end(entries) ? nullptr : found->run};
}

} // namespace

EventProcedure clickProcedure(ButtonName button) { return procedureOf(kButtons, button); }

EventProcedure menuProcedure(MenuName entry) { return procedureOf(kMenuEntries, entry); }
