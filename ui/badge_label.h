#pragma once

#include <QColor>
#include <QFont>
#include <QMarginsF>
#include <QPalette>
#include <QString>
#include <QWidget>
#include <functional>

namespace sorrelix::ui {

// A short text on a rounded or capsule-shaped fill, sized to its text: the badge of a title
// row, the volume tag of a folder. Colours are taken from the palette at paint time, so the
// label follows the desktop's theme.
class BadgeLabel : public QWidget {
    Q_OBJECT

public:
    using PaletteColor = std::function<QColor(const QPalette&)>;

    struct Look {
        QFont font;
        PaletteColor textColor;
        PaletteColor fillColor;
        QMarginsF padding;
        qreal cornerRadius = -1;  // below 0: a capsule (half the height)
    };

    explicit BadgeLabel(Look look, QWidget* parent = nullptr);

    const QString& text() const { return text_; }
    void setText(const QString& text);

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    Look look_;
    QString text_;
};

// A colour that ignores the palette.
BadgeLabel::PaletteColor fixedColor(const QColor& color);

}  // namespace sorrelix::ui
