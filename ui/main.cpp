#include <QApplication>
#include <QFile>
#include <QIcon>

#include "app_state.h"
#include "main_window.h"
#include "sorrelix_app.h"
#include "sorrelix_version.h"

int main(int argc, char** argv) {
    // The self-check, "--version" and "--help" end the process here, before any window system
    // is touched.
    const sorrelix::app::SorrelixApp entry(argc, argv);

    QApplication application(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Sorrelix"));
    QApplication::setApplicationVersion(QStringLiteral(SORRELIX_VERSION));
    QApplication::setOrganizationName(QStringLiteral("Sorrelix"));
    QGuiApplication::setDesktopFileName(QStringLiteral("app.sorrelix.Sorrelix"));
    const QString icon = QStringLiteral(":/sorrelix.svg");
    if (QFile::exists(icon)) QApplication::setWindowIcon(QIcon(icon));

    sorrelix::app::AppState& state = sorrelix::app::AppState::shared();
    sorrelix::app::SorrelixApp::applyCommandLineFolders(entry.arguments(), state);

    sorrelix::ui::MainWindow window(state);
    window.show();
    return QApplication::exec();
}
