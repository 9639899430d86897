#include "app_icon_view.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QFile>
#include <QIcon>
#include <QImage>
#include <QPixmap>
#include <QTemporaryDir>

namespace sorrelix::ui {
namespace {

// The view as drawn on a transparent square, without any window background.
QImage drawn(AppIconView& view) {
    const int side = qCeil(view.iconSize());
    view.resize(side, side);
    QImage image(side, side, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    view.render(&image, QPoint(), QRegion(), QWidget::DrawChildren);
    return image;
}

class WindowIconSwap {
public:
    explicit WindowIconSwap(const QIcon& icon) : previous_(QApplication::windowIcon()) {
        QApplication::setWindowIcon(icon);
    }
    ~WindowIconSwap() { QApplication::setWindowIcon(previous_); }

private:
    QIcon previous_;
};

TEST(AppIconViewTest, WidePictureIsLetterboxedNotStretched) {
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("wide.svg"));
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(
        R"(<svg xmlns="http://www.w3.org/2000/svg" width="40" height="20" viewBox="0 0 40 20">)"
        R"(<rect width="40" height="20" fill="#ff0000"/></svg>)");
    file.close();
    const WindowIconSwap noFallback{QIcon()};

    AppIconView view(30, path);
    EXPECT_EQ(view.sizeHint(), QSize(30, 30));
    const QImage image = drawn(view);
    for (const QPoint inside : {QPoint(15, 15), QPoint(1, 10), QPoint(28, 20)}) {
        EXPECT_EQ(image.pixelColor(inside), QColor(Qt::red)) << inside.x() << "," << inside.y();
    }
    for (const QPoint band : {QPoint(15, 3), QPoint(15, 26)}) {
        EXPECT_EQ(image.pixelColor(band).alpha(), 0) << band.x() << "," << band.y();
    }
}

TEST(AppIconViewTest, WithoutThePictureTheWindowIconShowsAndWithoutThatNothing) {
    const QString missing = QStringLiteral(":/no/such/picture.svg");
    {
        const WindowIconSwap none{QIcon()};
        AppIconView view(24, missing);
        EXPECT_EQ(view.sizeHint(), QSize(0, 0));
    }
    QPixmap tall(10, 20);
    tall.fill(Qt::blue);
    const WindowIconSwap fallback{QIcon(tall)};
    AppIconView view(24, missing);
    EXPECT_EQ(view.sizeHint(), QSize(24, 24));
    const QImage image = drawn(view);
    EXPECT_EQ(image.pixelColor(12, 12), QColor(Qt::blue));
    EXPECT_EQ(image.pixelColor(9, 2), QColor(Qt::blue)) << "a small icon is scaled up to the frame";
    EXPECT_EQ(image.pixelColor(2, 12).alpha(), 0);
    EXPECT_EQ(image.pixelColor(21, 12).alpha(), 0);
}

TEST(AppIconViewTest, EmbeddedPictureIsPreferredToTheWindowIcon) {
    QPixmap plain(24, 24);
    plain.fill(Qt::blue);
    const WindowIconSwap fallback{QIcon(plain)};
    AppIconView embedded(24);
    AppIconView windowIconOnly(24, QStringLiteral(":/no/such/picture.svg"));
    EXPECT_NE(drawn(embedded), drawn(windowIconOnly));
}

}  // namespace
}  // namespace sorrelix::ui
