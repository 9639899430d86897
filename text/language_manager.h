#pragma once

#include <QObject>
#include <QString>
#include <memory>
#include <mutex>

#include "app_language.h"

class QTranslator;

namespace sorrelix::text {

// Holds and persists the selected interface language and the string table that `loc` reads.
// Lives on the GUI thread; `loc` may read the tables from any thread.
class LanguageManager : public QObject {
    Q_OBJECT
    Q_PROPERTY(QString selectedLanguage READ selectedLanguage WRITE setSelectedLanguage NOTIFY
                   selectedLanguageChanged)

public:
    static constexpr const char* kStorageKey = "selected_app_language";

    static LanguageManager& shared();

    QString selectedLanguage() const;
    // Every assignment stores the value and re-chooses the table, even for unknown codes.
    void setSelectedLanguage(const QString& code);
    void setLanguage(AppLanguage language);

    // The language code whose table is in use ("en" when the selection has none).
    QString currentTableCode() const;

    // Looks a key up: the selected table, then English, then the key itself.
    QString lookUp(const char* key) const;

    // The best supported code for a list of preferred languages (BCP 47 tags), or "en".
    static QString bestSupportedCode(const QStringList& preferredLanguages);

signals:
    void selectedLanguageChanged(const QString& code);
    void currentBundleChanged();

private:
    LanguageManager();
    ~LanguageManager() override;
    struct Table;
    static std::shared_ptr<const Table> loadTable(const QString& code);
    void updateBundle();

    mutable std::mutex mutex_;  // guards the two table pointers, read by `loc` on any thread
    std::shared_ptr<const Table> current_;
    std::shared_ptr<const Table> english_;
    QString selectedLanguage_;
};

}  // namespace sorrelix::text
