#include "workspace_panels.h"

#include <QEvent>
#include <QGraphicsDropShadowEffect>
#include <QLabel>
#include <QLinearGradient>
#include <QLocale>
#include <QPainter>
#include <QPainterPath>
#include <QVBoxLayout>

#include "app_state.h"
#include "busy_spinner.h"
#include "language_manager.h"
#include "loc.h"
#include "style.h"
#include "styled_label.h"
#include "symbol_icon.h"

namespace sorrelix::ui {

using text::loc;

namespace {

// A symbol on a tinted circle; the symbol may be painted with a gradient.
class SymbolBadge : public QWidget {
public:
    SymbolBadge(int diameter, const QColor& circle, const QString& symbol, int symbolSize,
                const QBrush& symbolBrush, QWidget* parent)
        : QWidget(parent),
          circle_(circle),
          symbol_(symbol),
          symbolSize_(symbolSize),
          symbolBrush_(symbolBrush) {
        setFixedSize(diameter, diameter);
    }

protected:
    void paintEvent(QPaintEvent* /*event*/) override {
        QPainter painter(this);
        painter.setRenderHint(QPainter::Antialiasing);
        painter.setPen(Qt::NoPen);
        painter.setBrush(circle_);
        painter.drawEllipse(QRectF(rect()));
        QPixmap symbol = symbolPixmap(symbol_, symbolSize_, Qt::white, devicePixelRatioF());
        if (symbol.isNull()) return;
        {
            // The gradient spans the symbol's own square, top-left to bottom-right.
            QPainter tint(&symbol);
            tint.setCompositionMode(QPainter::CompositionMode_SourceIn);
            QBrush brush = symbolBrush_;
            if (brush.gradient()) {
                QLinearGradient gradient(0, 0, symbolSize_, symbolSize_);
                gradient.setStops(brush.gradient()->stops());
                brush = QBrush(gradient);
            }
            tint.fillRect(QRectF(0, 0, symbolSize_, symbolSize_), brush);
        }
        const QPointF corner =
            QRectF(rect()).center() - QPointF(symbolSize_ / 2.0, symbolSize_ / 2.0);
        painter.drawPixmap(corner, symbol);
    }

private:
    QColor circle_;
    QString symbol_;
    int symbolSize_;
    QBrush symbolBrush_;
};

// Cuts a child's corners to the curve of the panel it lies in, so that its own square
// background (a list, a scroll bar, a selected row) never covers the panel's rounded corners.
class RoundedCorners : public QObject {
public:
    RoundedCorners(QWidget* child, qreal radius) : QObject(child), radius_(radius) {
        child->installEventFilter(this);
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Resize) {
            auto* child = static_cast<QWidget*>(watched);
            QPainterPath shape;
            shape.addRoundedRect(QRectF(child->rect()), radius_, radius_);
            child->setMask(QRegion(shape.toFillPolygon().toPolygon()));
        }
        return QObject::eventFilter(watched, event);
    }

private:
    qreal radius_;
};

QVBoxLayout* centredStack(QWidget* panel, int spacing) {
    auto* stack = new QVBoxLayout(panel);
    stack->setContentsMargins(16, 16, 16, 16);
    stack->setSpacing(spacing);
    stack->addStretch(1);
    return stack;
}

void addCentred(QVBoxLayout* stack, QWidget* widget) {
    stack->addWidget(widget, 0, Qt::AlignHCenter);
}

QLabel* centredLabel(const QString& text, const QFont& font, QWidget* parent, bool secondary) {
    QLabel* label = styledLabel(text, font, parent);
    label->setAlignment(Qt::AlignHCenter);
    label->setWordWrap(true);
    if (secondary) tintText(*label, style::secondaryText(label->palette()));
    return label;
}

// Title over subtitle, as one block.
QWidget* titleBlock(const char* titleKey, qreal titleSize, QFont::Weight weight,
                    const char* subtitleKey, int spacing, QWidget* parent) {
    auto* block = new QWidget(parent);
    auto* lines = new QVBoxLayout(block);
    lines->setContentsMargins(0, 0, 0, 0);
    lines->setSpacing(spacing);
    lines->addWidget(
        centredLabel(loc(titleKey), style::systemFont(titleSize, weight), block, false));
    lines->addWidget(centredLabel(loc(subtitleKey), style::systemFont(11.5), block, true));
    return block;
}

QPushButton* smallBorderedButton(const QString& text, QWidget* parent) {
    auto* button = new QPushButton(text, parent);
    button->setFont(style::systemFont(11.5));
    return button;
}

QPushButton* startButton(QWidget* parent) {
    auto* button = new QPushButton(loc("start_analysis"), parent);
    button->setObjectName(QStringLiteral("startAnalysisButton"));
    button->setFont(style::systemFont(14, QFont::Bold));
    button->setIcon(QIcon(symbolPixmap(QStringLiteral("magnifyingglass"), 13, Qt::white,
                                       button->devicePixelRatioF())));
    button->setIconSize(QSize(13, 13));
    button->setCursor(Qt::PointingHandCursor);
    button->setDefault(true);
    button->setStyleSheet(QStringLiteral(
        "QPushButton { color: white; border: none; border-radius: 9px; padding: 10px 24px;"
        " background: qlineargradient(x1:0, y1:0, x2:0, y2:1,"
        " stop:0 rgb(13, 133, 255), stop:1 rgb(0, 107, 230)); }"
        "QPushButton:pressed { background: rgb(0, 96, 207); }"
        "QPushButton:focus { border: 2px solid rgba(255, 255, 255, 140); }"));
    auto* shadow = new QGraphicsDropShadowEffect(button);
    shadow->setColor(style::withAlpha(style::blue(), 0.35));
    shadow->setBlurRadius(12);
    shadow->setOffset(0, 3);
    button->setGraphicsEffect(shadow);
    return button;
}

// "Files compared: 12,345 · Read: 1.2 GB", the count in the interface language's format.
QString scanningProgressText(const app::AppState& state) {
    const QLocale locale(text::LanguageManager::shared().currentTableCode());
    return loc("scanning_progress", locale.toString(state.analysisFilesCompared()),
               state.formatBytes(state.analysisBytesRead()));
}

}  // namespace

