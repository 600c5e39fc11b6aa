#include "tests/sim/sim_line_fixture.h"

#include <sys/stat.h>

namespace {

mode_t modeOf(const std::string& path) {
    return static_cast<mode_t>(std::filesystem::symlink_status(path).permissions());
}

class PortLinkFolder : public SimLine {
protected:
    std::string folder(const std::string& name, mode_t mode) {
        const std::string path = runtime + "/" + name;
        EXPECT_EQ(mkdir(path.c_str(), 0700), 0);
        EXPECT_EQ(chmod(path.c_str(), mode), 0);
        return path;
    }
};

TEST_F(PortLinkFolder, OnlyFoldersNobodyElseCanWriteAreTrusted) {
    const std::pair<mode_t, bool> cases[] = {{0700, true},  {0755, true},  {0500, true},
                                             {0770, false}, {0720, false}, {0702, false},
                                             {0777, false}, {01777, false}};
    for (const auto& [mode, trusted] : cases) {
        SCOPED_TRACE(mode);
        const std::string path = folder("m" + std::to_string(mode), mode);
        EXPECT_EQ(portlinks::isTrustedFolder(path), trusted);
        EXPECT_EQ(portlinks::ensureTrustedFolder(path), trusted);
        EXPECT_EQ(modeOf(path), mode); // an existing folder is left as it is
    }
}

TEST_F(PortLinkFolder, SymlinkOrFileIsNoTrustedFolder) {
    const std::string link = runtime + "/link";
    const std::string file = runtime + "/file";
    ASSERT_EQ(symlink(folder("real", 0700).c_str(), link.c_str()), 0);
    ASSERT_EQ(close(creat(file.c_str(), 0600)), 0);
    for (const auto& path : {link, file}) {
        SCOPED_TRACE(path);
        EXPECT_FALSE(portlinks::isTrustedFolder(path));
        EXPECT_FALSE(portlinks::ensureTrustedFolder(path));
    }
}

TEST_F(PortLinkFolder, EnsureCreatesMissingFoldersWithMode0700) {
    for (const mode_t mask : {mode_t{022}, mode_t{0}, mode_t{077}}) {
        SCOPED_TRACE(mask);
        const mode_t old = umask(mask);
        const std::string top = runtime + "/u" + std::to_string(mask);
        EXPECT_TRUE(portlinks::ensureTrustedFolder(top + "/a/b"));
        umask(old);
        for (const auto& created : {top, top + "/a", top + "/a/b"})
            EXPECT_EQ(modeOf(created), 0700u) << created;
    }
}

TEST_F(PortLinkFolder, LinksAreTrustedOnlyInATrustedFolder) {
    const std::string trusted = folder("trusted", 0700);
    const std::string open = folder("open", 0777);
    ASSERT_EQ(symlink("/dev/null", (trusted + "/COM3").c_str()), 0);
    ASSERT_EQ(symlink("/dev/null", (open + "/COM3").c_str()), 0);
    EXPECT_TRUE(portlinks::isTrustedLink(trusted + "/COM3"));
    EXPECT_FALSE(portlinks::isTrustedLink(open + "/COM3"));
    EXPECT_FALSE(portlinks::isTrustedLink(trusted + "/COM4"));
}

TEST_F(PortLinkFolder, FolderOrLinkOfSomeoneElseIsNotTrusted) {
    if (geteuid() != 0)
        GTEST_SKIP() << "only root can give a folder away";
    constexpr uid_t someoneElse = 65534;
    const std::string theirs = folder("theirs", 0700);
    const std::string link = folder("mine", 0700) + "/COM3";
    ASSERT_EQ(symlink("/dev/null", link.c_str()), 0);
    ASSERT_EQ(chown(theirs.c_str(), someoneElse, someoneElse), 0);
    ASSERT_EQ(lchown(link.c_str(), someoneElse, someoneElse), 0);
    EXPECT_FALSE(portlinks::isTrustedFolder(theirs));
    EXPECT_FALSE(portlinks::ensureTrustedFolder(theirs));
    EXPECT_FALSE(portlinks::isTrustedLink(link));
}

} // namespace
