#include "sorrelix_app.h"

#include <QDir>
#include <QSemaphore>
#include <QUrl>
#include <cstdlib>
#include <thread>

#include "app_state.h"
#include "self_check.h"

namespace sorrelix::app {

SorrelixApp::SorrelixApp(int argc, char** argv) {
    for (int i = 0; i < argc; ++i) arguments_ << QString::fromLocal8Bit(argv[i]);
    if (wantsSelfCheck(arguments_)) runSelfCheckAndExit();
}

namespace {
// The folder after the option's first occurrence, made absolute; none without one.
std::optional<QUrl> folderAfter(const QStringList& arguments, const char* option) {
    const qsizetype at = arguments.indexOf(QLatin1String(option));
    if (at < 0 || at + 1 >= arguments.size()) return std::nullopt;
    const QString& path = arguments.at(at + 1);
    if (path.isEmpty()) return std::nullopt;
    return QUrl::fromLocalFile(QDir::current().absoluteFilePath(path));
}
}  // namespace

void SorrelixApp::applyCommandLineFolders(const QStringList& arguments, AppState& state) {
    const std::optional<QUrl> source = folderAfter(arguments, kSourceOption);
    const std::optional<QUrl> target = folderAfter(arguments, kTargetOption);
    if (source) state.setSource(source);
    if (target) state.setTarget(target);
}

bool SorrelixApp::wantsSelfCheck(const QStringList& arguments) {
    return arguments.contains(QLatin1String(kSelfCheckOption), Qt::CaseSensitive);
}

void SorrelixApp::runSelfTests() {
    SelfCheck().run();
}

void SorrelixApp::runSelfCheckAndExit() {
    // The check runs on its own thread so that nothing it awaits can depend on this one.
    QSemaphore finished(0);
    std::thread([&finished] {
        runSelfTests();
        finished.release();
    }).detach();
    finished.acquire();
    std::exit(0);
}

}  // namespace sorrelix::app
