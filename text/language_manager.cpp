#include "language_manager.h"

#include <QCoreApplication>
#include <QFile>
#include <QLocale>
#include <QRegularExpression>
#include <QTranslator>

#include "app_settings.h"

namespace sorrelix::text {

struct LanguageManager::Table {
    QString code;
    QTranslator translator;
};

namespace {
const QStringList& supportedCodes() {
    static const QStringList codes = {"en", "zh-Hans", "zh-Hant", "ja", "ko",
                                      "de", "fr",      "es",      "it", "pt"};
    return codes;
}

// Chinese tags name a script or a region; both decide between the two tables.
QString chineseCodeFor(const QString& tag) {
    const QString lower = tag.toLower();
    if (lower.contains("hans")) return QStringLiteral("zh-Hans");
    if (lower.contains("hant")) return QStringLiteral("zh-Hant");
    static const QRegularExpression traditionalRegion("[-_](tw|hk|mo)\\b");
    if (traditionalRegion.match(lower).hasMatch()) return QStringLiteral("zh-Hant");
    return QStringLiteral("zh-Hans");
}

QString supportedCodeFor(const QString& tag) {
    const QString language = tag.section(QRegularExpression("[-_]"), 0, 0).toLower();
    if (language == "zh") return chineseCodeFor(tag);
    for (const QString& code : supportedCodes()) {
        if (code == language) return code;
    }
    return {};
}
}  // namespace

LanguageManager& LanguageManager::shared() {
    // Deliberately never destroyed: `loc` may run on worker threads during process exit.
    static LanguageManager* instance = new LanguageManager();
    return *instance;
}

LanguageManager::LanguageManager() {
    english_ = loadTable(QStringLiteral("en"));
    const auto settings = openAppSettings();
    selectedLanguage_ = settings->value(kStorageKey, QStringLiteral("system")).toString();
    updateBundle();
}

LanguageManager::~LanguageManager() = default;

std::shared_ptr<const LanguageManager::Table> LanguageManager::loadTable(const QString& code) {
    auto table = std::make_shared<Table>();
    table->code = code;
    // Only a table of exactly that name: QTranslator::load would also try shortened names
    // ("de_CH" giving "de"), and a selection names one table or none.
    const QString path = QStringLiteral(":/i18n/sorrelix_%1.qm").arg(code);
    if (!QFile::exists(path) || !table->translator.load(path)) return nullptr;
    return table;
}

QString LanguageManager::selectedLanguage() const {
    std::lock_guard lock(mutex_);
    return selectedLanguage_;
}

void LanguageManager::setSelectedLanguage(const QString& code) {
    {
        std::lock_guard lock(mutex_);
        selectedLanguage_ = code;
    }
    auto settings = openAppSettings();
    settings->setValue(kStorageKey, code);
    settings->sync();
    // The table is switched before anyone hears of the change, so observers redraw in the new
    // language.
    updateBundle();
    emit selectedLanguageChanged(code);
    emit currentBundleChanged();
}

void LanguageManager::setLanguage(AppLanguage language) {
    const QString code = rawValue(language);
    if (code == selectedLanguage()) return;
    setSelectedLanguage(code);
}

QString LanguageManager::currentTableCode() const {
    std::lock_guard lock(mutex_);
    return current_ ? current_->code : QStringLiteral("en");
}

QString LanguageManager::bestSupportedCode(const QStringList& preferredLanguages) {
    for (const QString& tag : preferredLanguages) {
        QString code = supportedCodeFor(tag);
        if (!code.isEmpty()) return code;
    }
    return QStringLiteral("en");
}

void LanguageManager::updateBundle() {
    QString code = selectedLanguage();
    if (code == QLatin1String("system")) code = bestSupportedCode(QLocale::system().uiLanguages());
    auto table = loadTable(code);
    {
        std::lock_guard lock(mutex_);
        current_ = std::move(table);
    }
}

QString LanguageManager::lookUp(const char* key) const {
    std::shared_ptr<const Table> current;
    std::shared_ptr<const Table> english;
    {
        std::lock_guard lock(mutex_);
        current = current_;
        english = english_;
    }
    QString keyText = QString::fromUtf8(key);
    for (const auto& table : {current, english}) {
        if (!table) continue;
        QString text = table->translator.translate(nullptr, key);
        if (!text.isEmpty() && text != keyText) return text;
    }
    return keyText;
}

}  // namespace sorrelix::text
