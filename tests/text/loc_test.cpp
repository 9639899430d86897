#include "loc.h"

#include <gtest/gtest.h>

#include <QDirIterator>
#include <QRegularExpression>
#include <cstdint>
#include <vector>

#include "language_manager.h"
#include "text_test_support.h"

namespace sorrelix::text {
namespace {

using test_support::readTsTable;

// Arguments fill %1, %2... in order, plainly (German would group digits), and are never
// expanded again; placeholders that do not match the arguments lose neither the text nor the
// process.
TEST(LocTest, FillsArgumentsInOrderAndFallsBackToTheKey) {
    LanguageManager::shared().setSelectedLanguage("en");
    const std::vector<std::pair<QString, QString>> rows = {
        {loc("syncing_progress", 3, 10), "Merging 3 of 10…"},
        {loc("alert_merge_failed", "Disk full"), "The merge failed: Disk full"},  // no Comment
        {loc("diff_tab_all", std::int64_t{-1}), "All (-1)"},
        {loc("warning_disk_space", QStringLiteral("%2"), QStringLiteral("%1")),
         "Not enough space: %2 to copy, %1 available"},
        {loc("alert_merge_failed", "a", "b"), "The merge failed: a"},
        {loc("warning_disk_space", "2 GB"), "Not enough space: 2 GB to copy, %2 available"},
        {loc("cancel", Comment{"button of the scanning panel"}), "Cancel"},
        {loc("no_such_key", 1, 2), "no_such_key"}};  // a key missing everywhere shows as itself
    for (const auto& [text, expected] : rows) EXPECT_EQ(text, expected);
    LanguageManager::shared().setSelectedLanguage("de");
    EXPECT_EQ(loc("syncing_progress", 10000, 20000), "Zusammenführen: 10000 von 20000…");
}

QStringList placeholdersOf(const QString& text) {
    static const QRegularExpression placeholder(QStringLiteral("%\\d+"));
    QStringList found;
    for (const auto& match : placeholder.globalMatch(text)) found << match.captured();
    found.sort();
    return found;
}

// Keys are the only snake_case string literals of the interface code, the stored language's
// settings key aside; one missing from the tables would show as itself.
TEST(TranslationTablesTest, EnglishHoldsEveryKeyTheCodeUses) {
    const auto english = readTsTable("en").translations;
    static const QRegularExpression literal(QStringLiteral("\"([a-z][a-z0-9]*(_[a-z0-9]+)+)\""));
    int found = 0;
    for (const char* layer : {"ui", "app", "engine", "text"}) {
        QDirIterator files(QStringLiteral(SORRELIX_SOURCE_DIR "/%1").arg(layer), {"*.cpp", "*.h"});
        while (files.hasNext()) {
            QFile file(files.next());
            ASSERT_TRUE(file.open(QIODevice::ReadOnly)) << file.fileName().toStdString();
            for (const auto& match : literal.globalMatch(QString::fromUtf8(file.readAll()))) {
                if (match.captured(1) == LanguageManager::kStorageKey) continue;
                ++found;
                EXPECT_TRUE(english.contains(match.captured(1)))
                    << match.captured(1).toStdString() << " in " << file.fileName().toStdString();
            }
        }
    }
    EXPECT_GT(found, 50);
}

// Every table has the English keys and placeholders, is translated (a loan word or two aside),
// and is embedded as written.
TEST(TranslationTablesTest, EveryTableTranslatesExactlyTheEnglishKeys) {
    const auto english = readTsTable("en").translations;
    for (const QString& code : test_support::kSupportedCodes) {
        const auto [table, problems] = readTsTable(code);
        EXPECT_EQ(problems, QStringList{}) << code.toStdString();
        EXPECT_EQ(table.keys(), english.keys()) << code.toStdString();
        EXPECT_EQ(table.value("app_name"), "Sorrelix");
        LanguageManager::shared().setSelectedLanguage(code);
        QStringList copied;
        for (const auto& [key, text] : table.asKeyValueRange()) {
            SCOPED_TRACE(code.toStdString() + " " + key.toStdString());
            EXPECT_EQ(loc(key.toUtf8().constData()), text);
            EXPECT_EQ(placeholdersOf(text), placeholdersOf(english.value(key)));
            EXPECT_FALSE(text.contains("%s") || text.contains("%d") || text.contains("%@"));
            if (key != "app_name" && text == english.value(key)) copied << key;
        }
        if (code != "en") {
            EXPECT_LE(copied.size(), 3) << copied.join(", ").toStdString();
        }
    }
    LanguageManager::shared().setSelectedLanguage("en");
}

}  // namespace
}  // namespace sorrelix::text
