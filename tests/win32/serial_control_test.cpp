// The serial control under Wine against kelvara-sim. The fixture maps: COM2 a silent
// controller, COM3 an answering one, COM5 one that splits its replies, COM6 one the test
// ends, COM8 a device that refuses to be opened, COM9 nothing.

#include <gtest/gtest.h>

#include <filesystem>

#include "platform/win32/utf16.h"
#include "platform/win32/work_folder.h"
#include "serial/port_discovery.h"
#include "serial/transaction.h"
#include "serial/wait.h"
#include "tests/win32/win32_rig.h"

namespace {

struct Rig : Win32Rig {
    // No device console: a recovery ends at once.
    Rig() : Win32Rig(win32::applicationFolder(), "no-device-console") {}
};

void runUnix(const std::string& line) {
    std::wstring command = win32::toUtf16(line);
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    ASSERT_TRUE(CreateProcessW(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr,
                               nullptr, &startup, &process));
    WaitForSingleObject(process.hProcess, INFINITE);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
}

TEST(SerialControl, OpeningFailuresCarryTheirNumberAndDescription) {
    struct Case {
        int16_t port;
        int number;
        std::string description;
    };
    const Case cases[] = {
        {9, kErrPortNotExist, "COM9: opening the port: File not found."},
        {8, 8005, "COM8: opening the port: Access denied."},
    };
    for (const auto& k : cases) {
        SCOPED_TRACE(k.port);
        Rig rig;
        rig.port.setCommPort(k.port);
        try {
            rig.port.setPortOpen(true);
            ADD_FAILURE() << "opened";
        } catch (const SerialError& e) {
            EXPECT_EQ(e.number(), k.number);
            EXPECT_EQ(std::string(e.what()), k.description);
        }
        EXPECT_FALSE(rig.port.portOpen());
        EXPECT_THROW(rig.port.inBufferCount(), SerialError);
    }
}

TEST(SerialControl, SettingsReachTheLine) {
    struct Case {
        const char* settings;
        DWORD baud;
        BYTE parity;
        BYTE bits;
        BYTE stop;
    };
    const Case cases[] = {
        {"115200,N,8,1", 115200, NOPARITY, 8, ONESTOPBIT},
        {"9600,n,8,2", 9600, NOPARITY, 8, TWOSTOPBITS}, // a pseudo-terminal keeps 8 bits, no parity
        {"115200,X,8,1", 0, 0, 0, 0},
        {"115200,N,8", 0, 0, 0, 0},
        {"fast,N,8,1", 0, 0, 0, 0},
    };
    for (const auto& k : cases) {
        SCOPED_TRACE(k.settings);
        Rig rig;
        rig.port.setCommPort(3);
        rig.port.setPortOpen(true);
        if (k.baud == 0) {
            EXPECT_THROW(rig.port.setSettings(k.settings), SerialError);
            continue;
        }
        rig.port.setSettings(k.settings);
        // Wine shares the device, so a second handle reads the line back.
        HANDLE line = CreateFileW(L"\\\\.\\COM3", GENERIC_READ | GENERIC_WRITE, 0, nullptr,
                                  OPEN_EXISTING, 0, nullptr);
        ASSERT_NE(line, INVALID_HANDLE_VALUE);
        DCB dcb{};
        dcb.DCBlength = sizeof dcb;
        ASSERT_TRUE(GetCommState(line, &dcb));
        CloseHandle(line);
        EXPECT_EQ(dcb.BaudRate, k.baud);
        EXPECT_EQ(dcb.Parity, k.parity);
        EXPECT_EQ(dcb.ByteSize, k.bits);
        EXPECT_EQ(dcb.StopBits, k.stop);
        EXPECT_FALSE(dcb.fOutxCtsFlow || dcb.fOutxDsrFlow || dcb.fOutX || dcb.fInX);
    }
}

TEST(SerialControl, TransactionsCollectTheWholeReply) {
    struct Case {
        int16_t port;
        const char* cmd;
        const char* reply;
    };
    const Case cases[] = {
        {3, "E", "E0,0,0,0,0,0,0,0,0,0,0,0,0;"},
        {3, "R8", "R1640;"},
        {5, "E", "E0,0,0,0,0,0,0,0,0,0,0,0,0;"}, // in three pieces
    };
    for (const auto& k : cases) {
        SCOPED_TRACE(k.port);
        Rig rig;
        ASSERT_FALSE(Rs232cSetInit(rig.c, k.port));
        rig.m.i_comPort = k.port;
        EXPECT_EQ(Rs232cCommand(rig.c, k.cmd), CommandOutcome::Complete);
        EXPECT_EQ(rig.m.sRecvBuf, k.reply);
        EXPECT_EQ(rig.m.iUsbErr, 0);
        EXPECT_TRUE(rig.boxes.shown.empty());
    }
}

TEST(SerialControl, DiscardingEmptiesTheReceiveBuffer) {
    Rig rig;
    ASSERT_FALSE(Rs232cSetInit(rig.c, 3));
    rig.port.output("E\r\n");
    const double until = rig.clock.timeGetTime_EX() + 1000;
    while (rig.port.inBufferCount() < 27 && rig.clock.timeGetTime_EX() < until) {
        rig.pump.processEvents(50);
    }
    ASSERT_EQ(rig.port.inBufferCount(), 27);
    rig.port.setInBufferCount(0);
    EXPECT_EQ(rig.port.inBufferCount(), 0);
    EXPECT_EQ(rig.port.input(), "");
}

// A reply that nobody collects (it came during a plain timed wait) wakes the wait once, not
// on every pass until its end.
TEST(SerialControl, UncollectedBytesWakeOnce) {
    struct CountingPump : EventPump {
        explicit CountingPump(EventPump& pump) : inner(pump) {}
        void processEvents(int64_t maxWaitMs) override {
            ++passes;
            inner.processEvents(maxWaitMs);
        }
        EventPump& inner;
        int passes = 0;
    };
    Rig rig;
    ASSERT_FALSE(Rs232cSetInit(rig.c, 3));
    CountingPump pump(rig.pump);
    SerialContext c{rig.m, rig.port, rig.clock, pump, rig.boxes, rig.console, "", ""};
    rig.port.output("E\r\n");
    ASSERT_TRUE(waitmSec(c, 300));
    EXPECT_LT(pump.passes, 30);
    EXPECT_EQ(rig.port.inBufferCount(), 27);
}

// The scan passes over COM1 (no device), COM2 (silent) and takes COM3, showing nothing.
TEST(SerialControl, ScanFindsTheAnsweringController) {
    Rig rig;
    EXPECT_EQ(Rs232cFind(rig.c), 3);
    EXPECT_FALSE(rig.port.portOpen());
    EXPECT_TRUE(rig.boxes.shown.empty());
}

TEST(SerialControl, SilentControllerTimesOutAsleep) {
    Rig rig;
    ASSERT_FALSE(Rs232cSetInit(rig.c, 2));
    rig.m.i_comPort = 2;
    rig.m.iComRetryCount = 0;
    rig.m.iUsbRetryCount = 0;
    const double start = rig.clock.timeGetTime_EX();
    const double cpu0 = processCpuMs();
    EXPECT_EQ(Rs232cCommand(rig.c, "E"), CommandOutcome::Failed);
    const double cpu = processCpuMs() - cpu0;
    const double wall = rig.clock.timeGetTime_EX() - start;
    EXPECT_GE(wall, 3000);
    EXPECT_EQ(rig.boxes.shown, std::vector<std::string>{kNoiseMessage});
    RecordProperty("timeout_cpu_percent", std::to_string(100.0 * cpu / wall));
    std::cout << "time-out: " << wall << " ms wall, " << cpu << " ms CPU\n";
}

// The controller's end of the line goes away while the port is open: the next transaction
// fails through its error path with the port's own description and leaves the port closed.
TEST(SerialControl, VanishedPortFailsTheTransaction) {
    Rig rig;
    ASSERT_FALSE(Rs232cSetInit(rig.c, 6));
    rig.m.i_comPort = 6;
    ASSERT_EQ(Rs232cCommand(rig.c, "E"), CommandOutcome::Complete);
    runUnix(std::string(std::getenv("KELVARA_SIM")) + " --port 6 --control quit");
    Sleep(200);

    EXPECT_EQ(Rs232cCommand(rig.c, "E"), CommandOutcome::Failed);
    ASSERT_EQ(rig.boxes.shown.size(), 1U);
    EXPECT_EQ(rig.boxes.shown[0].rfind("COM6: ", 0), 0U) << rig.boxes.shown[0];
    EXPECT_EQ(rig.boxes.shown[0].find("No error"), std::string::npos);
    EXPECT_EQ(rig.m.iUsbErr, 1);
    EXPECT_FALSE(rig.port.portOpen());
}

} // namespace
