// The serial control over QSerialPort against simulators linked into a private port-link
// folder: error numbers and descriptions of opening failures.

#include <gtest/gtest.h>

#include "platform/linux/port_link_folder.h"
#include "platform/qt/qt_serial_control.h"
#include "sim/sim_process.h"

namespace {

struct Control : QtSerialControl {
    Control()
        : QtSerialControl(
              ComNameTable(portlinks::portLinkFolder(), ComNameTable::Scope::LinksOnly)) {}
    // The error number of opening COM<com>, 0 when it opens.
    int open(int16_t com) {
        setCommPort(com);
        try {
            setPortOpen(true);
        } catch (const SerialError& e) {
            failure = e.what();
            return e.number();
        }
        return 0;
    }
    std::string failure;
};

// A name without a device is error 8002; a port held by another program fails with its own
// description.
TEST(QtSerialControl, FailuresCarryTheirNumberAndDescription) {
    Control control;
    EXPECT_EQ(control.open(40), kErrPortNotExist) << "no link at all";
    EXPECT_FALSE(control.portOpen());

    SimProcess sim;
    ASSERT_TRUE(sim.start({"--port", "6"}));
    Control holder;
    ASSERT_EQ(holder.open(6), 0);
    Control second;
    EXPECT_NE(second.open(6), 0);
    // Qt latches the open failure through errorOccurred; the cleared "No error" is not it.
    EXPECT_EQ(second.failure, "Permission error while locking the device");
    EXPECT_FALSE(second.portOpen());
}

} // namespace
