#include "same_folder_strip.h"

#include <QHBoxLayout>
#include <QLabel>

#include "loc.h"
#include "style.h"
#include "styled_label.h"
#include "symbol_icon.h"

namespace sorrelix::ui {

namespace {
PanelLook stripLook() {
    return {fixedColor(style::orange(), 0.10), fixedColor(style::orange(), 0.25), 0.8, false, 8};
}
}  // namespace

SameFolderStrip::SameFolderStrip(QWidget* parent) : TintedPanel(stripLook(), parent) {
    auto* row = new QHBoxLayout(this);
    row->setContentsMargins(12, 7, 12, 7);
    row->setSpacing(8);
    auto* symbol = new QLabel(this);
    symbol->setPixmap(symbolPixmap(QStringLiteral("exclamationmark.triangle.fill"), 13,
                                   style::orange(), devicePixelRatioF()));
    row->addWidget(symbol);
    QLabel* message =
        styledLabel(text::loc("warning_same_folder"), style::systemFont(11.5, QFont::Medium), this);
    tintText(*message, style::orange());
    message->setWordWrap(true);
    row->addWidget(message, 1);
}

}  // namespace sorrelix::ui
