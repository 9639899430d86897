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

ProgramRun::ProgramRun(const QString& programName)
    : program_(binDir() + QLatin1Char('/') + programName),
      environment_(QProcessEnvironment::systemEnvironment()) {}

ProgramRun& ProgramRun::setEnv(const QString& name, const QString& value) {
    environment_.insert(name, value);
    return *this;
}

ProgramRun& ProgramRun::setWorkingDirectory(const QString& path) {
    workingDirectory_ = path;
    return *this;
}

ProgramResult ProgramRun::run(const QStringList& arguments) const {
    QProcess process;
    process.setProcessEnvironment(environment_);
    if (!workingDirectory_.isEmpty()) process.setWorkingDirectory(workingDirectory_);
    process.start(program_, arguments);
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

QString ProgramRun::binDir() {
    const QString configured = qEnvironmentVariable("SORRELIX_BIN_DIR");
    return configured.isEmpty() ? QStringLiteral(SORRELIX_DEFAULT_BIN_DIR) : configured;
}

}  // namespace sorrelix::testing
