// The window runs in the test process, headless, against kelvara-sim on a private port-link
// folder, so that no host serial port is ever probed.

#include <QApplication>
#include <cstdlib>
#include <filesystem>
#include <gtest/gtest.h>

int main(int argc, char* argv[]) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    char runtime[] = "/tmp/kelvara-e2e-XXXXXX";
    const std::string folder = mkdtemp(runtime);
    setenv("XDG_RUNTIME_DIR", folder.c_str(), 1);
    QApplication app(argc, argv);
    testing::InitGoogleTest(&argc, argv);
    const int result = RUN_ALL_TESTS();
    std::filesystem::remove_all(folder);
    return result;
}
