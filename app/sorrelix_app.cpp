#include "sorrelix_app.h"

#include <QSemaphore>
#include <cstdlib>
#include <thread>

#include "self_check.h"

namespace sorrelix::app {

SorrelixApp::SorrelixApp(int argc, char** argv) {
    QStringList arguments;
    for (int i = 0; i < argc; ++i) arguments << QString::fromLocal8Bit(argv[i]);
    if (wantsSelfCheck(arguments)) runSelfCheckAndExit();
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
