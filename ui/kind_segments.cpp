#include "kind_segments.h"

#include <QAbstractButton>
#include <QButtonGroup>
#include <QHBoxLayout>
#include <QPainter>

#include "loc.h"
#include "style.h"

namespace sorrelix::ui {

namespace {

constexpr int kMaximumWidth = 320;
constexpr int kTrackPadding = 2;
constexpr int kTextPadding = 6;

QFont segmentFont() {
    return style::systemFont(11, QFont::Medium);
}

}  // namespace

// One segment: its text, shortened when the control is too narrow for it.
class SegmentButton : public QAbstractButton {
public:
    explicit SegmentButton(QWidget* parent) : QAbstractButton(parent) {
        setCheckable(true);
        setFont(segmentFont());
        setFocusPolicy(Qt::TabFocus);
        setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Fixed);
    }

    QSize sizeHint() const override {
        const QFontMetrics metrics(font());
        return {metrics.horizontalAdvance(text()) + 2 * kTextPadding, metrics.height() + 6};
    }
    // Room for the count and a shortened label at least.
    QSize minimumSizeHint() const override {
        const QFontMetrics metrics(font());
        const QString tail = countTail();
        const int least = tail.isEmpty() ? 0
                                         : metrics.horizontalAdvance(tail) +
                                               metrics.horizontalAdvance(QStringLiteral("M\u2026"));
        return {std::min(least, metrics.horizontalAdvance(text())) + 2 * kTextPadding,
                sizeHint().height()};
    }

protected:
    void paintEvent(QPaintEvent* /*event*/) override {
        QPainter painter(this);
        const QPalette& colors = palette();
        if (isChecked()) {
            style::paintRoundedPanel(painter, rect(), 5, style::textBackground(colors),
                                     {style::separator(colors), 0.5});
        }
        if (hasFocus()) {
            style::paintRoundedPanel(painter, rect(), 5, Qt::transparent,
                                     {colors.color(QPalette::Highlight), 1.5});
        }
        painter.setPen(isChecked() ? style::primaryText(colors)
                                   : style::withAlpha(style::primaryText(colors), 0.8));
        const QRect textRect = rect().adjusted(kTextPadding / 2, 0, -kTextPadding / 2, 0);
        painter.drawText(textRect, Qt::AlignCenter, fittedText(textRect.width()));
    }

public:
    void setText(const QString& text, const QString& count) {
        count_ = count;
        QAbstractButton::setText(text);
        setToolTip(text);  // whole, should the segment be too narrow
    }

private:
    // The count and what follows it, with the spaces and signs before it ("Added (12)" ->
    // " (12)"); empty when the text does not end with its count or begins with it.
    QString countTail() const {
        const QString full = text();
        qsizetype at = count_.isEmpty() ? -1 : full.lastIndexOf(count_);
        if (at <= 0) return {};
        while (at > 0 && !full[at - 1].isLetterOrNumber()) --at;
        return at > 0 ? full.mid(at) : QString();
    }

    // The text, shortened before its count when it does not fit: the count matters most.
    QString fittedText(int width) const {
        const QFontMetrics metrics = fontMetrics();
        QString full = text();
        if (metrics.horizontalAdvance(full) <= width) return full;
        const QString tail = countTail();
        const int room = width - metrics.horizontalAdvance(tail);
        if (tail.isEmpty() || room < metrics.horizontalAdvance(QStringLiteral("M\u2026"))) {
            return metrics.elidedText(full, Qt::ElideRight, width);
        }
        return metrics.elidedText(full.left(full.size() - tail.size()), Qt::ElideRight, room) +
               tail;
    }

    QString count_;
};

namespace {

constexpr std::array<const char*, 4> kSegmentKeys = {"diff_tab_all", "diff_tab_added",
                                                     "diff_tab_updated", "diff_tab_identical"};

std::optional<engine::FileDiffKind> kindOfSegment(int segment) {
    if (segment <= 0) return std::nullopt;
    return engine::kAllFileDiffKinds[std::size_t(segment - 1)];
}

int segmentOfKind(std::optional<engine::FileDiffKind> kind) {
    return kind ? int(*kind) + 1 : 0;
}

}  // namespace

KindSegments::KindSegments(QWidget* parent) : QWidget(parent), group_(new QButtonGroup(this)) {
    setMaximumWidth(kMaximumWidth);
    setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Fixed);
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(kTrackPadding, kTrackPadding, kTrackPadding, kTrackPadding);
    layout->setSpacing(0);
    group_->setExclusive(true);
    for (int segment = 0; segment < int(segments_.size()); ++segment) {
        auto* button = new SegmentButton(this);
        segments_[std::size_t(segment)] = button;
        group_->addButton(button, segment);
        layout->addWidget(button);
    }
    segments_[0]->setChecked(true);
    setCounts({0, 0, 0, 0});
    connect(group_, &QButtonGroup::idClicked, this, [this] { emit selectionChanged(); });
}

void KindSegments::setCounts(const std::array<std::int64_t, 4>& counts) {
    for (std::size_t segment = 0; segment < segments_.size(); ++segment) {
        segments_[segment]->setText(text::loc(kSegmentKeys[segment], counts[segment]),
                                    QString::number(counts[segment]));
    }
    updateGeometry();
}

std::optional<engine::FileDiffKind> KindSegments::selection() const {
    return kindOfSegment(group_->checkedId());
}

void KindSegments::setSelection(std::optional<engine::FileDiffKind> kind) {
    segments_[std::size_t(segmentOfKind(kind))]->setChecked(true);
}

QAbstractButton* KindSegments::segment(std::optional<engine::FileDiffKind> kind) const {
    return segments_[std::size_t(segmentOfKind(kind))];
}

void KindSegments::paintEvent(QPaintEvent* /*event*/) {
    QPainter painter(this);
    style::paintRoundedPanel(painter, rect(), 7,
                             style::withAlpha(style::primaryText(palette()), 0.06));
}

}  // namespace sorrelix::ui
