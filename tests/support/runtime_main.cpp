// The main of the test programs: a private XDG_RUNTIME_DIR with its port-link folder, so that
// the tests see only the ports they link there and never a host serial port; removed at the end.
// Built with KELVARA_TEST_QAPPLICATION the tests run inside a QApplication, headless unless the
// caller picked a platform; it takes the C library's locale from the environment.

#include "platform/linux/port_link_folder.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

#ifdef KELVARA_TEST_QAPPLICATION
#include <QApplication>
#endif

int main(int argc, char** argv) {
    testing::InitGoogleTest(&argc, argv);
    char pattern[] = "/tmp/kelvara-test-XXXXXX";
    if (mkdtemp(pattern) == nullptr) {
        std::perror("no private runtime folder");
        return 1;
    }
    const std::string runtime = pattern;
    setenv("XDG_RUNTIME_DIR", runtime.c_str(), 1);
    portlinks::ensureTrustedFolder(portlinks::portLinkFolder());
    int result = 0;
    {
#ifdef KELVARA_TEST_QAPPLICATION
        if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
            qputenv("QT_QPA_PLATFORM", "offscreen");
        }
        QApplication app(argc, argv);
#endif
        result = RUN_ALL_TESTS();
    }
    std::error_code ignored;
    std::filesystem::remove_all(runtime, ignored);
    return result;
}
