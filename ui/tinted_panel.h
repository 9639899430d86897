#pragma once

#include <QColor>
#include <QPalette>
#include <QWidget>
#include <functional>

namespace sorrelix::ui {

// How a tinted panel is painted. Colours are functions of the palette, so a panel follows
// the desktop's light or dark theme.
struct PanelLook {
    using Paint = std::function<QColor(const QPalette&)>;
    Paint fill;
    Paint outline;  // none: no outline
    qreal outlineWidth = 0;
    bool dashed = false;
    qreal radius = 10;
};

// A container drawn as a filled, optionally outlined, rounded rectangle behind its children.
class TintedPanel : public QWidget {
    Q_OBJECT

public:
    explicit TintedPanel(PanelLook look, QWidget* parent = nullptr);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    PanelLook look_;
};

// A palette colour (or a fixed one) at an opacity, for panel looks.
PanelLook::Paint controlBackgroundAt(qreal opacity);
PanelLook::Paint separatorAt(qreal opacity);
PanelLook::Paint fixedColor(const QColor& color, qreal opacity);

}  // namespace sorrelix::ui
