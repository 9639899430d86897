#pragma once

#include <QColor>
#include <QWidget>

namespace sorrelix::ui {

// A small filled circle in one colour, as the status marks beside counts and badges.
class ColorDot : public QWidget {
    Q_OBJECT

public:
    ColorDot(const QColor& color, qreal diameter, QWidget* parent = nullptr);

    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QColor color_;
    qreal diameter_;
};

}  // namespace sorrelix::ui
