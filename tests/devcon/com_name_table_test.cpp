#include "platform/linux/com_name_table.h"

#include <filesystem>
#include <fstream>
#include <string>

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

namespace fs = std::filesystem;

namespace {

constexpr auto Full = ComNameTable::Scope::Full;

// A private port-link folder (0700) with stand-in device files beside it. Links always win or
// the table is LinksOnly, so no test here looks at a host serial port.
class ComNameTableTest : public ::testing::Test {
protected:
    void SetUp() override {
        char pattern[] = "/tmp/com-name-table-XXXXXX";
        ASSERT_NE(mkdtemp(pattern), nullptr);
        root_ = pattern;
        ASSERT_EQ(mkdir(folder().c_str(), 0700), 0);
    }
    void TearDown() override { fs::remove_all(root_); }

    std::string folder() const { return root_ + "/ports"; }
    std::string device(const std::string& name) const {
        std::ofstream(root_ + "/" + name).put('\0');
        return fs::canonical(root_ + "/" + name).string();
    }
    void link(int n, const std::string& target) const {
        fs::create_symlink(target, folder() + "/COM" + std::to_string(n));
    }
    ComNameTable table(ComNameTable::Scope scope = ComNameTable::Scope::LinksOnly) const {
        return {folder(), scope};
    }

    std::string root_;
};

TEST_F(ComNameTableTest, TrustedLinkWinsOverTheDefaultTableEvenWhenDangling) {
    const std::string adapter = device("ttyUSB7");
    fs::create_symlink("ttyUSB7", root_ + "/by-id");
    link(1, root_ + "/by-id"); // absolute, through a second link
    link(2, "../ttyUSB7");     // relative to the folder
    link(3, root_ + "/gone");  // the name is taken, its device gone: not /dev/ttyS2
    EXPECT_EQ(table(Full).resolve(1), adapter);
    EXPECT_EQ(table(Full).resolve(2), adapter);
    EXPECT_EQ(table(Full).resolve(3), "");
}

TEST_F(ComNameTableTest, LinksInAnUntrustedFolderAreIgnored) {
    const std::string planted = device("fake-controller");
    link(5, planted);
    ASSERT_EQ(chmod(folder().c_str(), 0777), 0);
    EXPECT_EQ(table().resolve(5), "");
    EXPECT_EQ(table().comNumberOf(planted), 0);
}

TEST_F(ComNameTableTest, LinkOwnedBySomeoneElseIsIgnored) {
    if (geteuid() != 0) {
        GTEST_SKIP() << "handing a link to another account needs root";
    }
    link(6, device("fake-controller"));
    ASSERT_EQ(lchown((folder() + "/COM6").c_str(), 65534, 65534), 0);
    EXPECT_EQ(table().resolve(6), "");
}

TEST_F(ComNameTableTest, LinksOnlyNeverFallsBackToTheDefaultTable) {
    for (int n = 1; n <= 128; ++n) {
        EXPECT_EQ(table().resolve(n), "") << "COM" << n;
    }
}

TEST_F(ComNameTableTest, NumbersOutsideOneTo128NameNothing) {
    const std::string adapter = device("ttyUSB0");
    for (const int n : {0, -1, 129}) {
        link(n, adapter);
    }
    for (const int n : {0, -1, 129, 1000}) {
        EXPECT_EQ(table(Full).resolve(n), "") << "COM" << n;
    }
    EXPECT_EQ(table().comNumberOf(adapter), 0);
}

TEST_F(ComNameTableTest, ComNumberOfReadsTheLinksBackwards) {
    const std::string adapter = device("ttyUSB0");
    link(12, adapter);
    link(9, adapter);
    link(128, device("ttyUSB1"));
    fs::create_symlink(adapter, root_ + "/alias");
    struct Case {
        std::string devnode;
        int expected;
    };
    for (const Case& c : {Case{adapter, 9},              // the lowest name wins
                          Case{root_ + "/alias", 9},     // compared after resolving symlinks
                          Case{root_ + "/ttyUSB1", 128}, // the last name
                          Case{device("ttyUSB2"), 0},    // no link names it
                          Case{root_ + "/missing", 0}}) {
        EXPECT_EQ(table().comNumberOf(c.devnode), c.expected) << c.devnode;
    }
}

} // namespace
