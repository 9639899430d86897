#pragma once

class QMessageBox;
class QWidget;

namespace sorrelix::ui {

// The standard about dialog: the application's name, version and icon, and three lines of
// credits. It is not modal and runs no event loop of its own; a second request raises the
// panel already open instead of opening another.
QMessageBox* showAboutPanel(QWidget* parent);

}  // namespace sorrelix::ui
