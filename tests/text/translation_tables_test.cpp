#include <gtest/gtest.h>

#include <QSet>

#include "language_manager.h"
#include "loc.h"
#include "text_test_support.h"

namespace sorrelix::text {
namespace {

using test_support::allKeys;
using test_support::placeholdersOf;
using test_support::readTsTable;
using test_support::supportedCodes;

QSet<QString> keysOf(const test_support::TsTable& table) {
    const QStringList keys = table.translations.keys();
    return {keys.begin(), keys.end()};
}

TEST(TranslationTablesTest, EnglishHoldsEveryKeyTheInterfaceUses) {
    const auto english = readTsTable("en");
    EXPECT_TRUE(english.problems.isEmpty()) << english.problems.join("; ").toStdString();
    for (const QString& key : allKeys()) {
        EXPECT_TRUE(english.translations.contains(key)) << key.toStdString();
    }
}

TEST(TranslationTablesTest, EveryTableHoldsExactlyTheEnglishKeys) {
    const QSet<QString> englishKeys = keysOf(readTsTable("en"));
    for (const QString& code : supportedCodes()) {
        const auto table = readTsTable(code);
        EXPECT_TRUE(table.problems.isEmpty())
            << code.toStdString() << ": " << table.problems.join("; ").toStdString();
        const QSet<QString> keys = keysOf(table);
        for (const QString& missing : englishKeys - keys) {
            ADD_FAILURE() << code.toStdString() << " lacks " << missing.toStdString();
        }
        for (const QString& extra : keys - englishKeys) {
            ADD_FAILURE() << code.toStdString() << " has unknown key " << extra.toStdString();
        }
    }
}

TEST(TranslationTablesTest, PlaceholdersMatchEnglishOncePerNumber) {
    const auto english = readTsTable("en");
    for (const QString& code : supportedCodes()) {
        const auto table = readTsTable(code);
        for (const QString& key : english.translations.keys()) {
            const QString text = table.translations.value(key);
            const QStringList expected = placeholdersOf(english.translations.value(key));
            EXPECT_EQ(placeholdersOf(text), expected)
                << code.toStdString() << " " << key.toStdString();
            // loc fills %1, %2 positionally; printf-style codes would show up verbatim.
            EXPECT_FALSE(text.contains("%s") || text.contains("%d") || text.contains("%@"))
                << code.toStdString() << " " << key.toStdString();
        }
    }
}

TEST(TranslationTablesTest, TranslationsAreNotEnglishCopies) {
    const auto english = readTsTable("en");
    for (const QString& code : supportedCodes()) {
        if (code == "en") continue;
        const auto table = readTsTable(code);
        QStringList copied;
        for (const QString& key : english.translations.keys()) {
            if (key != "app_name" &&
                table.translations.value(key) == english.translations.value(key)) {
                copied << key;
            }
        }
        // A loan word or two is fine ("File", "Website"); a table left in English is not.
        EXPECT_LE(copied.size(), 3)
            << code.toStdString() << ": " << copied.join(", ").toStdString();
        EXPECT_EQ(table.translations.value("app_name"), "Sorrelix") << code.toStdString();
    }
}

// The compiled, embedded tables must give exactly what the sources say, key for key.
TEST(TranslationTablesTest, EmbeddedTablesMatchTheirSources) {
    LanguageManager& manager = LanguageManager::shared();
    for (const QString& code : supportedCodes()) {
        manager.setSelectedLanguage(code);
        ASSERT_EQ(manager.currentTableCode(), code);
        const auto table = readTsTable(code);
        for (const QString& key : allKeys()) {
            EXPECT_EQ(loc(key.toUtf8().constData()), table.translations.value(key))
                << code.toStdString() << " " << key.toStdString();
        }
    }
    manager.setSelectedLanguage("en");
}

TEST(TranslationTablesTest, FormatKeysFillEveryArgumentInEveryLanguage) {
    LanguageManager& manager = LanguageManager::shared();
    const auto english = readTsTable("en");
    for (const QString& code : supportedCodes()) {
        manager.setSelectedLanguage(code);
        for (const QString& key : allKeys()) {
            const int count = placeholdersOf(english.translations.value(key)).size();
            if (count == 0) continue;
            const QByteArray keyBytes = key.toUtf8();
            const QString text = count == 1 ? loc(keyBytes.constData(), QStringLiteral("⟦A⟧"))
                                            : loc(keyBytes.constData(), QStringLiteral("⟦A⟧"),
                                                  QStringLiteral("⟦B⟧"));
            EXPECT_EQ(text.count("⟦A⟧"), 1) << code.toStdString() << " " << key.toStdString();
            EXPECT_EQ(text.count("⟦B⟧"), count == 2 ? 1 : 0) << code.toStdString();
            EXPECT_TRUE(placeholdersOf(text).isEmpty()) << text.toStdString();
        }
    }
    manager.setSelectedLanguage("en");
}

}  // namespace
}  // namespace sorrelix::text
