#include <gtest/gtest.h>

#include "language_manager.h"

namespace sorrelix::text {
namespace {

QString best(const QStringList& preferred) {
    return LanguageManager::bestSupportedCode(preferred);
}

TEST(BestSupportedCodeTest, RegionalVariantsMapToTheirLanguage) {
    EXPECT_EQ(best({"de-CH"}), "de");
    EXPECT_EQ(best({"de_AT"}), "de");
    EXPECT_EQ(best({"pt-BR"}), "pt");
    EXPECT_EQ(best({"pt-PT"}), "pt");
    EXPECT_EQ(best({"en-GB"}), "en");
    EXPECT_EQ(best({"fr-CA"}), "fr");
    EXPECT_EQ(best({"es-419"}), "es");
    EXPECT_EQ(best({"ja-JP"}), "ja");
    EXPECT_EQ(best({"ko-KR"}), "ko");
    EXPECT_EQ(best({"it"}), "it");
}

TEST(BestSupportedCodeTest, ChineseFollowsScriptThenRegion) {
    EXPECT_EQ(best({"zh-CN"}), "zh-Hans");
    EXPECT_EQ(best({"zh-SG"}), "zh-Hans");
    EXPECT_EQ(best({"zh"}), "zh-Hans");
    EXPECT_EQ(best({"zh-Hans"}), "zh-Hans");
    EXPECT_EQ(best({"zh-Hans-CN"}), "zh-Hans");
    EXPECT_EQ(best({"zh-TW"}), "zh-Hant");
    EXPECT_EQ(best({"zh-HK"}), "zh-Hant");
    EXPECT_EQ(best({"zh-MO"}), "zh-Hant");
    EXPECT_EQ(best({"zh-Hant"}), "zh-Hant");
    EXPECT_EQ(best({"zh-Hant-TW"}), "zh-Hant");
    EXPECT_EQ(best({"zh_TW"}), "zh-Hant");
    // An explicit script outweighs the region it is used in.
    EXPECT_EQ(best({"zh-Hant-CN"}), "zh-Hant");
    EXPECT_EQ(best({"zh-Hans-TW"}), "zh-Hans");
    EXPECT_EQ(best({"zh-Hans-HK"}), "zh-Hans");
}

TEST(BestSupportedCodeTest, FirstSupportedPreferenceWins) {
    EXPECT_EQ(best({"ru", "uk-UA", "fr-FR", "de"}), "fr");
    EXPECT_EQ(best({"de", "fr"}), "de");
    EXPECT_EQ(best({"nl", "zh-TW", "en"}), "zh-Hant");
}

TEST(BestSupportedCodeTest, NothingUsableGivesEnglish) {
    EXPECT_EQ(best({}), "en");
    EXPECT_EQ(best({"ru"}), "en");
    EXPECT_EQ(best({"xx", "tlh", "C", "*"}), "en");
    EXPECT_EQ(best({"", "-", "_", "--de"}), "en");
    // Only the language subtag counts: these merely contain a supported code.
    EXPECT_EQ(best({"deu", "english", "x-de", "ende"}), "en");
    EXPECT_EQ(best({QString::fromUtf8("d\xff"), QString::fromUtf8("de\0", 3)}), "en");
}

TEST(BestSupportedCodeTest, LetterCaseDoesNotMatter) {
    EXPECT_EQ(best({"DE-ch"}), "de");
    EXPECT_EQ(best({"ZH-hant-tw"}), "zh-Hant");
    EXPECT_EQ(best({"Zh-Tw"}), "zh-Hant");
    EXPECT_EQ(best({"PT-br"}), "pt");
}

}  // namespace
}  // namespace sorrelix::text