TintedPanel* makeDropGuidePanel(QWidget* parent) {
    auto* panel = new TintedPanel(
        {controlBackgroundAt(0.3), separatorAt(0.4), 1.0, /*dashed=*/true, 10}, parent);
    panel->setObjectName(QStringLiteral("dropGuidePanel"));
    QVBoxLayout* stack = centredStack(panel, 12);
    auto* symbol = new QLabel(panel);
    symbol->setPixmap(symbolPixmap(QStringLiteral("folder.badge.gearshape"), 36,
                                   style::withAlpha(style::secondaryText(panel->palette()), 0.5),
                                   panel->devicePixelRatioF()));
    addCentred(stack, symbol);
    stack->addWidget(
        centredLabel(loc("drop_guide"), style::systemFont(13, QFont::Medium), panel, true));
    stack->addStretch(1);
    return panel;
}

ActionPanel makeReadyPanel(QWidget* parent) {
    auto* panel =
        new TintedPanel({controlBackgroundAt(0.4), separatorAt(0.4), 0.8, false, 10}, parent);
    panel->setObjectName(QStringLiteral("readyPanel"));
    QVBoxLayout* stack = centredStack(panel, 16);
    QLinearGradient gradient(0, 0, 1, 1);
    gradient.setColorAt(0, style::blue());
    gradient.setColorAt(1, style::cyan());
    addCentred(stack, new SymbolBadge(60, style::withAlpha(style::blue(), 0.10),
                                      QStringLiteral("arrow.triangle.merge"), 24, QBrush(gradient),
                                      panel));
    stack->addWidget(titleBlock("ready_title", 15, QFont::Bold, "ready_subtitle", 4, panel));
    QPushButton* start = startButton(panel);
    addCentred(stack, start);
    stack->addStretch(1);
    return {panel, start};
}

ActionPanel makeScanningPanel(const app::AppState& state, QWidget* parent) {
    auto* panel = new TintedPanel({controlBackgroundAt(0.4), {}, 0, false, 10}, parent);
    panel->setObjectName(QStringLiteral("scanningPanel"));
    QVBoxLayout* stack = centredStack(panel, 14);
    auto* spinner = new BusySpinner(32, panel);
    spinner->setObjectName(QStringLiteral("scanningSpinner"));
    spinner->setAccessibleName(loc("scanning_title"));
    addCentred(stack, spinner);
    QWidget* titles =
        titleBlock("scanning_title", 14, QFont::DemiBold, "scanning_subtitle", 4, panel);
    // Digits of one width, so the line does not shift as the counts change.
    QLabel* progress = centredLabel(scanningProgressText(state), style::monospacedFont(11), titles,
                                    /*secondary=*/true);
    progress->setObjectName(QStringLiteral("scanningProgress"));
    QObject::connect(&state, &app::AppState::analysisProgressChanged, progress,
                     [&state, progress] { progress->setText(scanningProgressText(state)); });
    auto* lines = static_cast<QVBoxLayout*>(titles->layout());
    lines->addSpacing(6);
    lines->addWidget(progress);
    stack->addWidget(titles);
    stack->addSpacing(4);
    QPushButton* cancel = smallBorderedButton(loc("cancel"), panel);
    addCentred(stack, cancel);
    stack->addStretch(1);
    return {panel, cancel};
}

ActionPanel makeInSyncPanel(QWidget* parent) {
    auto* panel = new TintedPanel({controlBackgroundAt(0.3), {}, 0, false, 10}, parent);
    panel->setObjectName(QStringLiteral("inSyncPanel"));
    QVBoxLayout* stack = centredStack(panel, 12);
    addCentred(stack, new SymbolBadge(56, style::withAlpha(style::green(), 0.12),
                                      QStringLiteral("checkmark.circle.fill"), 30,
                                      QBrush(style::green()), panel));
    stack->addWidget(titleBlock("in_sync_title", 14, QFont::Bold, "in_sync_subtitle", 3, panel));
    stack->addSpacing(4);
    QPushButton* reAnalyze = smallBorderedButton(loc("re_analyze"), panel);
    addCentred(stack, reAnalyze);
    stack->addStretch(1);
    return {panel, reAnalyze};
}

TintedPanel* makeDifferencesPanel(QWidget* list, QWidget* parent) {
    constexpr int kRadius = 10;
    auto* panel =
        new TintedPanel({controlBackgroundAt(1.0), separatorAt(0.5), 0.8, false, kRadius}, parent);
    panel->setObjectName(QStringLiteral("differencesPanel"));
    auto* frame = new QVBoxLayout(panel);
    // Inside the outline, with corners of the same curve, so the list never covers it.
    constexpr int kInset = 1;
    frame->setContentsMargins(kInset, kInset, kInset, kInset);
    frame->addWidget(list);
    new RoundedCorners(list, kRadius - kInset);
    return panel;
}

}  // namespace sorrelix::ui
