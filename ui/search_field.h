#pragma once

#include <QString>
#include <QWidget>

class QLineEdit;
class QLabel;
class QToolButton;

namespace sorrelix::ui {

// A rounded search box: magnifying glass, borderless line edit and a clear button that shows
// only while there is text. Every edit is announced at once; Return does nothing more, and
// Ctrl+Z is left to the window (it undoes the last merge, never the typed text).
class SearchField : public QWidget {
    Q_OBJECT

public:
    explicit SearchField(QWidget* parent = nullptr);

    QString text() const;
    void setText(const QString& text);
    QLineEdit* lineEdit() const { return edit_; }
    QToolButton* clearButton() const { return clear_; }

signals:
    void textChanged(const QString& text);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    void updateSymbols();

    QLineEdit* edit_;
    QToolButton* clear_;
    QLabel* glass_;
};

}  // namespace sorrelix::ui
