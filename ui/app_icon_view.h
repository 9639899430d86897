#pragma once

#include <QString>
#include <QWidget>

namespace sorrelix::ui {

// The application's icon, scaled to fit a square of `size` pixels and centred in it. The
// embedded picture is preferred; without it the running application's window icon is shown;
// without either the view takes no space. Nothing is cached: each paint loads the picture.
class AppIconView : public QWidget {
    Q_OBJECT

public:
    static constexpr const char* kIconResource = ":/sorrelix.svg";

    explicit AppIconView(qreal size, QWidget* parent = nullptr);
    // Prefers another SVG (a file or a resource) over the embedded one.
    AppIconView(qreal size, QString picturePath, QWidget* parent = nullptr);

    qreal iconSize() const { return size_; }

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    bool hasImage() const;

    qreal size_;
    QString picturePath_;
};

}  // namespace sorrelix::ui
