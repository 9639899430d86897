#include "folder_well.h"

#include <sys/stat.h>

#include <QApplication>
#include <QClipboard>
#include <QDropEvent>
#include <QFile>
#include <QHBoxLayout>
#include <QLabel>
#include <QMimeData>
#include <QPointer>
#include <QPromise>
#include <QPushButton>
#include <QStackedLayout>
#include <QThreadPool>
#include <QToolButton>
#include <QVBoxLayout>
#include <memory>

#include "app_state.h"
#include "badge_label.h"
#include "file_manager_reveal.h"
#include "folder_location.h"
#include "loc.h"
#include "middle_elided_label.h"
#include "rounded_panel.h"
#include "sandbox_helper.h"
#include "style.h"
#include "symbol_icon.h"
#include "symbol_tile.h"
#include "when_finished.h"

namespace sorrelix::ui {

using text::loc;

namespace {

constexpr int kFullHeight = 100;
constexpr int kLowHeight = 58;

void setTextColor(QWidget* widget, const QColor& color) {
    QPalette palette = widget->palette();
    palette.setColor(QPalette::WindowText, color);
    palette.setColor(QPalette::ButtonText, color);
    widget->setPalette(palette);
}

QLabel* symbolLabel(const QString& symbol, int size, const QColor& color, QWidget* parent) {
    auto* label = new QLabel(parent);
    label->setPixmap(symbolPixmap(symbol, size, color, parent->devicePixelRatioF()));
    label->setFixedSize(size, size);
    return label;
}

QLabel* textLabel(const QString& text, const QFont& font, const QColor& color, QWidget* parent) {
    auto* label = new QLabel(text, parent);
    label->setFont(font);
    label->setTextFormat(Qt::PlainText);
    setTextColor(label, color);
    return label;
}

// A borderless button that shows only a symbol; its name reaches tooltips and screen readers.
QToolButton* symbolButton(const QString& symbol, int size, const QColor& color, const QString& name,
                          QWidget* parent) {
    auto* button = new QToolButton(parent);
    button->setIcon(QIcon(symbolPixmap(symbol, size, color, parent->devicePixelRatioF())));
    button->setIconSize(QSize(size, size));
    button->setText(name);
    button->setToolTip(name);
    button->setAccessibleName(name);
    button->setAutoRaise(true);
    return button;
}

QPushButton* textButton(const QString& text, qreal fontSize, QWidget* parent) {
    auto* button = new QPushButton(text, parent);
    button->setFont(style::systemFont(fontSize, QFont::Medium));
    return button;
}

// A bordered button of the small control size: as wide as its text and a little padding,
// without the wide minimum the style gives dialog buttons, so the folder's name keeps the room.
class SmallButton : public QPushButton {
public:
    SmallButton(const QString& text, qreal fontSize, QWidget* parent) : QPushButton(text, parent) {
        setFont(style::systemFont(fontSize, QFont::Medium));
        setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
    }

    QSize sizeHint() const override {
        const QSize label = fontMetrics().size(Qt::TextShowMnemonic, text());
        return {label.width() + 2 * kSidePadding, label.height() + 2 * kEndPadding};
    }
    QSize minimumSizeHint() const override { return sizeHint(); }

private:
    static constexpr int kSidePadding = 8;
    static constexpr int kEndPadding = 3;
};

// The well only keeps a reference to what was dropped. Answering a move would tell the drag
// source that the item went away, and a source may delete its original then.
std::optional<Qt::DropAction> referenceAction(Qt::DropActions offered) {
    if (offered & Qt::CopyAction) return Qt::CopyAction;
    if (offered & Qt::LinkAction) return Qt::LinkAction;
    return std::nullopt;
}

bool offersFolderReference(const QDropEvent& event) {
    return event.mimeData()->hasUrls() && referenceAction(event.possibleActions());
}

// True when the location is a local folder that the rest of the application can address
// exactly. A name that is not valid UTF-8 turns into replacement characters in the decoded
// path, which could name another folder; such a location is refused. Runs off the GUI thread.
bool isReachableFolder(const QUrl& location) {
    if (!location.isLocalFile()) return false;
    const QByteArray path = QFile::encodeName(location.toLocalFile());
    const QByteArray named =
        QByteArray::fromPercentEncoding(location.path(QUrl::FullyEncoded).toLatin1());
    if (path != named) return false;
    struct stat info {};
    return ::stat(path.constData(), &info) == 0 && S_ISDIR(info.st_mode);
}

// The folder's clean location once a pool thread has found it reachable; none otherwise.
QFuture<std::optional<QUrl>> reachableFolder(const QUrl& location) {
    auto promise = std::make_shared<QPromise<std::optional<QUrl>>>();
    QFuture<std::optional<QUrl>> answer = promise->future();
    promise->start();
    QThreadPool::globalInstance()->start([promise, location] {
        std::optional<QUrl> folder;
        if (isReachableFolder(location)) folder = app::folderLocation(app::folderPath(location));
        promise->addResult(folder);
        promise->finish();
    });
    return answer;
}

QString lastComponent(const QString& path) {
    const QString name = path.mid(path.lastIndexOf(QLatin1Char('/')) + 1);
    return name.isEmpty() ? path : name;
}

}  // namespace

struct FolderWell::Parts : QObject {
    using QObject::QObject;

