// Test main of the text layer. The language manager is a process singleton that reads the
// settings file once, so the environment is fixed here before anything touches it. A child run
// (kFreshStartVariable set) reports the state a fresh process starts with instead of testing.
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QXmlStreamReader>
#include <array>
#include <cstdio>
#include <vector>

#include "language_manager.h"
#include "loc.h"
#include "text_test_support.h"

namespace sorrelix::text::test_support {

TsTable readTsTable(const QString& code) {
    TsTable table;
    QFile file(QStringLiteral(SORRELIX_TRANSLATIONS_DIR "/sorrelix_%1.ts").arg(code));
    if (!file.open(QIODevice::ReadOnly)) table.problems << "cannot open " + file.fileName();
    QXmlStreamReader xml(&file);
    QString id;
    while (!xml.atEnd()) {
        if (xml.readNext() != QXmlStreamReader::StartElement) continue;
        if (xml.name() == QLatin1String("message")) id = xml.attributes().value("id").toString();
        if (xml.name() != QLatin1String("translation")) continue;
        if (xml.attributes().hasAttribute("type")) table.problems << "unfinished " + id;
        if (table.translations.contains(id)) table.problems << "duplicate " + id;
        const QString text = xml.readElementText();
        if (text.isEmpty()) table.problems << "empty " + id;
        table.translations.insert(id, text);
    }
    if (xml.hasError()) table.problems << "XML error: " + xml.errorString();
    return table;
}

namespace {
constexpr const char* kFreshStartVariable = "SORRELIX_TEXT_FRESH_START";

// Starts this test binary again as a fresh process on the settings in `configHome`, with
// LANGUAGE set to `systemLanguages`; returns its report "selection|table|text of cancel".
QString startFreshProcess(const QString& configHome, const QString& systemLanguages) {
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    for (const char* name : {"LANGUAGE", "LC_MESSAGES", "LANG"}) environment.remove(name);
    environment.insert("LC_ALL", "C");
    if (!systemLanguages.isEmpty()) environment.insert("LANGUAGE", systemLanguages);
    environment.insert("XDG_CONFIG_HOME", configHome);
    environment.insert(kFreshStartVariable, "1");
    QProcess child;
    child.setProcessEnvironment(environment);
    child.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    child.start(QCoreApplication::applicationFilePath(), {});
    const bool exited =
        child.waitForFinished(120'000) && child.exitStatus() == QProcess::NormalExit;
    return exited ? QString::fromUtf8(child.readAllStandardOutput()).trimmed() : "<crashed>";
}

// A fresh process reads the stored selection once, and never writes it back.
TEST(FirstStartTest, AFreshProcessFollowsTheStoredSelectionAndWritesNothing) {
    const std::vector<std::array<QByteArray, 3>> rows = {
        {"", "de_CH:fr", "system|de|Abbrechen"},
        {"", "", "system|en|Cancel"},  // the C locale means English
        {"[General]\nselected_app_language=fr\n", "de", "fr|fr|Annuler"},
        {"[General]\nselected_app_language=xx\n", "de", "xx|en|Cancel"}};
    for (const auto& [stored, systemLanguages, report] : rows) {
        const QTemporaryDir configHome;
        QDir().mkpath(configHome.path() + "/Sorrelix");
        QFile file(configHome.path() + "/Sorrelix/Sorrelix.ini");
        if (!stored.isEmpty()) {
            ASSERT_TRUE(file.open(QIODevice::WriteOnly));
            file.write(stored);
            file.close();
        }
        EXPECT_EQ(startFreshProcess(configHome.path(), systemLanguages), QString::fromUtf8(report));
        EXPECT_EQ(file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray(), stored);
    }
}

}  // namespace

}  // namespace sorrelix::text::test_support

int main(int argc, char** argv) {
    using namespace sorrelix::text;
    if (qEnvironmentVariableIsSet(test_support::kFreshStartVariable)) {
        const QCoreApplication app(argc, argv);
        const LanguageManager& manager = LanguageManager::shared();
        const QStringList report = {manager.selectedLanguage(), manager.currentTableCode(),
                                    loc("cancel")};
        std::puts(report.join('|').toUtf8().constData());
        return 0;
    }
    QTemporaryDir configHome;
    if (!configHome.isValid()) return 3;
    qputenv("XDG_CONFIG_HOME", configHome.path().toUtf8());
    qputenv("LANGUAGE", test_support::kProcessSystemLanguage);
    QCoreApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
