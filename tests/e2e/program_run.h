#pragma once

#include <QByteArray>
#include <QMap>
#include <QStringList>

namespace sorrelix::testing {

struct ProgramResult {
    int exitCode = -1;
    bool finished = false;  // false when the program crashed or had to be killed
    QByteArray out;
    QByteArray err;

    QList<QByteArray> outLines() const;  // lines of standard output, without line feeds
};

// Runs one of the project's built programs (from $SORRELIX_BIN_DIR) with `environment` added to
// this process's, so that the settings store and the temporary folder are whatever the test
// sets; in `workingFolder` unless that is empty.
ProgramResult runProgram(const QString& name, const QStringList& arguments,
                         const QMap<QString, QString>& environment,
                         const QString& workingFolder = {});

}  // namespace sorrelix::testing
