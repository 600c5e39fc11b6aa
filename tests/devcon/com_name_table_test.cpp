#include "platform/linux/com_name_table.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

namespace fs = std::filesystem;

namespace {

// A private port-link folder (0700) with stand-in device files beside it: no test here ever
// looks at a host serial port.
class ComNameTableTest : public ::testing::Test {
protected:
    void SetUp() override {
        char pattern[] = "/tmp/com-name-table-XXXXXX";
        ASSERT_NE(mkdtemp(pattern), nullptr);
        root_ = pattern;
        folder_ = root_ + "/ports";
        ASSERT_TRUE(fs::create_directory(folder_));
        ASSERT_EQ(chmod(folder_.c_str(), 0700), 0);
    }
    void TearDown() override { fs::remove_all(root_); }

    std::string device(const std::string& name) {
        const std::string path = root_ + "/" + name;
        std::ofstream(path).put('\0');
        return fs::canonical(path).string();
    }
    void link(int comNumber, const std::string& target) {
        fs::create_symlink(target, folder_ + "/COM" + std::to_string(comNumber));
    }
    ComNameTable linksOnly() const { return {folder_, ComNameTable::Scope::LinksOnly}; }

    std::string root_;
    std::string folder_;
};

TEST_F(ComNameTableTest, LinkResolvesToItsFullyResolvedTarget) {
    const std::string adapter = device("ttyUSB7");
    fs::create_directories(root_ + "/by-id");
    fs::create_symlink("../ttyUSB7", root_ + "/by-id/usb-FTDI_A1B2-port0");
    link(3, root_ + "/by-id/usb-FTDI_A1B2-port0");
    link(4, "../ttyUSB7");

    struct Case {
        int comNumber;
        const char* why;
    };
    for (const Case c : {Case{3, "absolute target through a second link"},
                         Case{4, "target relative to the folder"}}) {
        SCOPED_TRACE(c.why);
        EXPECT_EQ(linksOnly().resolve(c.comNumber), adapter);
    }
}

TEST_F(ComNameTableTest, DanglingLinkNamesNoDevice) {
    // COM1 of the default table would be /dev/ttyS0: the dead link must not fall through to it.
    link(1, root_ + "/gone");
    EXPECT_EQ(ComNameTable(folder_, ComNameTable::Scope::Full).resolve(1), "");
}

TEST_F(ComNameTableTest, LinkWinsOverTheDefaultTable) {
    const std::string simulator = device("pts-sim");
    link(1, simulator);
    EXPECT_EQ(ComNameTable(folder_, ComNameTable::Scope::Full).resolve(1), simulator);
}

TEST_F(ComNameTableTest, LinksInAnUntrustedFolderAreIgnored) {
    const std::string planted = device("fake-controller");
    link(5, planted);
    ASSERT_EQ(chmod(folder_.c_str(), 0777), 0);
    EXPECT_EQ(linksOnly().resolve(5), "");
    EXPECT_EQ(linksOnly().comNumberOf(planted), 0);
}

TEST_F(ComNameTableTest, LinkOwnedBySomeoneElseIsIgnored) {
    if (geteuid() != 0) {
        GTEST_SKIP() << "handing a link to another account needs root";
    }
    link(6, device("fake-controller"));
    const std::string planted = folder_ + "/COM6";
    ASSERT_EQ(lchown(planted.c_str(), 65534, 65534), 0);
    EXPECT_EQ(linksOnly().resolve(6), "");
}

TEST_F(ComNameTableTest, LinksOnlyNeverFallsBackToTheDefaultTable) {
    const ComNameTable table = linksOnly();
    for (int n = 1; n <= 128; ++n) {
        SCOPED_TRACE("COM" + std::to_string(n));
        EXPECT_EQ(table.resolve(n), "");
    }
}

TEST_F(ComNameTableTest, NumbersOutsideOneTo128NameNothing) {
    const std::string adapter = device("ttyUSB0");
    for (const int n : {0, -1, 129}) {
        link(n, adapter);
    }
    for (const int n : {0, -1, 129, 1000}) {
        SCOPED_TRACE("COM" + std::to_string(n));
        EXPECT_EQ(linksOnly().resolve(n), "");
    }
    EXPECT_EQ(linksOnly().comNumberOf(adapter), 0);
}

TEST_F(ComNameTableTest, ComNumberOfReadsTheLinksBackwards) {
    const std::string adapter = device("ttyUSB0");
    const std::string other = device("ttyUSB1");
    link(12, adapter);
    link(9, adapter);
    link(128, other);
    fs::create_symlink(adapter, root_ + "/adapter-alias");

    struct Case {
        std::string devnode;
        int expected;
        const char* why;
    };
    const Case cases[] = {
        {adapter, 9, "the lowest name wins"},
        {root_ + "/adapter-alias", 9, "devnode compared after resolving symlinks"},
        {other, 128, "the last name"},
        {device("ttyUSB2"), 0, "no link names it"},
        {root_ + "/missing", 0, "no such device"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.why);
        EXPECT_EQ(linksOnly().comNumberOf(c.devnode), c.expected);
    }
}

} // namespace
