#pragma once

#include <QByteArray>
#include <QProcessEnvironment>
#include <QStringList>

namespace sorrelix::testing {

struct ProgramResult {
    int exitCode = -1;
    bool finished = false;  // false when the program crashed or had to be killed
    QByteArray out;
    QByteArray err;

    QList<QByteArray> outLines() const;  // lines of standard output, without line feeds
};

// Runs one of the project's built programs (from $SORRELIX_BIN_DIR) in a controlled
// environment: the settings store and the temporary folder are whatever the test sets.
class ProgramRun {
public:
    explicit ProgramRun(const QString& programName);

    ProgramRun& setEnv(const QString& name, const QString& value);
    ProgramRun& setWorkingDirectory(const QString& path);

    ProgramResult run(const QStringList& arguments) const;

    static QString binDir();

private:
    QString program_;
    QProcessEnvironment environment_;
    QString workingDirectory_;
};

}  // namespace sorrelix::testing
