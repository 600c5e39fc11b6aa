#include "platform/qt/qt_process_runner.h"

#include <QCoreApplication>
#include <QProcess>
#include <QStandardPaths>
#include <QStringList>

namespace {

QString locate(const std::string& program) {
    QString name = QString::fromStdString(program);
    if (name.contains('/')) {
        return name;
    }
    const QString beside =
        QStandardPaths::findExecutable(name, {QCoreApplication::applicationDirPath()});
    return beside.isEmpty() ? QStandardPaths::findExecutable(name) : beside;
}

} // namespace

std::optional<int> QtProcessRunner::run(const std::string& program,
                                        const std::vector<std::string>& args,
                                        const std::string& stdoutFile) {
    const QString executable = locate(program);
    if (executable.isEmpty()) {
        return std::nullopt;
    }
    QStringList arguments;
    for (const auto& a : args) {
        arguments << QString::fromStdString(a);
    }
    QProcess process;
    if (!stdoutFile.empty()) {
        process.setStandardOutputFile(QString::fromStdString(stdoutFile), QIODevice::Truncate);
    }
    process.setStandardErrorFile(QProcess::nullDevice());
    process.start(executable, arguments);
    if (!process.waitForStarted(-1)) {
        return std::nullopt;
    }
    process.waitForFinished(-1);
    return process.exitStatus() == QProcess::CrashExit ? -1 : process.exitCode();
}
