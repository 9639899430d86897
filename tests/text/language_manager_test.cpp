#include "language_manager.h"

#include <gtest/gtest.h>

#include <vector>

#include "app_language.h"
#include "app_settings.h"
#include "loc.h"
#include "text_test_support.h"

namespace sorrelix::text {
namespace {

using namespace test_support;

// Each language is named in itself, whatever the interface language; only "system" is not.
TEST(AppLanguageTest, RawValuesInMenuOrderAndNativeNames) {
    QStringList codes;
    for (AppLanguage language : kAllAppLanguages) {
        EXPECT_EQ(appLanguageFromRawValue(rawValue(language)), language);
        codes << rawValue(language);
    }
    EXPECT_EQ(codes, QStringList{"system"} + kSupportedCodes);
    EXPECT_EQ(appLanguageFromRawValue("DE"), std::nullopt);
    LanguageManager::shared().setSelectedLanguage("de");
    EXPECT_EQ(displayName(AppLanguage::system), "Systemsprache");
    EXPECT_EQ(displayName(AppLanguage::fr), "Français");
    EXPECT_EQ(displayName(AppLanguage::zhHant), "繁體中文");
    LanguageManager::shared().setSelectedLanguage("en");
    EXPECT_EQ(displayName(AppLanguage::system), "System Language");
    EXPECT_EQ(displayName(AppLanguage::de), "Deutsch");
}

// Each list of preferred languages (BCP 47 tags, comma-separated here) gives the code before
// it. For Chinese, an explicit script outweighs the region it is used in.
TEST(BestSupportedCodeTest, FirstPreferenceOfASupportedLanguageWins) {
    const std::vector<std::pair<QString, QStringList>> rows = {
        {"de", {"de-CH", "DE-ch"}},
        {"pt", {"pt_BR"}},
        {"es", {"es-419"}},
        {"ja", {"ja-JP"}},
        {"ko", {"ko"}},
        {"it", {"it"}},
        {"fr", {"ru,uk-UA,fr-FR,de"}},
        {"zh-Hans", {"zh", "zh-SG", "zh-Hans-TW"}},
        {"zh-Hant", {"nl,zh-TW,en", "zh_HK", "Zh-Mo", "ZH-hant", "zh-Hant-CN"}},
        {"en", {"en-GB,de", "", "ru,-,C,*", "deu,english,x-de,ende"}}};
    for (const auto& [code, preferenceLists] : rows) {
        for (const QString& preferred : preferenceLists) {
            EXPECT_EQ(LanguageManager::bestSupportedCode(preferred.split(',', Qt::SkipEmptyParts)),
                      code)
                << preferred.toStdString();
        }
    }
}

QString storedSelection() {
    return openAppSettings()->value(LanguageManager::kStorageKey).toString();
}

class LanguageSelectionTest : public ::testing::Test {
protected:
    void SetUp() override {
        manager.setSelectedLanguage("en");
        // What an observer sees when it hears of the change: the new table must be in place.
        QObject::connect(&manager, &LanguageManager::selectedLanguageChanged, &receiver,
                         [this](const QString& code) { heard << code + ":" + loc("cancel"); });
        QObject::connect(&manager, &LanguageManager::currentBundleChanged, &receiver,
                         [this] { heard << "bundle"; });
    }
    void TearDown() override { manager.setSelectedLanguage("en"); }

    LanguageManager& manager = LanguageManager::shared();
    QObject receiver;  // the connections end with the test
    QStringList heard;
};

// Any code is stored and stays selected; a table is used only for its exact name.
TEST_F(LanguageSelectionTest, EveryCodeIsStoredAndPicksItsTableOrEnglish) {
    const auto expect = [this](const QString& code, const QString& table, const QString& cancel) {
        heard.clear();
        manager.setSelectedLanguage(code);
        EXPECT_EQ(manager.selectedLanguage(), code);
        EXPECT_EQ(storedSelection(), code);
        EXPECT_EQ(manager.currentTableCode(), table) << code.toStdString();
        EXPECT_EQ(loc("cancel"), cancel);
        EXPECT_EQ(heard, (QStringList{code + ":" + cancel, "bundle"}));
    };
    expect("de", "de", "Abbrechen");
    expect("system", kProcessSystemLanguage, "キャンセル");
    for (const char* code : {"xx", "DE", "de_CH", "zh", "", "../de", "i18n/sorrelix_de", "de.qm"}) {
        expect(code, "en", "Cancel");
    }
}

// The menu's choice of the current language announces nothing; assigning the code always does.
TEST_F(LanguageSelectionTest, OnlyTheMenuSkipsTheCurrentLanguage) {
    manager.setLanguage(AppLanguage::de);
    heard.clear();
    manager.setLanguage(AppLanguage::de);
    EXPECT_EQ(heard, QStringList{});
    manager.setSelectedLanguage("de");
    EXPECT_EQ(heard, (QStringList{"de:Abbrechen", "bundle"}));
    manager.setSelectedLanguage("xx");
    manager.setLanguage(AppLanguage::en);  // from an unknown code, every language is a change
    EXPECT_EQ(storedSelection(), "en");
}

}  // namespace
}  // namespace sorrelix::text
