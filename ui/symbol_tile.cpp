#include "symbol_tile.h"

#include <QPainter>
#include <QPainterPath>

#include "symbol_icon.h"

namespace sorrelix::ui {

SymbolTile::SymbolTile(const QString& symbolName, const Look& look, QWidget* parent)
    : QWidget(parent),
      look_(look),
      symbol_(symbolPixmap(symbolName, look.symbolSize, look.symbolColor, devicePixelRatioF())) {
    setFixedSize(look.side, look.side);
}

void SymbolTile::paintEvent(QPaintEvent* /*event*/) {
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    QPainterPath tile;
    tile.addRoundedRect(QRectF(rect()), look_.cornerRadius, look_.cornerRadius);
    painter.fillPath(tile, look_.fill);
    if (symbol_.isNull()) return;
    const QSizeF size = symbol_.deviceIndependentSize();
    QRectF target(QPointF(), size);
    target.moveCenter(QRectF(rect()).center());
    painter.drawPixmap(target, symbol_, QRectF(symbol_.rect()));
}

}  // namespace sorrelix::ui
