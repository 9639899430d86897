#include "program_run.h"

#include <QProcess>

namespace sorrelix::testing {

namespace {
// A hung program fails its test instead of stopping the whole run.
constexpr int kHangGuardMilliseconds = 120000;
}  // namespace

QList<QByteArray> ProgramResult::outLines() const {
    QList<QByteArray> lines = out.split('\n');
    if (!lines.isEmpty() && lines.last().isEmpty()) lines.removeLast();
    return lines;
}

ProgramResult runProgram(const QString& name, const QStringList& arguments,
                         const QMap<QString, QString>& environment, const QString& workingFolder) {
    QProcessEnvironment variables = QProcessEnvironment::systemEnvironment();
    for (const auto& [variable, value] : environment.asKeyValueRange())
        variables.insert(variable, value);
    QProcess process;
    process.setProcessEnvironment(variables);
    process.setWorkingDirectory(workingFolder);  // empty: this process's
    const QString binDir = qEnvironmentVariable("SORRELIX_BIN_DIR");
    process.start(
        (binDir.isEmpty() ? QStringLiteral(SORRELIX_DEFAULT_BIN_DIR) : binDir) + "/" + name,
        arguments);
    ProgramResult result;
    if (!process.waitForStarted()) return result;
    if (!process.waitForFinished(kHangGuardMilliseconds)) {
        process.kill();
        process.waitForFinished();
    }
    result.finished = process.exitStatus() == QProcess::NormalExit;
    result.exitCode = process.exitCode();
    result.out = process.readAllStandardOutput();
    result.err = process.readAllStandardError();
    return result;
}

}  // namespace sorrelix::testing
