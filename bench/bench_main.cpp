// The benchmarks run the window headless in this process. The port-link folder is a private
// temporary one, so the scans see only the simulators started here and no host serial port.

#include <QApplication>
#include <benchmark/benchmark.h>
#include <cstdlib>
#include <filesystem>

int main(int argc, char* argv[]) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    char runtime[] = "/tmp/kelvara-bench-XXXXXX";
    const std::filesystem::path folder = mkdtemp(runtime);
    setenv("XDG_RUNTIME_DIR", folder.c_str(), 1);
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    std::filesystem::remove_all(folder);
    return 0;
}
