#include "search_field.h"

#include <QEvent>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QToolButton>

#include "loc.h"
#include "style.h"
#include "symbol_icon.h"

namespace sorrelix::ui {

namespace {
constexpr int kMaximumWidth = 220;
constexpr int kGlassSize = 11;
constexpr int kClearSize = 10;
}  // namespace

SearchField::SearchField(QWidget* parent)
    : QWidget(parent),
      edit_(new QLineEdit(this)),
      clear_(new QToolButton(this)),
      glass_(new QLabel(this)) {
    setMaximumWidth(kMaximumWidth);
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(8, 5, 8, 5);
    layout->setSpacing(6);

    glass_->setFixedSize(kGlassSize, kGlassSize);
    edit_->setFrame(false);
    edit_->setFont(style::systemFont(11));
    edit_->setPlaceholderText(text::loc("diff_search_placeholder"));
    edit_->setAccessibleName(text::loc("diff_search_placeholder"));
    // The box paints the background, the edit only its text.
    edit_->setAttribute(Qt::WA_TranslucentBackground);
    edit_->setStyleSheet(QStringLiteral("QLineEdit { background: transparent; }"));

    clear_->setAutoRaise(true);
    clear_->setCursor(Qt::ArrowCursor);
    clear_->setFocusPolicy(Qt::NoFocus);
    clear_->setToolTip(text::loc("clear"));
    clear_->setAccessibleName(text::loc("clear"));
    clear_->setIconSize(QSize(kClearSize, kClearSize));
    clear_->setStyleSheet(QStringLiteral("QToolButton { border: none; padding: 0; }"));
    clear_->hide();

    layout->addWidget(glass_);
    layout->addWidget(edit_, 1);
    layout->addWidget(clear_);
    updateSymbols();

    connect(edit_, &QLineEdit::textChanged, this, [this](const QString& text) {
        clear_->setVisible(!text.isEmpty());
        emit textChanged(text);
    });
    connect(clear_, &QToolButton::clicked, edit_, &QLineEdit::clear);
    edit_->installEventFilter(this);
}

bool SearchField::eventFilter(QObject* watched, QEvent* event) {
    // Ctrl+Z always undoes the last merge: the edit neither claims the shortcut (so the
    // window's command gets it) nor undoes its text when that command is disabled.
    const bool keyEvent =
        event->type() == QEvent::ShortcutOverride || event->type() == QEvent::KeyPress;
    if (watched == edit_ && keyEvent &&
        static_cast<QKeyEvent*>(event)->matches(QKeySequence::Undo)) {
        // Unaccepted, the override lets the shortcut through; accepted, the press ends here.
        event->setAccepted(event->type() == QEvent::KeyPress);
        return true;
    }
    return QWidget::eventFilter(watched, event);
}

QString SearchField::text() const {
    return edit_->text();
}

void SearchField::setText(const QString& text) {
    if (text != edit_->text()) edit_->setText(text);
}

void SearchField::updateSymbols() {
    const QColor color = style::secondaryText(palette());
    const qreal ratio = devicePixelRatioF();
    glass_->setPixmap(symbolPixmap(QStringLiteral("magnifyingglass"), kGlassSize, color, ratio));
    const QPixmap clear =
        symbolPixmap(QStringLiteral("xmark.circle.fill"), kClearSize, color, ratio);
    if (clear.isNull()) {
        clear_->setText(QStringLiteral("\u2715"));  // still a visible button without the symbol
    } else {
        clear_->setIcon(QIcon(clear));
    }
}

void SearchField::changeEvent(QEvent* event) {
    if (event->type() == QEvent::PaletteChange) updateSymbols();
    QWidget::changeEvent(event);
}

void SearchField::paintEvent(QPaintEvent* /*event*/) {
    QPainter painter(this);
    style::paintRoundedPanel(painter, rect(), 6, style::textBackground(palette()),
                             {style::withAlpha(style::separator(palette()), 0.5), 0.5});
}

}  // namespace sorrelix::ui