    QString title;
    QColor badgeColor;
    bool isTarget = false;
    std::optional<QUrl> url;
    bool isCompact = false;
    bool isDropTargetActive = false;

    RoundedPanel* panel = nullptr;
    QStackedLayout* forms = nullptr;
    QWidget* emptyForm = nullptr;
    QWidget* filledForm = nullptr;
    MiddleElidedLabel* name = nullptr;
    BadgeLabel* volume = nullptr;
    MiddleElidedLabel* path = nullptr;
};

FolderWell::FolderWell(const QString& title, const QString& badgeText, const QColor& badgeColor,
                       bool isTarget, QWidget* parent)
    : QWidget(parent), parts_(new Parts(this)) {
    parts_->title = title;
    parts_->badgeColor = badgeColor;
    parts_->isTarget = isTarget;
    auto* stack = new QVBoxLayout(this);
    stack->setContentsMargins(0, 0, 0, 0);
    stack->setSpacing(6);
    buildTitleRow(badgeText);
    buildPanel();
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
    applyForm();
}

const std::optional<QUrl>& FolderWell::url() const {
    return parts_->url;
}

void FolderWell::setUrl(const std::optional<QUrl>& url) {
    parts_->url = url && !url->isEmpty() ? url : std::nullopt;
    if (parts_->url) {
        const QString path = app::folderPath(*parts_->url);
        parts_->name->setText(lastComponent(path));
        parts_->path->setText(path);
        // Asked once per folder: the volume lookup touches the file system.
        parts_->volume->setText(app::AppState::shared().volumeDescription(parts_->url));
    }
    applyForm();
    fitNameRow();
}

// The folder's name matters more than its volume: where both do not fit, the volume tag
// gives way. The path line spans the text column, so its width is the room the row has.
void FolderWell::fitNameRow() {
    const int needed = parts_->name->sizeHint().width() + 6 + parts_->volume->sizeHint().width();
    parts_->volume->setVisible(needed <= parts_->path->width());
}

bool FolderWell::isCompact() const {
    return parts_->isCompact;
}

void FolderWell::setCompact(bool compact) {
    parts_->isCompact = compact;
    applyForm();
}

bool FolderWell::isDropTargetActive() const {
    return parts_->isDropTargetActive;
}

void FolderWell::buildTitleRow(const QString& badgeText) {
    const QColor secondary = style::secondaryText(palette());
    auto* row = new QHBoxLayout;
    row->setSpacing(4);
    row->addWidget(
        symbolLabel(parts_->isTarget ? QStringLiteral("folder.fill") : QStringLiteral("folder"), 12,
                    secondary, this));
    row->addWidget(
        textLabel(parts_->title, style::systemFont(11.5, QFont::DemiBold), secondary, this));
    row->addStretch();
    const QColor badgeColor = parts_->badgeColor;
    auto* badge = new BadgeLabel(
        {style::systemFont(9.5, QFont::Medium), fixedColor(badgeColor),
         fixedColor(style::withAlpha(badgeColor, 0.12)), QMarginsF(6, 1.5, 6, 1.5), -1},
        this);
    badge->setText(badgeText);
    row->addWidget(badge);
    static_cast<QVBoxLayout*>(layout())->addLayout(row);
}

void FolderWell::buildPanel() {
    parts_->panel = new RoundedPanel(10, this);
    parts_->panel->setObjectName(QStringLiteral("panel"));
    parts_->panel->setAcceptDrops(true);
    parts_->panel->installEventFilter(this);
    parts_->forms = new QStackedLayout(parts_->panel);
    parts_->emptyForm = buildEmptyForm();
    parts_->filledForm = buildFilledForm();
    parts_->forms->addWidget(parts_->emptyForm);
    parts_->forms->addWidget(parts_->filledForm);
    layout()->addWidget(parts_->panel);
}

QWidget* FolderWell::buildEmptyForm() {
    auto* form = new QWidget(parts_->panel);
    auto* row = new QHBoxLayout(form);
    row->setSpacing(10);
    const QString symbol = parts_->isTarget ? QStringLiteral("tray.and.arrow.down")
                                            : QStringLiteral("square.and.arrow.down");
    row->addWidget(symbolLabel(symbol, 18, style::withAlpha(parts_->badgeColor, 0.75), form));
    row->addWidget(textLabel(loc("drop_guide"), style::systemFont(11.5, QFont::Medium),
                             style::secondaryText(palette()), form));
    row->addStretch();
    auto* choose = textButton(loc("choose_folder"), 11, form);
    setTextColor(choose, parts_->badgeColor);
    connect(choose, &QPushButton::clicked, this, &FolderWell::chooseFolder);
    row->addWidget(choose);
    return form;
}

QWidget* FolderWell::buildFilledForm() {
    const QColor badgeColor = parts_->badgeColor;
    const QColor secondary = style::secondaryText(palette());
    auto* form = new QWidget(parts_->panel);
    auto* row = new QHBoxLayout(form);
    row->setContentsMargins(10, 8, 10, 8);
    row->setSpacing(10);
    row->addWidget(new SymbolTile(QStringLiteral("folder.fill"),
                                  {38, 8, style::withAlpha(badgeColor, 0.12), 19, badgeColor},
                                  form));

    parts_->name = new MiddleElidedLabel(form);
    parts_->name->setObjectName(QStringLiteral("name"));
    parts_->name->setFont(style::systemFont(13, QFont::Bold));
    parts_->volume =
        new BadgeLabel({style::systemFont(9.5, QFont::Medium),
                        [](const QPalette& palette) {
                            return style::withAlpha(style::secondaryText(palette), 0.8);
                        },
                        [](const QPalette& palette) { return style::windowBackground(palette); },
                        QMarginsF(5, 1, 5, 1), 3},
                       form);
    parts_->volume->setObjectName(QStringLiteral("volume"));
    auto* nameRow = new QHBoxLayout;
    nameRow->setSpacing(6);
    nameRow->addWidget(parts_->name);
    nameRow->addWidget(parts_->volume);
    nameRow->addStretch();

    parts_->path = new MiddleElidedLabel(form);
    parts_->path->setObjectName(QStringLiteral("path"));
    parts_->path->setFont(style::systemFont(10));
    setTextColor(parts_->path, secondary);
    parts_->path->installEventFilter(this);
    auto* column = new QVBoxLayout;
    column->setSpacing(2);
    column->addLayout(nameRow);
    column->addWidget(parts_->path);
    row->addLayout(column, 1);

    auto* actions = new QHBoxLayout;
    actions->setSpacing(6);
    auto* reveal = symbolButton(QStringLiteral("arrow.up.forward.square"), 11, secondary,
                                loc("reveal_in_finder"), form);
    connect(reveal, &QToolButton::clicked, this, [this] {
        if (parts_->url) app::FileManagerReveal::shared().showFolder(app::folderPath(*parts_->url));
    });
    auto* copy = symbolButton(QStringLiteral("doc.on.doc"), 11, secondary, loc("copy_path"), form);
    connect(copy, &QToolButton::clicked, this, &FolderWell::copyPath);
    auto* change = new SmallButton(loc("change_folder"), 11, form);
    connect(change, &QPushButton::clicked, this, &FolderWell::chooseFolder);
    auto* clear = symbolButton(QStringLiteral("xmark.circle.fill"), 12,
                               style::withAlpha(secondary, 0.6), loc("clear"), form);
    connect(clear, &QToolButton::clicked, this, &FolderWell::cleared);
    for (QWidget* control : {static_cast<QWidget*>(reveal), static_cast<QWidget*>(copy),
                             static_cast<QWidget*>(change), static_cast<QWidget*>(clear)}) {
        actions->addWidget(control);
    }
    row->addLayout(actions);
    return form;
}

void FolderWell::applyForm() {
    const bool filled = parts_->url.has_value();
    parts_->forms->setCurrentWidget(filled ? parts_->filledForm : parts_->emptyForm);
    const int padding = parts_->isCompact ? 10 : 20;
    parts_->emptyForm->layout()->setContentsMargins(12, padding, 12, padding);
    parts_->panel->setFixedHeight(!filled && !parts_->isCompact ? kFullHeight : kLowHeight);
    setDropTargetActive(parts_->isDropTargetActive);
}

void FolderWell::setDropTargetActive(bool active) {
    parts_->isDropTargetActive = active;
    parts_->panel->setOutline(
        active ? style::Outline{parts_->badgeColor, 2}
               : style::Outline{style::withAlpha(style::separator(palette()), 0.5), 0.8});
}

void FolderWell::chooseFolder() {
    // The chooser is modal: the well may be gone by the time it returns.
    const QPointer<FolderWell> self(this);
    const std::optional<QUrl> folder =
        app::SandboxHelper::shared().chooseFolder(parts_->title, true);
    if (self && folder) emit folderSelected(*folder);
}

void FolderWell::copyPath() const {
    if (!parts_->url) return;
    QClipboard* clipboard = QGuiApplication::clipboard();
    // Nothing of what the clipboard held before may stay beside the path.
    clipboard->clear();
    clipboard->setText(app::folderPath(*parts_->url));
}

bool FolderWell::eventFilter(QObject* watched, QEvent* event) {
    if (watched == parts_->path && event->type() == QEvent::Resize) fitNameRow();
    if (watched != parts_->panel) return QWidget::eventFilter(watched, event);
    switch (event->type()) {
        case QEvent::DragEnter:
        case QEvent::DragMove: {
            auto* drag = static_cast<QDragMoveEvent*>(event);
            if (!offersFolderReference(*drag)) {
                drag->ignore();
                return true;
            }
            drag->setDropAction(*referenceAction(drag->possibleActions()));
            drag->accept();
            setDropTargetActive(true);
            return true;
        }
        case QEvent::DragLeave:
            setDropTargetActive(false);
            return true;
        case QEvent::Drop:
            setDropTargetActive(false);
            takeDrop(static_cast<QDropEvent*>(event));
            return true;
        default:
            return QWidget::eventFilter(watched, event);
    }
}

void FolderWell::takeDrop(QDropEvent* event) {
    const QList<QUrl> urls = event->mimeData()->urls();
    if (urls.isEmpty() || !offersFolderReference(*event)) {
        event->ignore();
        return;
    }
    // Taken before anything is known about the item; a file turns out to be a silent no-op.
    event->setDropAction(*referenceAction(event->possibleActions()));
    event->accept();
    checkDroppedLocation(urls.first());
}

void FolderWell::checkDroppedLocation(const QUrl& location) {
    // The check may wait on a slow or hung disk, so it runs on a pool thread. Its answer is
    // watched by a child of the well: a well closed in the meantime never hears of it.
    app::whenFinished(reachableFolder(location), this,
                      [this](const QFuture<std::optional<QUrl>>& check) {
                          if (const std::optional<QUrl> folder = check.result()) {
                              acceptDroppedFolder(*folder);
                          }
                      });
}

void FolderWell::acceptDroppedFolder(const QUrl& folder) {
    app::SandboxHelper::shared().saveBookmark(folder);
    emit folderSelected(folder);
}

}  // namespace sorrelix::ui
