#pragma once

#include <QMap>
#include <QString>
#include <QStringList>
#include <ostream>

// Readable QString values in assertion messages (found by argument-dependent lookup).
inline void PrintTo(const QString& text, std::ostream* out) {
    *out << '"' << text.toStdString() << '"';
}

// Helpers shared by the text-layer tests. The test main points XDG_CONFIG_HOME at a fresh
// temporary folder and sets LANGUAGE to kProcessSystemLanguage for the whole process.
namespace sorrelix::text::test_support {

inline constexpr const char* kProcessSystemLanguage = "ja";
inline const QStringList kSupportedCodes = {"en", "zh-Hans", "zh-Hant", "ja", "ko",
                                            "de", "fr",      "es",      "it", "pt"};

// One table as written in resources/translations: key -> translation, and what is wrong with
// it (duplicates, empty or unfinished entries, parse errors).
struct TsTable {
    QMap<QString, QString> translations;
    QStringList problems;
};
TsTable readTsTable(const QString& code);

}  // namespace sorrelix::text::test_support
