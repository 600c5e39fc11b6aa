// The serial control under Wine against kelvara-sim. The fixture maps: COM3 an answering one,
// COM7 a line that stops taking bytes, COM8 a device that refuses to be opened, COM9 nothing.

#include <gtest/gtest.h>

#include <optional>

#include "platform/win32/system_error.h"
#include "platform/win32/work_folder.h"
#include "serial/port_discovery.h"
#include "serial/wait.h"
#include "tests/win32/win32_rig.h"

namespace {

// The layer gives the system's description alone.
TEST(SerialControl, OpeningFailuresCarryTheirNumberAndDescription) {
    const std::tuple<int16_t, int, std::string> cases[] = {
        {9, kErrPortNotExist, "File not found."},
        {8, 8005, "Access denied."},
    };
    for (const auto& [com, number, description] : cases) {
        SCOPED_TRACE(com);
        Win32Rig rig(win32::applicationFolder(), "no-device-console");
        rig.port.setCommPort(com);
        try {
            rig.port.setPortOpen(true);
            ADD_FAILURE() << "opened";
        } catch (const SerialError& e) {
            EXPECT_EQ(std::tuple(e.number(), std::string(e.what()), e.deviceGone()),
                      std::tuple(number, description, false));
        }
        EXPECT_FALSE(rig.port.portOpen());
    }
}

// A line that stops taking bytes: once the kernel's buffer is full a write waits, and after
// its wire time and margin it fails as timed out (not a lost device); the port stays usable
// and closes.
TEST(SerialControl, WriteThatDoesNotEndFailsAfterItsTimeLimit) {
    Win32Rig rig(win32::applicationFolder(), "no-device-console");
    ASSERT_FALSE(Rs232cSetInit(rig.c, 7));
    const std::string block(4096, 'x');
    std::optional<SerialError> failure;
    for (int i = 0; i < 200 && !failure; ++i) {
        try {
            rig.port.output(block);
        } catch (const SerialError& e) {
            failure = e;
        }
    }
    ASSERT_TRUE(failure.has_value()) << "every write was taken";
    EXPECT_EQ(std::tuple(failure->number(), std::string(failure->what()), failure->deviceGone()),
              std::tuple(static_cast<int>(ERROR_SEM_TIMEOUT),
                         win32::systemDescription(ERROR_SEM_TIMEOUT), false));
    EXPECT_TRUE(rig.port.portOpen());
    EXPECT_EQ(rig.port.inBufferCount(), 0);
    rig.port.setPortOpen(false);
    EXPECT_FALSE(rig.port.portOpen());
}

// Wine shares the device, so a second handle reads back what reached the line (a
// pseudo-terminal keeps 8 bits, no parity). A reply nobody collects (it came during a plain
// timed wait) is counted whole and discarding it empties the buffer.
TEST(SerialControl, SettingsReachTheLineAndStaleRepliesAreDiscarded) {
    Win32Rig rig(win32::applicationFolder(), "no-device-console");
    ASSERT_FALSE(Rs232cSetInit(rig.c, 3));
    rig.port.setSettings("9600,n,8,2");
    HANDLE line = CreateFileW(L"\\\\.\\COM3", GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    DCB dcb{};
    dcb.DCBlength = sizeof dcb;
    ASSERT_TRUE(GetCommState(line, &dcb));
    CloseHandle(line);
    EXPECT_EQ(std::tuple(dcb.BaudRate, dcb.StopBits, dcb.Parity, dcb.ByteSize),
              std::tuple(DWORD{9600}, BYTE{TWOSTOPBITS}, BYTE{NOPARITY}, BYTE{8}));
    EXPECT_FALSE(dcb.fOutxCtsFlow || dcb.fOutxDsrFlow || dcb.fOutX || dcb.fInX);

    rig.port.output("E\r\n");
    ASSERT_TRUE(waitmSec(rig.c, 300));
    EXPECT_EQ(rig.port.inBufferCount(), 27);
    rig.port.setInBufferCount(0);
    EXPECT_EQ(rig.port.input(), "");
}

} // namespace
