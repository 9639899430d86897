#pragma once

#include <QToolButton>

namespace sorrelix::ui {

// The round gear button of the window's header. Its menu: the interface languages, the web
// site's pages and the about panel.
class SettingsMenuButton : public QToolButton {
    Q_OBJECT

public:
    explicit SettingsMenuButton(QWidget* parent = nullptr);

    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;
};

}  // namespace sorrelix::ui
