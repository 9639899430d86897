#pragma once

#include <QLabel>

namespace sorrelix::ui {

// A one-line label that ends in "…" when its text does not fit, instead of being cut off.
// text() keeps the whole text.
class ElidedLabel : public QLabel {
    Q_OBJECT

public:
    using QLabel::QLabel;

    QSize minimumSizeHint() const override;
    // The text as it shows in the current width.
    QString displayedText() const;

protected:
    void paintEvent(QPaintEvent* event) override;
};

}  // namespace sorrelix::ui
