#pragma once

#include "tinted_panel.h"

namespace sorrelix::ui {

// The orange warning shown while both wells name the same folder. It carries no action.
class SameFolderStrip : public TintedPanel {
    Q_OBJECT

public:
    explicit SameFolderStrip(QWidget* parent = nullptr);
};

}  // namespace sorrelix::ui
