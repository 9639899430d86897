// A fresh process reads the stored selection once; each case starts the test binary again in
// its own settings folder and inspects what it reports.
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include "text_test_support.h"

namespace sorrelix::text {
namespace {

using test_support::ChildReport;
using test_support::runChild;

class FirstStartTest : public ::testing::Test {
protected:
    QString settingsFile() const { return configHome.path() + "/Sorrelix/Sorrelix.ini"; }

    void writeSettings(const QByteArray& contents) {
        ASSERT_TRUE(QDir().mkpath(configHome.path() + "/Sorrelix"));
        QFile file(settingsFile());
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(contents);
    }

    QByteArray settingsBytes() const {
        QFile file(settingsFile());
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }

    ChildReport start(const QString& systemLanguages) {
        QMap<QString, QString> environment;
        if (!systemLanguages.isEmpty()) environment.insert("LANGUAGE", systemLanguages);
        environment.insert("LC_ALL", "C");
        return runChild("start", configHome.path(), environment);
    }

    QTemporaryDir configHome;
};

TEST_F(FirstStartTest, NothingStoredFollowsTheSystemAndWritesNothing) {
    const ChildReport report = start("de_CH:fr");
    ASSERT_EQ(report.exitCode, 0);
    EXPECT_EQ(report.values.value("selected"), "system");
    EXPECT_EQ(report.values.value("table"), "de");
    EXPECT_EQ(report.values.value("cancel"), "Abbrechen");
    EXPECT_EQ(report.values.value("system_name"), "Systemsprache");
    EXPECT_TRUE(test_support::filesUnder(configHome.path()).isEmpty());
}

TEST_F(FirstStartTest, SystemLanguagesPickTheMatchingTable) {
    // LANGUAGE as the desktop sets it; without it the C locale means English.
    const QMap<QString, QString> expected = {{"zh_TW", "zh-Hant"}, {"ru:it", "it"}, {"", "en"}};
    for (auto it = expected.begin(); it != expected.end(); ++it) {
        const ChildReport report = start(it.key());
        ASSERT_EQ(report.exitCode, 0) << it.key().toStdString();
        EXPECT_EQ(report.values.value("table"), it.value()) << it.key().toStdString();
    }
}

TEST_F(FirstStartTest, StoredSelectionIsUsedAndNotWrittenBack) {
    const QByteArray stored = "[General]\nselected_app_language=fr\n";
    writeSettings(stored);
    const ChildReport report = start("de");
    ASSERT_EQ(report.exitCode, 0);
    EXPECT_EQ(report.values.value("selected"), "fr");
    EXPECT_EQ(report.values.value("table"), "fr");
    EXPECT_EQ(report.values.value("cancel"), "Annuler");
    EXPECT_EQ(test_support::filesUnder(configHome.path()),
              (QMap<QString, QByteArray>{{"Sorrelix/Sorrelix.ini", stored}}));
}

TEST_F(FirstStartTest, StoredSystemFollowsTheSystem) {
    writeSettings("[General]\nselected_app_language=system\n");
    const ChildReport report = start("ko_KR");
    ASSERT_EQ(report.exitCode, 0);
    EXPECT_EQ(report.values.value("selected"), "system");
    EXPECT_EQ(report.values.value("table"), "ko");
    EXPECT_EQ(report.values.value("cancel"), "취소");
}

TEST_F(FirstStartTest, StoredUnknownCodeStaysSelectedWithEnglishTexts) {
    const QByteArray stored = "[General]\nselected_app_language=xx\n";
    writeSettings(stored);
    const ChildReport report = start("de");
    ASSERT_EQ(report.exitCode, 0);
    EXPECT_EQ(report.values.value("selected"), "xx");
    EXPECT_EQ(report.values.value("known"), "no");
    EXPECT_EQ(report.values.value("table"), "en");
    EXPECT_EQ(report.values.value("cancel"), "Cancel");
    EXPECT_EQ(report.values.value("system_name"), "System Language");
    EXPECT_EQ(settingsBytes(), stored);
}

TEST_F(FirstStartTest, DamagedSettingsFileStillStarts) {
    const QList<QByteArray> damaged = {
        "[General]\nselected_app_language=\xff\xfe\x80\n",
        "[General]\nselected_app_language=\n",
        "selected_app_language",
        QByteArray("\x00\x01\x02garbage\n[[[\n", 14),
        "[General]\nselected_app_language=@ByteArray(de)\n",
    };
    for (const QByteArray& contents : damaged) {
        writeSettings(contents);
        const ChildReport report = start("de");
        ASSERT_EQ(report.exitCode, 0) << contents.toHex().toStdString();
        const QString table = report.values.value("table");
        EXPECT_TRUE(table == "en" || table == "de") << table.toStdString();
        EXPECT_FALSE(report.values.value("cancel").isEmpty());
    }
}

}  // namespace
}  // namespace sorrelix::text
