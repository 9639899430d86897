#pragma once

#include <QMap>
#include <QString>
#include <QStringList>
#include <ostream>

// Readable QString values in assertion messages (found by argument-dependent lookup).
inline void PrintTo(const QString& text, std::ostream* out) {
    *out << '"' << text.toStdString() << '"';
}

// Helpers shared by the text-layer tests. The test main points XDG_CONFIG_HOME at a fresh
// temporary folder and fixes LANGUAGE, so the settings file and the "system" language are ours.
namespace sorrelix::text::test_support {

// The system language the test main sets for the whole process.
inline constexpr const char* kProcessSystemLanguage = "ja";

// Set in a child run of the test binary: names the scenario to run instead of the tests.
inline constexpr const char* kScenarioVariable = "SORRELIX_TEXT_SCENARIO";

const QStringList& supportedCodes();
const QStringList& allKeys();

QString settingsFilePath();
// Every file under a folder (relative path -> contents), to prove that nothing was written.
QMap<QString, QByteArray> filesUnder(const QString& folder);
// Empties the process's XDG_CONFIG_HOME.
void clearConfigHome();
// The raw text of the settings file, or a null string when it does not exist.
QString settingsFileText();
// The stored selection as read by a fresh QSettings on the file, or a null string.
QString storedSelection();

// One table as written in resources/translations: key -> translation.
struct TsTable {
    QString language;
    QMap<QString, QString> translations;
    QStringList problems;  // duplicates, empty or unfinished entries, parse errors
};
TsTable readTsTable(const QString& code);

// The sorted placeholders (%1, %2, ...) of a text, repeats included.
QStringList placeholdersOf(const QString& text);

// Runs the scenario in a child process of this binary; returns its key=value report.
struct ChildReport {
    int exitCode = -1;
    QMap<QString, QString> values;
};
ChildReport runChild(const QString& scenario, const QString& configHome,
                     const QMap<QString, QString>& environment);

}  // namespace sorrelix::text::test_support
