// Test main of the text layer. The language manager is a process singleton that reads the
// settings file once, so the environment is fixed here before anything touches it. A child run
// (kScenarioVariable set) reports the state a fresh process starts with instead of running tests.
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QXmlStreamReader>
#include <algorithm>
#include <cstdio>

#include "app_language.h"
#include "app_settings.h"
#include "language_manager.h"
#include "loc.h"
#include "text_test_support.h"

namespace sorrelix::text::test_support {

const QStringList& supportedCodes() {
    static const QStringList codes = {"en", "zh-Hans", "zh-Hant", "ja", "ko",
                                      "de", "fr",      "es",      "it", "pt"};
    return codes;
}

const QStringList& allKeys() {
    static const QStringList keys = {
        // application and menus
        "app_name", "settings_menu", "menu_language", "language_system", "website_menu",
        "support_faq_menu", "privacy_menu", "about_menu", "bottom_security_badge",
        "shortcut_select", "shortcut_swap", "shortcut_diff", "shortcut_undo", "menu_file",
        "menu_edit", "menu_help", "quit_menu", "undo_merge_menu", "choose_source_menu",
        "choose_target_menu", "swap_menu", "start_analysis_menu",
        // folder choice and volumes
        "choose_source_prompt", "choose_target_prompt", "choose_folder", "change_folder",
        "drop_guide", "copy_path", "clear", "reveal_in_finder", "source_title", "source_badge",
        "target_title", "target_badge", "swap_tooltip", "volume_internal", "volume_external",
        "volume_local",
        // workflow panels and merge dock
        "ready_title", "ready_subtitle", "start_analysis", "scanning_title", "scanning_subtitle",
        "cancel", "in_sync_title", "in_sync_subtitle", "re_analyze", "warning_same_folder",
        "diff_added", "diff_updated", "diff_transfer", "warning_disk_space", "apfs_ready_subtitle",
        "merge_now", "syncing_progress", "success_title", "success_subtitle", "undo_button",
        // difference list and alerts
        "diff_search_placeholder", "diff_tab_all", "diff_tab_added", "diff_tab_updated",
        "diff_tab_identical", "diff_kind_added", "diff_kind_updated", "diff_kind_identical",
        "reveal_in_finder_source", "reveal_in_finder_target", "alert_same_folder",
        "alert_cancel_analysis", "alert_folder_inaccessible", "alert_merge_failed",
        "alert_undo_success", "alert_undo_failed", "close"};
    return keys;
}

QString settingsFilePath() {
    return qEnvironmentVariable("XDG_CONFIG_HOME") + "/Sorrelix/Sorrelix.ini";
}

QMap<QString, QByteArray> filesUnder(const QString& folder) {
    QMap<QString, QByteArray> files;
    QDirIterator it(folder, QDir::Files | QDir::Hidden | QDir::System,
                    QDirIterator::Subdirectories);
    while (it.hasNext()) {
        QFile file(it.next());
        files.insert(QDir(folder).relativeFilePath(file.fileName()),
                     file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<unreadable>"));
    }
    return files;
}

void clearConfigHome() {
    const QString home = qEnvironmentVariable("XDG_CONFIG_HOME");
    for (const QString& relative : filesUnder(home).keys()) QFile::remove(home + "/" + relative);
}

QString settingsFileText() {
    QFile file(settingsFilePath());
    if (!file.open(QIODevice::ReadOnly)) return {};
    return QString::fromUtf8(file.readAll());
}

QString storedSelection() {
    if (!QFile::exists(settingsFilePath())) return {};
    QSettings settings(settingsFilePath(), QSettings::IniFormat);
    return settings.value(LanguageManager::kStorageKey).toString();
}

namespace {
void readMessage(QXmlStreamReader& xml, TsTable& table) {
    const QString id = xml.attributes().value("id").toString();
    QString translation;
    bool unfinished = false;
    while (xml.readNextStartElement()) {
        if (xml.name() == QLatin1String("translation")) {
            unfinished = xml.attributes().hasAttribute("type");
            translation = xml.readElementText();
        } else {
            xml.skipCurrentElement();
        }
    }
    if (id.isEmpty()) table.problems << "message without id";
    if (table.translations.contains(id)) table.problems << "duplicate " + id;
    if (translation.isEmpty()) table.problems << "empty " + id;
    if (unfinished) table.problems << "unfinished or obsolete " + id;
    table.translations.insert(id, translation);
}
}  // namespace

TsTable readTsTable(const QString& code) {
    TsTable table;
    QFile file(QStringLiteral(SORRELIX_TRANSLATIONS_DIR "/sorrelix_%1.ts").arg(code));
    if (!file.open(QIODevice::ReadOnly)) {
        table.problems << "cannot open " + file.fileName();
        return table;
    }
    QXmlStreamReader xml(&file);
    while (!xml.atEnd()) {
        xml.readNext();
        if (!xml.isStartElement()) continue;
        if (xml.name() == QLatin1String("TS")) {
            table.language = xml.attributes().value("language").toString();
        } else if (xml.name() == QLatin1String("message")) {
            readMessage(xml, table);
        }
    }
    if (xml.hasError()) table.problems << "XML error: " + xml.errorString();
    return table;
}

QStringList placeholdersOf(const QString& text) {
    QStringList found;
    static const QRegularExpression placeholder(QStringLiteral("%\\d+"));
    for (const auto& match : placeholder.globalMatch(text)) found << match.captured();
    std::sort(found.begin(), found.end());
    return found;
}

ChildReport runChild(const QString& scenario, const QString& configHome,
                     const QMap<QString, QString>& environment) {
    QProcessEnvironment childEnvironment = QProcessEnvironment::systemEnvironment();
    for (const char* name : {"LANGUAGE", "LC_ALL", "LC_MESSAGES", "LANG"}) {
        childEnvironment.remove(name);
    }
    childEnvironment.insert("XDG_CONFIG_HOME", configHome);
    childEnvironment.insert(kScenarioVariable, scenario);
    for (auto it = environment.begin(); it != environment.end(); ++it) {
        childEnvironment.insert(it.key(), it.value());
    }
    QProcess child;
    child.setProcessEnvironment(childEnvironment);
    child.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    child.start(QCoreApplication::applicationFilePath(), {});
    ChildReport report;
    if (!child.waitForFinished(120'000) || child.exitStatus() != QProcess::NormalExit) {
        return report;
    }
    report.exitCode = child.exitCode();
    const QStringList lines = QString::fromUtf8(child.readAllStandardOutput()).split('\n');
    for (const QString& line : lines) {
        const qsizetype equals = line.indexOf('=');
        if (equals > 0) report.values.insert(line.left(equals), line.mid(equals + 1));
    }
    return report;
}

}  // namespace sorrelix::text::test_support

namespace {
using namespace sorrelix::text;

void printValue(const char* name, const QString& value) {
    std::printf("%s=%s\n", name, value.toUtf8().constData());
}

// What a freshly started program sees: the selection, the table in use and two looked-up texts.
int runStartScenario() {
    LanguageManager& manager = LanguageManager::shared();
    printValue("selected", manager.selectedLanguage());
    printValue("table", manager.currentTableCode());
    printValue("cancel", loc("cancel"));
    printValue("system_name", displayName(AppLanguage::system));
    printValue("known", appLanguageFromRawValue(manager.selectedLanguage()) ? "yes" : "no");
    std::fflush(stdout);
    return 0;
}
}  // namespace

int main(int argc, char** argv) {
    const QString scenario = qEnvironmentVariable(sorrelix::text::test_support::kScenarioVariable);
    if (!scenario.isEmpty()) {
        QCoreApplication app(argc, argv);
        if (scenario == QLatin1String("start")) return runStartScenario();
        std::fprintf(stderr, "unknown scenario %s\n", scenario.toUtf8().constData());
        return 2;
    }

    QTemporaryDir configHome;
    if (!configHome.isValid()) return 3;
    qputenv("XDG_CONFIG_HOME", configHome.path().toUtf8());
    qputenv("LANGUAGE", sorrelix::text::test_support::kProcessSystemLanguage);
    QCoreApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
