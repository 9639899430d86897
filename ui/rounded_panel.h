#pragma once

#include <QWidget>

#include "style.h"

namespace sorrelix::ui {

// A rounded rectangle in the control background colour with an outline; children lie on it.
class RoundedPanel : public QWidget {
    Q_OBJECT

public:
    explicit RoundedPanel(qreal radius, QWidget* parent = nullptr);

    const style::Outline& outline() const { return outline_; }
    void setOutline(const style::Outline& outline);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    qreal radius_;
    style::Outline outline_;
};

}  // namespace sorrelix::ui
