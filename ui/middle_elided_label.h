#pragma once

#include <QFontMetrics>
#include <QString>
#include <QWidget>

namespace sorrelix::ui {

// One line of text that loses characters in its middle when it does not fit. For a path the
// last component is kept whole as long as some of the beginning still fits beside it, so both
// where the path starts and what it names stay readable. The shortened text is computed when
// the text, the font or the width changes, never while painting.
class MiddleElidedLabel : public QWidget {
    Q_OBJECT

public:
    explicit MiddleElidedLabel(QWidget* parent = nullptr);

    const QString& text() const { return text_; }
    void setText(const QString& text);
    // The text as it fits in the current width.
    const QString& displayedText() const { return displayed_; }

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    void refresh();

    QString text_;
    QString displayed_;
};

// The text shortened in the middle to fit `width` pixels, keeping the part after the last "/"
// whole when anything of the part before it still fits.
QString elidePathInMiddle(const QString& text, const QFontMetrics& metrics, int width);

}  // namespace sorrelix::ui
