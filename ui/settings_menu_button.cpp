#include "settings_menu_button.h"

#include <QMenu>
#include <QPainter>

#include "about_panel.h"
#include "language_menu.h"
#include "loc.h"
#include "style.h"
#include "symbol_icon.h"
#include "web_pages.h"

namespace sorrelix::ui {

using text::loc;

namespace {
constexpr int kSymbolSize = 13;
constexpr int kPadding = 5;
constexpr int kSide = kSymbolSize + 2 * kPadding + 1;
}  // namespace

SettingsMenuButton::SettingsMenuButton(QWidget* parent) : QToolButton(parent) {
    setToolTip(loc("settings_menu"));
    setAccessibleName(loc("settings_menu"));
    setPopupMode(QToolButton::InstantPopup);
    setCursor(Qt::PointingHandCursor);
    setFixedSize(kSide, kSide);

    auto* menu = new QMenu(this);
    new LanguageMenu(*menu->addMenu(loc("menu_language")));
    menu->addSeparator();
    menu->addAction(loc("website_menu"), [] { openWebPage(WebPage::home); });
    menu->addAction(loc("support_faq_menu"), [] { openWebPage(WebPage::support); });
    menu->addAction(loc("privacy_menu"), [] { openWebPage(WebPage::privacy); });
    menu->addSeparator();
    menu->addAction(loc("about_menu"), this, [this] { showAboutPanel(this); });
    setMenu(menu);
}

QSize SettingsMenuButton::sizeHint() const {
    return {kSide, kSide};
}

void SettingsMenuButton::paintEvent(QPaintEvent* /*event*/) {
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const QRectF circle = QRectF(rect()).adjusted(0.3, 0.3, -0.3, -0.3);
    QColor fill = style::controlBackground(palette());
    if (isDown()) fill = fill.darker(110);
    painter.setBrush(fill);
    painter.setPen(QPen(style::withAlpha(style::separator(palette()), 0.6), 0.6));
    painter.drawEllipse(circle);
    const QPixmap gear = symbolPixmap(QStringLiteral("gearshape"), kSymbolSize,
                                      style::secondaryText(palette()), devicePixelRatioF());
    if (!gear.isNull()) {
        painter.drawPixmap(circle.center() - QPointF(kSymbolSize / 2.0, kSymbolSize / 2.0), gear);
    }
    if (hasFocus()) {
        painter.setBrush(Qt::NoBrush);
        painter.setPen(QPen(palette().color(QPalette::Highlight), 1.5));
        painter.drawEllipse(circle.adjusted(0.75, 0.75, -0.75, -0.75));
    }
}

}  // namespace sorrelix::ui
