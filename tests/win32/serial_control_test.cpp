// The serial control under Wine against kelvara-sim. The fixture maps: COM3 an answering one, COM6
// one the test ends, COM8 a device that refuses to be opened, COM9 nothing.

#include <gtest/gtest.h>

#include "platform/win32/utf16.h"
#include "platform/win32/work_folder.h"
#include "serial/port_discovery.h"
#include "serial/transaction.h"
#include "serial/wait.h"
#include "tests/win32/win32_rig.h"

namespace {

TEST(SerialControl, OpeningFailuresCarryTheirNumberAndDescription) {
    const std::tuple<int16_t, int, std::string> cases[] = {
        {9, kErrPortNotExist, "COM9: opening the port: File not found."},
        {8, 8005, "COM8: opening the port: Access denied."},
    };
    for (const auto& [com, number, description] : cases) {
        SCOPED_TRACE(com);
        Win32Rig rig(win32::applicationFolder(), "no-device-console");
        rig.port.setCommPort(com);
        try {
            rig.port.setPortOpen(true);
            ADD_FAILURE() << "opened";
        } catch (const SerialError& e) {
            EXPECT_EQ(std::pair(e.number(), std::string(e.what())), std::pair(number, description));
        }
        EXPECT_FALSE(rig.port.portOpen());
    }
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

// A controller whose end of the line goes away fails the transaction through the error path
// with the port's own description, and the port is left closed. (A silent one is the
// silent-road scenario's.)
TEST(SerialControl, VanishedControllerFailsTheTransaction) {
    // No device console: the recovery ends at once.
    Win32Rig rig(win32::applicationFolder(), "no-device-console");
    rig.m.i_comPort = 6;
    ASSERT_FALSE(Rs232cSetInit(rig.c, 6));
    ASSERT_EQ(Rs232cCommand(rig.c, "E"), CommandOutcome::Complete);
    std::wstring quit = win32::toUtf16(std::getenv("KELVARA_SIM")) + L" --port 6 --control quit";
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    ASSERT_TRUE(CreateProcessW(nullptr, quit.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                               &startup, &process));
    WaitForSingleObject(process.hProcess, INFINITE);
    Sleep(200);
    EXPECT_EQ(Rs232cCommand(rig.c, "E"), CommandOutcome::Failed);
    ASSERT_EQ(rig.boxes.shown.size(), 1U);
    const std::string& text = rig.boxes.shown[0].text;
    EXPECT_TRUE(text.starts_with("COM6: ") && text.find("No error") == std::string::npos) << text;
    EXPECT_EQ(rig.m.iUsbErr, 1);
    EXPECT_FALSE(rig.port.portOpen());
}

} // namespace
