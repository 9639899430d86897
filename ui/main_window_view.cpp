#include "main_window_view.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPainter>
#include <QVBoxLayout>

#include "app_icon_view.h"
#include "color_dot.h"
#include "elided_label.h"
#include "loc.h"
#include "merge_view.h"
#include "settings_menu_button.h"
#include "style.h"
#include "styled_label.h"

namespace sorrelix::ui {

using text::loc;

namespace {

// A one-pixel line in the separator colour across the window.
class HairLine : public QWidget {
public:
    explicit HairLine(QWidget* parent) : QWidget(parent) { setFixedHeight(1); }

protected:
    void paintEvent(QPaintEvent* /*event*/) override {
        QPainter(this).fillRect(rect(), style::separator(palette()));
    }
};

// A bar on the window background, at an opacity.
class Bar : public QWidget {
public:
    Bar(qreal opacity, QWidget* parent) : QWidget(parent), opacity_(opacity) {}

protected:
    void paintEvent(QPaintEvent* /*event*/) override {
        QPainter(this).fillRect(rect(),
                                style::withAlpha(style::windowBackground(palette()), opacity_));
    }

private:
    qreal opacity_;
};

}  // namespace

MainWindowView::MainWindowView(app::AppState& state, QWidget* parent)
    : QWidget(parent), mergeView_(new MergeView(state, this)) {
    // The window may shrink to 720 x 520 and no further; it may grow freely.
    setMinimumSize(720, 520);
    auto* stack = new QVBoxLayout(this);
    stack->setContentsMargins(0, 0, 0, 0);
    stack->setSpacing(0);
    stack->addWidget(buildHeader());
    stack->addWidget(new HairLine(this));
    stack->addWidget(mergeView_, 1);
    stack->addWidget(new HairLine(this));
    stack->addWidget(buildFooter());
}

QWidget* MainWindowView::buildHeader() {
    auto* header = new Bar(1.0, this);
    header->setObjectName(QStringLiteral("header"));
    auto* row = new QHBoxLayout(header);
    row->setContentsMargins(18, 10, 18, 10);
    row->setSpacing(7);
    row->addWidget(new AppIconView(18, header), 0, Qt::AlignVCenter);
    QLabel* title = styledLabel(loc("app_name"), style::systemFont(13.5, QFont::Bold), header);
    title->setObjectName(QStringLiteral("appTitle"));
    row->addWidget(title, 0, Qt::AlignVCenter);
    row->addStretch(1);
    row->addWidget(new SettingsMenuButton(header), 0, Qt::AlignVCenter);
    return header;
}

QWidget* MainWindowView::buildFooter() {
    auto* footer = new Bar(0.8, this);
    footer->setObjectName(QStringLiteral("footer"));
    auto* row = new QHBoxLayout(footer);
    row->setContentsMargins(16, 7, 16, 7);
    row->setSpacing(6);
    row->addWidget(new ColorDot(style::green(), 6.5, footer), 0, Qt::AlignVCenter);
    // Where the legend leaves too little room (long translations), the badge gives way.
    auto* badge = new ElidedLabel(loc("bottom_security_badge"), footer);
    badge->setObjectName(QStringLiteral("securityBadge"));
    badge->setFont(style::systemFont(10.5));
    tintText(*badge, style::secondaryText(badge->palette()));
    row->addWidget(badge, 1, Qt::AlignVCenter);
    const QColor legendColor = style::withAlpha(style::secondaryText(footer->palette()), 0.8);
    bool first = true;
    for (const char* key : {"shortcut_select", "shortcut_swap", "shortcut_diff", "shortcut_undo"}) {
        if (!first) row->addSpacing(12 - row->spacing());
        first = false;
        QLabel* legend = styledLabel(loc(key), style::monospacedFont(10), footer);
        tintText(*legend, legendColor);
        row->addWidget(legend, 0, Qt::AlignVCenter);
    }
    return footer;
}

}  // namespace sorrelix::ui
