#pragma once

#include <QObject>
#include <vector>

class QAction;
class QMenu;

namespace sorrelix::ui {

// Fills a menu with one checkable item per interface language, in menu order, the selected
// one checked; choosing one selects that language. The items follow later selections (check
// mark and translated names). Lives as long as the menu.
class LanguageMenu : public QObject {
    Q_OBJECT

public:
    explicit LanguageMenu(QMenu& menu);

    const std::vector<QAction*>& items() const { return items_; }

private:
    void refresh();

    std::vector<QAction*> items_;
};

}  // namespace sorrelix::ui
