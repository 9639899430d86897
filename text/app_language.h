#pragma once

#include <QString>
#include <array>
#include <optional>
#include <string_view>

namespace sorrelix::text {

// The selectable interface languages, in menu order. `system` follows the user's
// preferred languages; the ten others are the supported localizations.
enum class AppLanguage { system, en, zhHans, zhHant, ja, ko, de, fr, es, it, pt };

inline constexpr std::array<AppLanguage, 11> kAllAppLanguages = {
    AppLanguage::system, AppLanguage::en, AppLanguage::zhHans, AppLanguage::zhHant,
    AppLanguage::ja,     AppLanguage::ko, AppLanguage::de,     AppLanguage::fr,
    AppLanguage::es,     AppLanguage::it, AppLanguage::pt};

QString rawValue(AppLanguage language);
std::optional<AppLanguage> appLanguageFromRawValue(const QString& raw);
// The language's own name for itself; only `system` is translated.
QString displayName(AppLanguage language);

}  // namespace sorrelix::text
