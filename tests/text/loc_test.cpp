#include <gtest/gtest.h>

#include <QSet>
#include <atomic>
#include <cstdint>
#include <thread>
#include <vector>

#include "app_language.h"
#include "language_manager.h"
#include "loc.h"
#include "text_test_support.h"

namespace sorrelix::text {
namespace {

class LocTest : public ::testing::Test {
protected:
    void SetUp() override { manager.setSelectedLanguage("en"); }
    void TearDown() override { manager.setSelectedLanguage("en"); }

    LanguageManager& manager = LanguageManager::shared();
};

TEST_F(LocTest, KeyMissingEverywhereShowsAsTheKey) {
    for (const QString& code : {QStringLiteral("en"), QStringLiteral("de"), QStringLiteral("xx")}) {
        manager.setSelectedLanguage(code);
        EXPECT_EQ(loc("no_such_key"), "no_such_key");
        EXPECT_EQ(loc(""), "");
        EXPECT_EQ(loc("Cancel"), "Cancel");  // keys are case-sensitive
        EXPECT_EQ(loc("cancel "), "cancel ");
        EXPECT_EQ(loc("schlüssel_ä"), QString::fromUtf8("schlüssel_ä"));
        EXPECT_EQ(loc("bad\xff\xfe"), QString::fromUtf8("bad\xff\xfe"));
        EXPECT_EQ(loc("no_such_key", Comment{"a comment"}), "no_such_key");
    }
}

TEST_F(LocTest, CommentIsIgnored) {
    manager.setSelectedLanguage("de");
    EXPECT_EQ(loc("cancel", Comment{"button of the scanning panel"}), "Abbrechen");
}

TEST_F(LocTest, ArgumentsFillPlaceholdersInOrder) {
    EXPECT_EQ(loc("syncing_progress", 3, 10), "Merging 3 of 10…");
    EXPECT_EQ(loc("alert_merge_failed", QStringLiteral("Disk full")),
              "The merge failed: Disk full");
    EXPECT_EQ(loc("warning_disk_space", QStringLiteral("2 GB"), QStringLiteral("1 GB")),
              "Not enough space: 2 GB to copy, 1 GB available");
    EXPECT_EQ(loc("diff_added", std::size_t{7}), "7 added");
    EXPECT_EQ(loc("diff_tab_all", std::int64_t{-1}), "All (-1)");

    manager.setSelectedLanguage("de");
    EXPECT_EQ(loc("syncing_progress", 3, 10), "Zusammenführen: 3 von 10…");
}

TEST_F(LocTest, StringLiteralArgumentIsNotTakenForAComment) {
    EXPECT_EQ(loc("alert_merge_failed", "Disk full"), "The merge failed: Disk full");
    EXPECT_EQ(loc("volume_internal", "Data"), "Data (internal)");
}

TEST_F(LocTest, NumbersAreWrittenWithoutALocale) {
    // German would group as 1.234.567; interface numbers are filled in plainly.
    manager.setSelectedLanguage("de");
    EXPECT_EQ(loc("diff_tab_all", 1234567), "Alle (1234567)");
    EXPECT_EQ(loc("syncing_progress", std::uint64_t{10000}, std::uint64_t{20000}),
              "Zusammenführen: 10000 von 20000…");
}

TEST_F(LocTest, ArgumentTextIsNeverExpandedAgain) {
    EXPECT_EQ(loc("alert_merge_failed", QStringLiteral("100% of %1 and %2")),
              "The merge failed: 100% of %1 and %2");
    EXPECT_EQ(loc("warning_disk_space", QStringLiteral("%2"), QStringLiteral("%1")),
              "Not enough space: %2 to copy, %1 available");
}

TEST_F(LocTest, MismatchedArgumentsNeitherCrashNorLoseTheText) {
    EXPECT_EQ(loc("cancel", 5), "Cancel");
    EXPECT_EQ(loc("cancel", QStringLiteral("x"), QStringLiteral("y")), "Cancel");
    EXPECT_EQ(loc("no_such_key", 1, 2), "no_such_key");
    EXPECT_EQ(loc("alert_merge_failed", QStringLiteral("a"), QStringLiteral("b")),
              "The merge failed: a");
    const QString tooFew = loc("warning_disk_space", QStringLiteral("2 GB"));
    EXPECT_TRUE(tooFew.contains("2 GB"));
    EXPECT_TRUE(tooFew.contains("%2"));
    EXPECT_EQ(loc("alert_merge_failed", QString()), "The merge failed: ");
}

// The texts any table may give for a key; a reader must see one of them, never garbage.
QSet<QString> allTranslationsOf(const QString& key) {
    QSet<QString> texts;
    for (const QString& code : test_support::supportedCodes()) {
        texts.insert(test_support::readTsTable(code).translations.value(key));
    }
    return texts;
}

QSet<QString> allProgressTexts() {
    QSet<QString> texts;
    for (const QString& format : allTranslationsOf("syncing_progress"))
        texts.insert(format.arg(1).arg(2));
    return texts;
}

TEST_F(LocTest, SafeWhileTheMainThreadSwitchesLanguage) {
    const QSet<QString> cancelTexts = allTranslationsOf("cancel");
    const QSet<QString> progressTexts = allProgressTexts();
    const QSet<QString> systemNames = allTranslationsOf("language_system");
    std::atomic<bool> stop = false;
    std::atomic<int> wrongTexts = 0;
    std::atomic<long> lookUps = 0;
    std::atomic<int> started = 0;
    constexpr int kReaders = 4;

    std::vector<std::thread> readers;
    readers.reserve(kReaders);
    for (int i = 0; i < kReaders; ++i) {
        readers.emplace_back([&] {
            ++started;
            while (!stop.load()) {
                if (!cancelTexts.contains(loc("cancel"))) ++wrongTexts;
                if (!progressTexts.contains(loc("syncing_progress", 1, 2))) ++wrongTexts;
                if (!systemNames.contains(displayName(AppLanguage::system))) ++wrongTexts;
                if (loc("no_such_key") != "no_such_key") ++wrongTexts;
                lookUps.fetch_add(1);
                std::this_thread::yield();  // two cores: leave the switching thread its turn
            }
        });
    }
    while (started.load() < kReaders) std::this_thread::yield();
    const QStringList codes = test_support::supportedCodes() + QStringList{"xx", "system"};
    for (int round = 0; round < 200; ++round) {
        manager.setSelectedLanguage(codes[round % codes.size()]);
    }
    stop = true;
    for (auto& reader : readers) reader.join();

    EXPECT_EQ(wrongTexts.load(), 0);
    EXPECT_GT(lookUps.load(), 0);
}

}  // namespace
}  // namespace sorrelix::text
