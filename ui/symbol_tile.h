#pragma once

#include <QColor>
#include <QPixmap>
#include <QString>
#include <QWidget>

namespace sorrelix::ui {

// A symbol centred on a filled rounded square of fixed size (the folder tile of a well).
class SymbolTile : public QWidget {
    Q_OBJECT

public:
    struct Look {
        int side = 38;
        qreal cornerRadius = 8;
        QColor fill;
        int symbolSize = 19;
        QColor symbolColor;
    };

    SymbolTile(const QString& symbolName, const Look& look, QWidget* parent = nullptr);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    Look look_;
    QPixmap symbol_;  // drawn once: the tile never changes its symbol or colour
};

}  // namespace sorrelix::ui
