// Renders the application icon SVG into the PNG sizes of the freedesktop hicolor theme:
//   sorrelix-render-icons ICON.svg OUTPUT_DIR
// writes OUTPUT_DIR/<N>x<N>/apps/app.sorrelix.Sorrelix.png for every size.
#include <QDir>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QSvgRenderer>
#include <array>
#include <cstdio>

namespace {

constexpr std::array kSizes{16, 24, 32, 48, 64, 128, 256, 512};
constexpr auto kIconName = "app.sorrelix.Sorrelix.png";

QImage renderSquare(QSvgRenderer& renderer, int side) {
    QImage image(side, side, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    renderer.render(&painter, QRectF(0, 0, side, side));
    painter.end();
    return image;
}

bool writeIcon(const QImage& image, const QString& outputDir, int side) {
    const QString folder = QStringLiteral("%1/%2x%2/apps").arg(outputDir).arg(side);
    if (!QDir().mkpath(folder)) {
        std::fprintf(stderr, "render-icons: cannot create %s\n", qPrintable(folder));
        return false;
    }
    const QString path = folder + QLatin1Char('/') + QLatin1String(kIconName);
    if (!image.save(path, "PNG")) {
        std::fprintf(stderr, "render-icons: cannot write %s\n", qPrintable(path));
        return false;
    }
    std::printf("%s\n", qPrintable(path));
    return true;
}

}  // namespace

int main(int argc, char** argv) {
    const QGuiApplication application(argc, argv);
    const QStringList arguments = QCoreApplication::arguments();
    if (arguments.size() != 3) {
        std::fprintf(stderr, "usage: sorrelix-render-icons ICON.svg OUTPUT_DIR\n");
        return 2;
    }
    QSvgRenderer renderer(arguments.at(1));
    if (!renderer.isValid()) {
        std::fprintf(stderr, "render-icons: %s is not a drawable SVG\n",
                     qPrintable(arguments.at(1)));
        return 1;
    }
    for (const int side : kSizes) {
        if (!writeIcon(renderSquare(renderer, side), arguments.at(2), side)) return 1;
    }
    return 0;
}
