#include "app_language.h"

#include "loc.h"

namespace sorrelix::text {

namespace {
struct LanguageNames {
    AppLanguage language;
    const char* rawValue;
    const char* ownName;  // the language's name for itself, shown untranslated
};

constexpr std::array<LanguageNames, 11> kNames = {{
    {AppLanguage::system, "system", nullptr},
    {AppLanguage::en, "en", "English"},
    {AppLanguage::zhHans, "zh-Hans", "简体中文"},
    {AppLanguage::zhHant, "zh-Hant", "繁體中文"},
    {AppLanguage::ja, "ja", "日本語"},
    {AppLanguage::ko, "ko", "한국어"},
    {AppLanguage::de, "de", "Deutsch"},
    {AppLanguage::fr, "fr", "Français"},
    {AppLanguage::es, "es", "Español"},
    {AppLanguage::it, "it", "Italiano"},
    {AppLanguage::pt, "pt", "Português"},
}};

const LanguageNames& namesOf(AppLanguage language) {
    return kNames[static_cast<std::size_t>(language)];
}
}  // namespace

QString rawValue(AppLanguage language) {
    return QString::fromUtf8(namesOf(language).rawValue);
}

std::optional<AppLanguage> appLanguageFromRawValue(const QString& raw) {
    for (const auto& names : kNames) {
        if (raw == QLatin1String(names.rawValue)) return names.language;
    }
    return std::nullopt;
}

QString displayName(AppLanguage language) {
    if (language == AppLanguage::system) return loc("language_system");
    return QString::fromUtf8(namesOf(language).ownName);
}

}  // namespace sorrelix::text
