// The serial control over QSerialPort against a pseudo-terminal linked into a private
// port-link folder: error numbers, descriptions and failures raised later.

#include <QCoreApplication>
#include <QElapsedTimer>
#include <cstdlib>
#include <fcntl.h>
#include <filesystem>
#include <gtest/gtest.h>
#include <termios.h>
#include <unistd.h>

#include "platform/linux/port_link_folder.h"
#include "platform/qt/qt_serial_control.h"
#include "tests/support/serve_until.h"

namespace {

// A pseudo-terminal whose slave is linked as COM<n>; the test plays the far end on the master.
struct LinkedPty {
    explicit LinkedPty(int com) {
        master = posix_openpt(O_RDWR | O_NOCTTY | O_NONBLOCK);
        grantpt(master);
        unlockpt(master);
        termios raw{};
        const int slave = open(ptsname(master), O_RDWR | O_NOCTTY);
        tcgetattr(slave, &raw);
        cfmakeraw(&raw);
        tcsetattr(slave, TCSANOW, &raw);
        close(slave);
        link = portlinks::linkPath(com);
        std::filesystem::remove(link);
        std::filesystem::create_symlink(ptsname(master), link);
    }
    ~LinkedPty() {
        hangUp();
        std::filesystem::remove(link);
    }
    void hangUp() {
        if (master >= 0) {
            close(master);
            master = -1;
        }
    }
    // What the program wrote; its writes go out while it serves events.
    std::string readLine() {
        std::string got;
        char buf[256];
        for (int i = 0; i < 200 && got.find('\n') == std::string::npos; ++i) {
            QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
            const auto n = read(master, buf, sizeof buf);
            if (n > 0) {
                got.append(buf, static_cast<std::size_t>(n));
            }
        }
        return got;
    }
    int master = -1;
    std::string link;
};

ComNameTable linksOnly() {
    return ComNameTable(portlinks::portLinkFolder(), ComNameTable::Scope::LinksOnly);
}

void openAt(QtSerialControl& control, int16_t com) {
    control.setCommPort(com);
    control.setSettings("115200,N,8,1");
    control.setInputLen(0);
    control.setPortOpen(true);
}

int errorNumberOf(QtSerialControl& control, int16_t com) {
    try {
        openAt(control, com);
    } catch (const SerialError& e) {
        return e.number();
    }
    return 0;
}

TEST(QtSerialControl, NamesWithoutADeviceAreError8002) {
    QtSerialControl control(linksOnly());
    EXPECT_EQ(errorNumberOf(control, 40), kErrPortNotExist) << "no link at all";
    std::filesystem::create_symlink("/nonexistent/tty", portlinks::linkPath(41));
    EXPECT_EQ(errorNumberOf(control, 41), kErrPortNotExist) << "link pointing nowhere";
    std::filesystem::remove(portlinks::linkPath(41));
    EXPECT_FALSE(control.portOpen());
}

TEST(QtSerialControl, CarriesALineBothWays) {
    LinkedPty pty(5);
    QtSerialControl control(linksOnly());
    openAt(control, 5);
    ASSERT_TRUE(control.portOpen());
    control.output("R0\r\n");
    EXPECT_EQ(pty.readLine(), "R0\r\n");
    ASSERT_EQ(write(pty.master, "R20;", 4), 4);
    ASSERT_TRUE(serveUntil([&] { return control.inBufferCount() == 4; }));
    EXPECT_EQ(control.input(), "R20;");
    EXPECT_EQ(control.inBufferCount(), 0);

    ASSERT_EQ(write(pty.master, "late;", 5), 5);
    ASSERT_TRUE(serveUntil([&] { return control.inBufferCount() == 5; }));
    control.setInBufferCount(0);
    EXPECT_EQ(control.inBufferCount(), 0);
    control.setPortOpen(false);
    EXPECT_FALSE(control.portOpen());
}

TEST(QtSerialControl, PortHeldByAnotherProgramFailsWithItsDescription) {
    LinkedPty pty(6);
    QtSerialControl holder(linksOnly());
    openAt(holder, 6);
    QtSerialControl second(linksOnly());
    try {
        openAt(second, 6);
        FAIL() << "a held port opened twice";
    } catch (const SerialError& e) {
        EXPECT_NE(e.number(), kErrPortNotExist);
        // Qt latches the open failure through errorOccurred; the cleared "No error" is not it.
        EXPECT_STREQ(e.what(), "Permission error while locking the device");
    }
    EXPECT_FALSE(second.portOpen());
}

TEST(QtSerialControl, HangUpIsRaisedOnceAtTheNextUse) {
    LinkedPty pty(7);
    QtSerialControl control(linksOnly());
    openAt(control, 7);
    pty.hangUp();
    bool raised = false;
    serveUntil([&] {
        try {
            control.inBufferCount();
        } catch (const SerialError&) {
            raised = true;
        }
        return raised;
    });
    EXPECT_TRUE(raised);
    EXPECT_NO_THROW(control.portOpen());
    EXPECT_NO_THROW(control.setPortOpen(false));
}

TEST(QtSerialControl, RefusesBadSettingsAndUseWhileClosed) {
    QtSerialControl control(linksOnly());
    for (const char* settings : {"115200,N,8", "fast,N,8,1", "115200,X,8,1", "115200,N,9,1"}) {
        SCOPED_TRACE(settings);
        EXPECT_THROW(control.setSettings(settings), SerialError);
    }
    EXPECT_THROW(control.output("E\r\n"), SerialError);
    EXPECT_THROW(control.input(), SerialError);
}

} // namespace
