#include "app_icon_view.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QIcon>
#include <QImage>
#include <QPixmap>

namespace sorrelix::ui {
namespace {

struct Drawn {
    QSize hint;
    QImage image;
};

// What a view of 24 pixels draws on a transparent square while `windowIcon` is the
// application's icon.
Drawn drawn(const QString& picture, const QIcon& windowIcon) {
    const QIcon previous = QApplication::windowIcon();
    QApplication::setWindowIcon(windowIcon);
    AppIconView view(24, picture);
    view.resize(24, 24);
    Drawn result{view.sizeHint(), QImage(24, 24, QImage::Format_ARGB32_Premultiplied)};
    result.image.fill(Qt::transparent);
    view.render(&result.image, QPoint(), QRegion(), QWidget::DrawChildren);
    QApplication::setWindowIcon(previous);
    return result;
}

// The embedded picture first, else the window icon, scaled up to the square but keeping its
// shape, else nothing at all.
TEST(AppIconViewTest, DrawsThePictureElseTheWindowIconKeepingItsShape) {
    QPixmap tall(10, 20);
    tall.fill(Qt::blue);
    const QString missing = QStringLiteral(":/no/such/picture.svg");
    const Drawn icon = drawn(missing, QIcon(tall));
    EXPECT_EQ(icon.hint, QSize(24, 24));
    EXPECT_EQ(icon.image.pixelColor(12, 12), QColor(Qt::blue));
    EXPECT_EQ(icon.image.pixelColor(9, 2), QColor(Qt::blue));
    EXPECT_EQ(icon.image.pixelColor(2, 12).alpha(), 0);
    EXPECT_EQ(icon.image.pixelColor(21, 12).alpha(), 0);
    EXPECT_EQ(drawn(missing, QIcon()).hint, QSize(0, 0));
    EXPECT_NE(drawn(QString::fromLatin1(AppIconView::kIconResource), QIcon(tall)).image,
              icon.image);
}

}  // namespace
}  // namespace sorrelix::ui
