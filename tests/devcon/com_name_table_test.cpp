#include "platform/linux/com_name_table.h"
#include "platform/linux/port_link_folder.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

namespace fs = std::filesystem;

namespace {

// A port-link folder in the test program's private runtime folder, with stand-in device files
// beside it. Links always win or the table is LinksOnly, so no host serial port is looked at.
class ComNameTableTest : public ::testing::Test {
protected:
    void SetUp() override {
        fs::create_directories(root);
        ASSERT_EQ(mkdir(folder.c_str(), 0700), 0);
    }
    std::string device(const std::string& name) const {
        std::ofstream(root + "/" + name).put('\0');
        return fs::canonical(root + "/" + name).string();
    }
    void link(int n, const std::string& target) const {
        fs::create_symlink(target, folder + "/COM" + std::to_string(n));
    }
    ComNameTable table(ComNameTable::Scope scope = ComNameTable::Scope::LinksOnly) const {
        return {folder, scope};
    }

    const std::string root = std::string(std::getenv("XDG_RUNTIME_DIR")) + "/" +
                             ::testing::UnitTest::GetInstance()->current_test_info()->name();
    const std::string folder = root + "/links";
};

// A trusted link wins over the default table, even dangling; outside 1..128 nothing is named.
TEST_F(ComNameTableTest, ResolvesTrustedLinksFirstAndReadsThemBackwards) {
    const std::string adapter = device("ttyUSB7");
    fs::create_symlink(adapter, root + "/by-id");
    link(1, root + "/by-id"); // absolute, through a second link
    link(9, "../ttyUSB7");    // relative to the folder
    link(3, root + "/gone");  // the name is taken, its device gone: not /dev/ttyS2
    link(128, device("ttyUSB1"));
    link(129, adapter);
    for (const auto& [n, expected] :
         {std::pair<int, std::string>{1, adapter}, {9, adapter}, {3, ""}, {0, ""}, {129, ""}}) {
        EXPECT_EQ(table(ComNameTable::Scope::Full).resolve(n), expected) << "COM" << n;
    }
    EXPECT_EQ(table().resolve(2), "") << "LinksOnly falls back to no default name";
    for (const auto& [devnode, expected] : {std::pair<std::string, int>{root + "/by-id", 1},
                                            {root + "/ttyUSB1", 128},
                                            {device("ttyUSB2"), 0}}) {
        EXPECT_EQ(table().comNumberOf(devnode), expected) << devnode;
    }
    // Only a real folder of ours that nobody else can write is trusted, and only its links.
    link(5, device("fake-controller"));
    fs::create_symlink(folder, root + "/alias");
    for (const auto& [mode, trusted] :
         {std::pair{0700, true}, {0755, true}, {0770, false}, {0702, false}}) {
        ASSERT_EQ(chmod(folder.c_str(), static_cast<mode_t>(mode)), 0);
        EXPECT_EQ(portlinks::ensureTrustedFolder(folder), trusted) << mode;
        EXPECT_EQ(table().resolve(5).empty(), !trusted) << mode;
    }
    EXPECT_FALSE(portlinks::ensureTrustedFolder(root + "/alias"));
    if (geteuid() != 0) {
        GTEST_SKIP() << "handing a folder or link to another account needs root";
    }
    ASSERT_EQ(chmod(folder.c_str(), 0700), 0);
    ASSERT_EQ(lchown((folder + "/COM5").c_str(), 65534, 65534), 0);
    EXPECT_EQ(table().resolve(5), "");
    ASSERT_EQ(chown(folder.c_str(), 65534, 65534), 0);
    EXPECT_FALSE(portlinks::ensureTrustedFolder(folder));
}

} // namespace
