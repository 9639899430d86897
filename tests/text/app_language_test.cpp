#include <gtest/gtest.h>

#include <QSet>

#include "app_language.h"
#include "language_manager.h"
#include "loc.h"
#include "text_test_support.h"

namespace sorrelix::text {
namespace {

using test_support::supportedCodes;

TEST(AppLanguageTest, RawValuesRoundTripInMenuOrder) {
    ASSERT_EQ(kAllAppLanguages.front(), AppLanguage::system);
    EXPECT_EQ(rawValue(AppLanguage::system), "system");
    QStringList codesAfterSystem;
    for (AppLanguage language : kAllAppLanguages) {
        const QString raw = rawValue(language);
        EXPECT_EQ(appLanguageFromRawValue(raw), language) << raw.toStdString();
        if (language != AppLanguage::system) codesAfterSystem << raw;
    }
    // The menu order after "system" is the order of the supported localizations.
    EXPECT_EQ(codesAfterSystem, supportedCodes());
}

TEST(AppLanguageTest, ConstructionMatchesTheWholeStringExactly) {
    const QStringList notLanguages = {"",           "DE",     "De",      " de",     "de ",
                                      "de-DE",      "de_DE",  "zh",      "zh-hans", "zh_Hans",
                                      "zh-Hant-TW", "System", "system ", "english", "xx"};
    for (const QString& raw : notLanguages) {
        EXPECT_EQ(appLanguageFromRawValue(raw), std::nullopt) << raw.toStdString();
    }
    // Bytes that are not UTF-8 decode to replacement characters and name no language.
    EXPECT_EQ(appLanguageFromRawValue(QString::fromUtf8("d\xff"
                                                        "e")),
              std::nullopt);
    EXPECT_EQ(appLanguageFromRawValue(QString::fromUtf8("de\0", 3)), std::nullopt);
}

TEST(AppLanguageTest, OnlyTheSystemEntryIsTranslated) {
    LanguageManager& manager = LanguageManager::shared();
    QMap<AppLanguage, QString> namesInEnglish;
    manager.setSelectedLanguage("en");
    for (AppLanguage language : kAllAppLanguages) namesInEnglish[language] = displayName(language);
    EXPECT_EQ(namesInEnglish[AppLanguage::system], loc("language_system"));

    for (const QString& code : {QStringLiteral("de"), QStringLiteral("ja"), QStringLiteral("xx")}) {
        manager.setSelectedLanguage(code);
        for (AppLanguage language : kAllAppLanguages) {
            if (language == AppLanguage::system) continue;
            EXPECT_EQ(displayName(language), namesInEnglish[language]) << code.toStdString();
        }
        EXPECT_EQ(displayName(AppLanguage::system), loc("language_system"));
    }
    manager.setSelectedLanguage("de");
    EXPECT_NE(displayName(AppLanguage::system), namesInEnglish[AppLanguage::system]);
    manager.setSelectedLanguage("en");
}

TEST(AppLanguageTest, EachLanguageIsNamedInItself) {
    EXPECT_EQ(displayName(AppLanguage::en), "English");
    EXPECT_EQ(displayName(AppLanguage::ja), "日本語");
    EXPECT_EQ(displayName(AppLanguage::ko), "한국어");
    EXPECT_EQ(displayName(AppLanguage::de), "Deutsch");
    EXPECT_EQ(displayName(AppLanguage::fr), "Français");
    EXPECT_EQ(displayName(AppLanguage::es), "Español");
    EXPECT_EQ(displayName(AppLanguage::it), "Italiano");
    EXPECT_EQ(displayName(AppLanguage::pt), "Português");
    // The two Chinese names are four characters each, in their own script.
    EXPECT_EQ(displayName(AppLanguage::zhHans), "简体中文");
    EXPECT_EQ(displayName(AppLanguage::zhHant), "繁體中文");

    QSet<QString> names;
    for (AppLanguage language : kAllAppLanguages) names.insert(displayName(language));
    EXPECT_EQ(names.size(), static_cast<qsizetype>(kAllAppLanguages.size()));
}

}  // namespace
}  // namespace sorrelix::text
