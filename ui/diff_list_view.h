#pragma once

#include <QString>
#include <QWidget>
#include <optional>
#include <vector>

#include "file_diff_item.h"
#include "file_diff_kind.h"

namespace sorrelix::app {
class AppState;
}

namespace sorrelix::ui {

// The differences of the current summary: a search field and kind segments over a list of rows
// (kind badge, path, size, reveal button). It reads the state's summary and folders and never
// changes the state. The kind filter and the search text are the view's own and last as long
// as the view, whatever the state does.
class DiffListView : public QWidget {
    Q_OBJECT

public:
    explicit DiffListView(app::AppState& state, QWidget* parent = nullptr);
    ~DiffListView() override;

    std::optional<engine::FileDiffKind> filterKind() const;
    void setFilterKind(std::optional<engine::FileDiffKind> kind);
    QString searchText() const;
    void setSearchText(const QString& text);

    // The listed items, in the summary's order.
    std::vector<const engine::FileDiffItem*> filteredDiffItems() const;

    // The row button: selects the item in the file manager, under the source folder when it
    // exists there, else under the target; nothing when neither copy exists.
    void revealInFinder(const engine::FileDiffItem& item) const;

private:
    void showContextMenu(const QPoint& position);

    struct Parts;
    Parts* parts_;
};

}  // namespace sorrelix::ui
