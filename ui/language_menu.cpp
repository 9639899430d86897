#include "language_menu.h"

#include <QAction>
#include <QMenu>

#include "app_language.h"
#include "language_manager.h"

namespace sorrelix::ui {

using text::AppLanguage;
using text::LanguageManager;

LanguageMenu::LanguageMenu(QMenu& menu) : QObject(&menu) {
    for (const AppLanguage language : text::kAllAppLanguages) {
        QAction* item = menu.addAction(text::displayName(language));
        item->setCheckable(true);
        // A checkable item toggles itself; the mark must show the stored selection instead.
        connect(item, &QAction::triggered, this, [this, language] {
            LanguageManager::shared().setLanguage(language);
            refresh();
        });
        items_.push_back(item);
    }
    connect(&LanguageManager::shared(), &LanguageManager::selectedLanguageChanged, this,
            &LanguageMenu::refresh);
    refresh();
}

void LanguageMenu::refresh() {
    const QString selected = LanguageManager::shared().selectedLanguage();
    for (std::size_t i = 0; i < items_.size(); ++i) {
        const AppLanguage language = text::kAllAppLanguages.at(i);
        items_[i]->setText(text::displayName(language));
        items_[i]->setChecked(text::rawValue(language) == selected);
    }
}

}  // namespace sorrelix::ui
