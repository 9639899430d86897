#include "diff_list_view.h"

#include <sys/stat.h>

#include <QFile>
#include <QLabel>
#include <QLocale>
#include <QMenu>
#include <QVBoxLayout>

#include "app_state.h"
#include "diff_list_model.h"
#include "diff_row_delegate.h"
#include "diff_rows_view.h"
#include "file_manager_reveal.h"
#include "folder_location.h"
#include "kind_segments.h"
#include "language_manager.h"
#include "loc.h"
#include "search_field.h"
#include "style.h"
#include "styled_label.h"

namespace sorrelix::ui {

using engine::FileDiffItem;
using engine::FileDiffKind;

namespace {

// The item's path below a folder, as bytes: file names need not be UTF-8.
std::string pathBelow(const QUrl& folder, const std::string& relativePath) {
    std::string path = app::enginePath(folder);
    if (path.empty() || path.back() != '/') path.push_back('/');
    return path + relativePath;
}

void showInFileManager(const std::string& path) {
    app::FileManagerReveal::shared().showItemAtRawPath(QByteArray::fromStdString(path));
}

bool existsWithoutFollowing(const std::string& path) {
    struct stat status {};
    return ::lstat(path.c_str(), &status) == 0;
}

QWidget* filledStrip(QWidget* parent, const QColor& color) {
    auto* strip = new QWidget(parent);
    QPalette palette = strip->palette();
    palette.setColor(QPalette::Window, color);
    strip->setPalette(palette);
    strip->setAutoFillBackground(true);
    return strip;
}

}  // namespace

struct DiffListView::Parts {
    app::AppState& state;
    DiffListModel* model = nullptr;
    SearchField* search = nullptr;
    KindSegments* segments = nullptr;
    QLabel* excluded = nullptr;
    DiffRowsView* list = nullptr;

    void updateCounts() const {
        const auto& s = state.mergeSummary();
        if (!s) {
            segments->setCounts({0, 0, 0, 0});
            excluded->hide();
            return;
        }
        segments->setCounts(
            {std::int64_t(s->items.size()), s->addedCount, s->updatedCount, s->identicalCount});
        // What the rules left out is said, so that nothing leaves the list unnoticed.
        const QLocale locale(text::LanguageManager::shared().currentTableCode());
        excluded->setText(text::loc("diff_excluded_count", locale.toString(s->excludedCount)));
        excluded->setVisible(s->excludedCount > 0);
    }
};

DiffListView::DiffListView(app::AppState& state, QWidget* parent)
    : QWidget(parent), parts_(new Parts{state}) {
    Parts& parts = *parts_;
    // The state outlives its views; the summary is read where it lives, never copied.
    parts.model = new DiffListModel(
        [&state]() -> const engine::MergeSummary* {
            return state.mergeSummary() ? &*state.mergeSummary() : nullptr;
        },
        this);

    auto* toolbar = new QWidget(this);
    toolbar->setBackgroundRole(QPalette::Base);  // the control background, in every theme
    toolbar->setAutoFillBackground(true);
    auto* toolbarLayout = new QHBoxLayout(toolbar);
    toolbarLayout->setContentsMargins(10, 8, 10, 8);
    toolbarLayout->setSpacing(10);
    parts.search = new SearchField(toolbar);
    parts.search->setObjectName(QStringLiteral("diffSearchField"));
    parts.segments = new KindSegments(toolbar);
    parts.segments->setObjectName(QStringLiteral("diffKindSegments"));
    parts.excluded = styledLabel(QString(), style::systemFont(11), toolbar);
    parts.excluded->setObjectName(QStringLiteral("diffExcludedCount"));
    tintText(*parts.excluded, style::secondaryText(palette()));
    toolbarLayout->addWidget(parts.search, 1);
    toolbarLayout->addStretch(1);
    toolbarLayout->addWidget(parts.excluded);
    toolbarLayout->addWidget(parts.segments);

    auto* divider = filledStrip(this, style::withAlpha(style::separator(palette()), 0.6));
    divider->setFixedHeight(1);

    parts.list = new DiffRowsView(state, this);
    parts.list->setObjectName(QStringLiteral("diffList"));
    parts.list->setModel(parts.model);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(toolbar);
    layout->addWidget(divider);
    layout->addWidget(parts.list, 1);

    parts.updateCounts();
    // Only a new summary changes what is listed: the state's other announcements (a merge
    // reports every file) must not reset the list.
    connect(&state, &app::AppState::mergeSummaryChanged, this, [&parts] {
        parts.model->reload();
        parts.updateCounts();
    });
    connect(parts.search, &SearchField::textChanged, this,
            [this](const QString& text) { parts_->model->setSearchText(text); });
    connect(parts.segments, &KindSegments::selectionChanged, this,
            [this] { parts_->model->setFilterKind(parts_->segments->selection()); });
    connect(&parts.list->rowDelegate(), &DiffRowDelegate::revealRequested, this,
            [this](const QModelIndex& index) {
                if (const FileDiffItem* item = parts_->model->item(index)) revealInFinder(*item);
            });
    connect(parts.list, &QWidget::customContextMenuRequested, this,
            [this](const QPoint& position) { showContextMenu(position); });
}

DiffListView::~DiffListView() {
    delete parts_;
}

std::optional<FileDiffKind> DiffListView::filterKind() const {
    return parts_->model->filterKind();
}

void DiffListView::setFilterKind(std::optional<FileDiffKind> kind) {
    parts_->segments->setSelection(kind);
    parts_->model->setFilterKind(kind);
}

QString DiffListView::searchText() const {
    return parts_->model->searchText();
}

void DiffListView::setSearchText(const QString& text) {
    parts_->model->setSearchText(text);
    parts_->search->setText(text);
}

std::vector<const FileDiffItem*> DiffListView::filteredDiffItems() const {
    return parts_->model->filteredItems();
}

void DiffListView::revealInFinder(const FileDiffItem& item) const {
    for (const auto* folder : {&parts_->state.sourceURL(), &parts_->state.targetURL()}) {
        if (!*folder) continue;
        const std::string path = pathBelow(**folder, item.relativePath);
        if (existsWithoutFollowing(path)) {
            showInFileManager(path);
            return;
        }
    }
}

void DiffListView::showContextMenu(const QPoint& position) {
    const FileDiffItem* item = parts_->model->item(parts_->list->indexAt(position));
    if (!item) return;
    auto* menu = new QMenu(this);
    menu->setAttribute(Qt::WA_DeleteOnClose);
    // The actions keep their own copy of the path: the summary may be replaced while the
    // menu is open.
    const auto addReveal = [this, menu, path = item->relativePath](const char* key,
                                                                   bool underSource) {
        menu->addAction(text::loc(key), this, [this, path, underSource] {
            const auto& folder =
                underSource ? parts_->state.sourceURL() : parts_->state.targetURL();
            if (folder) showInFileManager(pathBelow(*folder, path));
        });
    };
    addReveal("reveal_in_finder_source", true);
    if (item->kind != FileDiffKind::added) addReveal("reveal_in_finder_target", false);
    menu->popup(parts_->list->viewport()->mapToGlobal(position));
}

}  // namespace sorrelix::ui
