#include "platform/linux/port_link_folder.h"
#include "tests/sim/private_runtime_dir.h"

#include <gtest/gtest.h>

#include <cstdlib>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

constexpr uid_t someoneElse = 65534;

mode_t modeOf(const std::string& path) {
    struct stat st {};
    lstat(path.c_str(), &st);
    return st.st_mode & 07777;
}

class PortLinkFolder : public ::testing::Test {
protected:
    std::string folder(const std::string& name, mode_t mode) {
        const std::string path = runtime.path() + "/" + name;
        EXPECT_EQ(mkdir(path.c_str(), 0700), 0);
        EXPECT_EQ(chmod(path.c_str(), mode), 0);
        return path;
    }

    PrivateRuntimeDir runtime;
};

TEST_F(PortLinkFolder, FoldersFollowXdgRuntimeDir) {
    const std::string fallback = "/tmp/kelvara-" + std::to_string(getuid());
    struct Case {
        const char* runtimeDir; // nullptr: unset
        std::string work;
    };
    const Case cases[] = {
        {"/run/user/5", "/run/user/5/kelvara"},
        {nullptr, fallback},
        {"", fallback},
        {"relative/dir", fallback},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.runtimeDir ? c.runtimeDir : "(unset)");
        if (c.runtimeDir)
            setenv("XDG_RUNTIME_DIR", c.runtimeDir, 1);
        else
            unsetenv("XDG_RUNTIME_DIR");
        EXPECT_EQ(portlinks::workFolder(), c.work);
        EXPECT_EQ(portlinks::portLinkFolder(), c.work + "/ports");
        EXPECT_EQ(portlinks::linkPath(12), c.work + "/ports/COM12");
    }
}

TEST_F(PortLinkFolder, OnlyFoldersNobodyElseCanWriteAreTrusted) {
    struct Case {
        mode_t mode;
        bool trusted;
    };
    const Case cases[] = {
        {0700, true},  {0755, true},  {0500, true},  {0770, false},
        {0720, false}, {0702, false}, {0777, false}, {01777, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.mode);
        EXPECT_EQ(portlinks::isTrustedFolder(folder("m" + std::to_string(c.mode), c.mode)),
                  c.trusted);
    }
}

TEST_F(PortLinkFolder, SymlinkToATrustedFolderIsNotTrusted) {
    const std::string real = folder("real", 0700);
    const std::string link = runtime.path() + "/link";
    ASSERT_EQ(symlink(real.c_str(), link.c_str()), 0);
    EXPECT_TRUE(portlinks::isTrustedFolder(real));
    EXPECT_FALSE(portlinks::isTrustedFolder(link));
    EXPECT_FALSE(portlinks::ensureTrustedFolder(link));
}

TEST_F(PortLinkFolder, MissingFolderOrPlainFileIsNotTrusted) {
    const std::string file = runtime.path() + "/file";
    ASSERT_EQ(close(creat(file.c_str(), 0600)), 0);
    EXPECT_FALSE(portlinks::isTrustedFolder(file));
    EXPECT_FALSE(portlinks::isTrustedFolder(runtime.path() + "/missing"));
}

TEST_F(PortLinkFolder, FolderOfSomeoneElseIsNotTrusted) {
    if (geteuid() != 0)
        GTEST_SKIP() << "only root can give a folder away";
    const std::string path = folder("theirs", 0700);
    ASSERT_EQ(chown(path.c_str(), someoneElse, someoneElse), 0);
    EXPECT_FALSE(portlinks::isTrustedFolder(path));
    EXPECT_FALSE(portlinks::ensureTrustedFolder(path));
}

TEST_F(PortLinkFolder, EnsureCreatesMissingFoldersWithMode0700) {
    for (const mode_t mask : {mode_t{022}, mode_t{0}, mode_t{077}}) {
        SCOPED_TRACE(mask);
        const mode_t old = umask(mask);
        const std::string top = runtime.path() + "/u" + std::to_string(mask);
        const std::string path = top + "/a/b";
        EXPECT_TRUE(portlinks::ensureTrustedFolder(path));
        umask(old);
        for (const auto& created : {top, top + "/a", path})
            EXPECT_EQ(modeOf(created), 0700u) << created;
    }
}

TEST_F(PortLinkFolder, EnsureLeavesAnExistingUntrustedFolderAlone) {
    const std::string path = folder("open", 0777);
    EXPECT_FALSE(portlinks::ensureTrustedFolder(path));
    EXPECT_EQ(modeOf(path), 0777u);
}

TEST_F(PortLinkFolder, EnsureAcceptsAnExistingTrustedFolder) {
    EXPECT_TRUE(portlinks::ensureTrustedFolder(folder("mine", 0700)));
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

TEST_F(PortLinkFolder, LinkOfSomeoneElseIsNotTrusted) {
    if (geteuid() != 0)
        GTEST_SKIP() << "only root can give a link away";
    const std::string trusted = folder("trusted", 0700);
    const std::string link = trusted + "/COM3";
    ASSERT_EQ(symlink("/dev/null", link.c_str()), 0);
    ASSERT_EQ(lchown(link.c_str(), someoneElse, someoneElse), 0);
    EXPECT_FALSE(portlinks::isTrustedLink(link));
}

} // namespace
