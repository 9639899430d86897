#include "diff_rows_view.h"

#include "diff_row_delegate.h"

namespace sorrelix::ui {

namespace {
// Rows laid out per pass of the event loop: large enough to finish a million rows in a few
// dozen passes, small enough that each pass stays short.
constexpr int kLayoutBatch = 10'000;
}  // namespace

DiffRowsView::DiffRowsView(const app::AppState& state, QWidget* parent)
    : QListView(parent), delegate_(new DiffRowDelegate(state, this)) {
    setFrameShape(QFrame::NoFrame);
    setUniformItemSizes(true);
    setLayoutMode(QListView::Batched);
    setBatchSize(kLayoutBatch);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setVerticalScrollMode(QAbstractItemView::ScrollPerPixel);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setMouseTracking(true);
    setContextMenuPolicy(Qt::CustomContextMenu);
    setItemDelegate(delegate_);
}

void DiffRowsView::keyboardSearch(const QString& /*search*/) {}

}  // namespace sorrelix::ui
